// The template check: does a candidate section or keyword conform to a
// template section or keyword? The walk stops at the first difference, reports
// it (unless the equivalence quiet flag is set) and answers 0; 1 when the
// candidate conforms.
#pragma once

namespace zem {

class CzemNode;

// Both nodes already passed the node check. Sections (target lists) are
// compared as sections, keywords as keywords; any other pairing is reported as
// "Conflicting zemNode types".
int compareNodes(CzemNode& templ, CzemNode& candidate);

}  // namespace zem
