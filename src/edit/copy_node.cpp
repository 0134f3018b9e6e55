#include "edit/tree_edit.hpp"
#include "edit/whole_node.hpp"
#include "model/named_nodes.hpp"
#include "vox/vox.h"

namespace zem::edit {

void copyNode(CzemNode& source, CzemNode& destination) {
  const bool sections = source.IsTargetList() != 0 && destination.IsTargetList() != 0;
  const bool keywords = source.IsKeyword() != 0 && destination.IsKeyword() != 0;
  if (!sections && !keywords) {
    voxZemAPE("zemCopy:\n\tsection/section or\n\tkeyword/keyword required");
    return;
  }
  copyOnto(static_cast<CzemNamedNode&>(destination), static_cast<CzemNamedNode&>(source));
}

}  // namespace zem::edit
