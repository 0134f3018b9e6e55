#include "text/load_handle.hpp"

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
  auto* load = p != nullptr ? dynamic_cast<CzemLoad*>(static_cast<CzemBase*>(p)) : nullptr;
  if (load == nullptr) failWith(kErrHandle, "Invalid zemHandle (CzemLoad)", false);
  return load;
}

}  // namespace zem
