// Placeholder until CLOB values land: keeps the library linkable.
#include "model/value_factory.hpp"
#include "model/values.hpp"

namespace zem {
CzemNode* makeClobOrString(std::string_view content) { return new CzemString(content); }
CzemNode* makeEmptyClob() { return new CzemString(); }
}  // namespace zem
