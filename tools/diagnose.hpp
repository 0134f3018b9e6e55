// Notes beside a load error that tell the user where to act: where an
// unclosed section, string or comment began, why a keyword cannot stand
// where it stands, or the token reader's more specific reading of the place.
#pragma once

#include <string>
#include <vector>

#include "source_text.hpp"

namespace zemtool {

struct Note {
  int line = 0, column = 0;  // 1-based, pointing at a character
  std::string text;
};

// `message`, `line` and `column` are the loader's (as zemGetSyntaxErr gives them);
// `path` is the file the text was read from, for the token reader.
std::vector<Note> loadErrorNotes(const SourceText& text, const std::string& path, const std::string& message, int line,
                                 int column);

// The comments of a loaded text that writing the document again loses: all
// but the writer's own header and "EndSect  // Name" labels, which it makes anew.
int droppedComments(const SourceText& text);

}  // namespace zemtool
