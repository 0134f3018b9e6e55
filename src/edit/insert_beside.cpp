#include "edit/tree_edit.hpp"
#include "edit/whole_node.hpp"
#include "model/named_nodes.hpp"
#include "vox/vox.h"

namespace zem::edit {
namespace {

void tell(const char* message) { voxZemMsg(message, 1, nullptr); }

bool isSectionOrKeyword(CzemNode& node) {
  return dynamic_cast<CzemSection*>(&node) != nullptr || dynamic_cast<CzemKeyword*>(&node) != nullptr;
}

}  // namespace

void insertBeside(CzemNode& pending, CzemNode& relative, bool before) {
  auto* parent = dynamic_cast<CzemTargetList*>(relative.parent());
  if (parent == nullptr || !isSectionOrKeyword(relative) || !isSectionOrKeyword(pending)) {
    tell("zemInsert inconsistency");
    return;
  }
  if (dynamic_cast<CzemSection*>(&pending) == nullptr) {
    // Inserting keywords is not available: the messages are all that happens.
    if (relative.IsKeyword() != 0 || parent->parent() != nullptr)
      tell("zemInsert: pending keyword insertion");
    else
      voxZemAPE("zemInsert:\nrelative specifier is neither keyword nor pure section");
    return;
  }
  if (relative.IsKeyword() != 0) {
    tell("zemInsert: pending section relative to keyword");
    return;
  }
  NodeList& children = parent->children();
  auto at = children.begin();
  while (at != children.end() && *at != &relative) ++at;
  if (at == children.end()) {
    tell("zemInsert error");
    return;
  }
  // The copy is complete before it enters the tree, so a pending section that
  // holds the relative one is copied as it was.
  CzemNode* copy = copyOf(pending);
  children.insert(before ? at : at + 1, copy);
  copy->setParent(parent);
  parent->reindexSections();
}

}  // namespace zem::edit
