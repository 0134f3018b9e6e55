// Makers of the value classes that live outside the model (file names in
// paths/, CLOBs in clob/), so that the parser, the builders and the writer can
// create them without knowing their classes.
#pragma once

#include <string_view>

namespace zem {

class CzemNode;
class NodeArena;

// A file-name value holding `text` as written, unresolved; made in `arena`
// when one is given.
CzemNode* makeFilenameValue(std::string_view text, NodeArena* arena = nullptr);
// A CLOB when the quoted content is "<CLOB:" (any case) ... ">", else a string;
// made in `arena` when one is given.
CzemNode* makeClobOrString(std::string_view content, NodeArena* arena = nullptr);
// A new empty CLOB.
CzemNode* makeEmptyClob();

}  // namespace zem
