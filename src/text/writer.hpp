// Writing a document as parameter-file text.
#pragma once

namespace zem {

class OutputStream;
class CzemData;

// The four header lines of a written document: creation time, library
// identity, host version and an empty line.
void writeDocumentHeader(OutputStream& out);

// Writes (or appends) the document of `data` to `fileName`; the export rules
// (checks, SYSTEM section, anchor, open failures) live here.
void writeDocument(CzemData* data, const char* fileName, bool append);

}  // namespace zem
