// Editing a parameter file as text: the bytes of one node are replaced or
// removed by its source position, everything else stays byte for byte, and
// the edited text must load before it replaces anything.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "source_text.hpp"

namespace zemtool {

// Where -o / -i send the edited text; neither means standard output.
struct EditTarget {
  std::string out;
  bool inPlace = false;
};

// Splits FILE ARGS... [-o OUT | -i]; returns 0, or kUsage after the usage message.
int parseEditArgs(const std::vector<std::string>& args, const char* help, std::vector<std::string>& positional,
                  EditTarget& target);

// "NAME" or "NAME:N" (N from 1); false for a bad instance.
bool splitInstance(const std::string& arg, std::string& name, unsigned& instance);
bool parseInstance(const std::string& text, unsigned& out);

// The byte range of a loaded section or keyword; false when it has no place in the text.
bool nodeRange(const SourceText& text, void* node, std::size_t& begin, std::size_t& end);

// Checks the edited text (the document loads, then `verify`, which returns an
// error text or "") and sends it to the target: a temporary file beside it
// renamed over it (keeping an existing file's mode), or standard output.
// Any failure leaves every file as it was and is reported after `place`
// (FILE, or FILE:LINE:COLUMN of the node edited); returns the exit status.
int finishEdit(const std::string& file, const std::string& place, const std::string& edited, const EditTarget& target,
               const std::function<std::string(void* handle)>& verify);

}  // namespace zemtool
