#include "text/load_handle.hpp"

#include "frame/checks.hpp"
#include "frame/error_state.hpp"
#include "model/named_nodes.hpp"

namespace zem {

CzemLoad::CzemLoad(CzemParser* parser) : CzemData(parser->releaseRoot()), parser_(parser) {
  if (root_ != nullptr) root_->setOwner(this);
}

CzemLoad::~CzemLoad() {
  delete root_;
  root_ = nullptr;
}

CzemLoad* checkLoad(void* p) {
  CzemBase* object = libraryObject(p);
  auto* load = object != nullptr ? dynamic_cast<CzemLoad*>(object) : nullptr;
  if (load == nullptr) failWith(kErrHandle, "Invalid zemHandle (CzemLoad)", false);
  return load;
}

}  // namespace zem
