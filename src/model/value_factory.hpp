// Makers of the value classes that live outside the model (file names in
// paths/, CLOBs in clob/), so that the parser, the builders and the writer can
// create them without knowing their classes.
#pragma once

#include <string_view>

namespace zem {

class CzemNode;

// A file-name value holding `text` as written, unresolved.
CzemNode* makeFilenameValue(std::string_view text);
// A CLOB when the quoted content is "<CLOB:" (any case) ... ">", else a string.
CzemNode* makeClobOrString(std::string_view content);
// A new empty CLOB.
CzemNode* makeEmptyClob();

}  // namespace zem
