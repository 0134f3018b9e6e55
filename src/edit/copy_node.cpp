#include "edit/tree_edit.hpp"
#include "edit/whole_node.hpp"
#include "model/named_nodes.hpp"
#include "vox/vox.h"

namespace zem::edit {

void copyNode(CzemNode& source, CzemNode& destination) {
  // A root and a section do not copy onto each other: the root would take
  // keywords, which no file holds outside a section, or the section the
  // root's missing name, and the tree would write a file that does not read
  // back.
  const bool sections = source.IsTargetList() != 0 && destination.IsTargetList() != 0 &&
                        source.GetSyntaxClass() == destination.GetSyntaxClass();
  const bool keywords = source.IsKeyword() != 0 && destination.IsKeyword() != 0;
  if (!sections && !keywords) {
    voxZemAPE("zemCopy:\n\tsection/section or\n\tkeyword/keyword required");
    return;
  }
  copyOnto(static_cast<CzemNamedNode&>(destination), static_cast<CzemNamedNode&>(source));
}

}  // namespace zem::edit
