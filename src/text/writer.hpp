// Writing a document as parameter-file text.
#pragma once

#include <ctime>
#include <string>

namespace zem {

class OutputStream;
class CzemData;
class CzemTargetList;

// The creation stamp of the header: zero-padded four-digit year and two-digit
// month, then day, hour, minute and second without leading zeros
// ("2021-04-9 7:5:9").
std::string formatCreationStamp(const std::tm& local);

// The four header lines of a written document: creation time, library
// identity, host version and an empty line.
void writeDocumentHeader(OutputStream& out);

// Brings the root's result-folder settings into the document's first
// top-level SYSTEM section (made last when there is none and a setting is
// set). Goes around the building cursor, so an open built section stays open.
// True when the section did not hold them yet; with `apply` false the tree
// stays as it is and only that is told.
bool storeResultFolderSettings(CzemTargetList& root, bool apply = true);

enum class WriteOutcome {
  kWritten,
  kFailed,      // the file could not be (completely) written
  kUnwritable,  // a bound number is infinite or NaN: nothing was written
};

// Writes (or appends) the tree of `data` to `fileName` without checks or
// reports; a write that does not complete leaves the file as it was. A write
// replaces the file (through symbolic links, keeping its mode) once the new
// text is complete; a device, a pipe and a file with other names, another
// owner or a folder that takes no new file are written in place; a file that
// may not be written is left alone; an append adds to the file in place.
WriteOutcome writeTree(CzemData& data, const char* fileName, bool append);

// Writes (or appends) the document of `data` to `fileName`; the export rules
// (checks, SYSTEM section, anchor, file errors) live here.
void writeDocument(CzemData* data, const char* fileName, bool append);

}  // namespace zem
