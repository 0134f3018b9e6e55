// The older whole-node operations: inserting a copy of a section beside
// another, overwriting a node with a copy of another, copying a file with its
// file names made absolute. They report through the message library only.
#pragma once

namespace zem {

class CzemNode;

namespace edit {

// Inserts a deep copy of the pending section just before (or after) the
// relative section, in the relative section's parent. Keywords are not
// inserted; every refusal is a message and leaves the tree as it was.
void insertBeside(CzemNode& pending, CzemNode& relative, bool before);

// Makes the destination a deep copy of the source: both sections or both
// keywords, else the "required" message.
void copyNode(CzemNode& source, CzemNode& destination);

// Loads inFile, makes every file-name value absolute and writes the document
// to outFile. 1 when outFile was written completely; 0 when the load or the
// write failed, with the failure's code set and outFile left as it was.
int copyFile(const char* inFile, const char* outFile);

}  // namespace edit
}  // namespace zem
