// Placeholder until file-name values land: keeps the library linkable.
#include "model/value_factory.hpp"
#include "model/values.hpp"

namespace zem {
CzemNode* makeFilenameValue(std::string_view text) { return new CzemString(text); }
}  // namespace zem
