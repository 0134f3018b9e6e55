#include "edit/tree_edit.hpp"
#include "frame/document.hpp"
#include "model/named_nodes.hpp"
#include "model/values.hpp"

namespace zem::edit {
namespace {

// The index groups by name, so after a name change it is rebuilt rather than
// patched: the node leaves its old group and enters the new one at the place
// that its position among the parent's nodes of its kind gives it.
void reenter(CzemNamedNode& node) {
  CzemNamedNode* parent = node.parent();
  if (parent == nullptr) return;
  if (node.IsKeyword() != 0) {
    if (auto* section = dynamic_cast<CzemSection*>(parent)) section->refreshKeywords();
  } else if (auto* list = dynamic_cast<CzemTargetList*>(parent)) {
    list->reindexSections();
  }
}

}  // namespace

void rename(CzemNamedNode& node, std::string_view name) {
  node.setName(name);
  reenter(node);
}

void replaceValue(CzemParam& target, const CzemNode& value) {
  // CopyFrom renumbers a value as detached; the target keeps its place.
  const unsigned number = target.instanceNo();
  target.CopyFrom(&value);
  target.setInstanceNo(number);
}

CzemNode* copyOf(CzemNode& source) {
  // A copied keyword or section is a plain one whatever the source's class.
  CzemNode* copy = source.IsParam() != 0     ? source.NewEmpty()
                   : source.IsKeyword() != 0 ? static_cast<CzemNode*>(new CzemKeyword())
                                             : static_cast<CzemNode*>(new CzemSection());
  copy->CopyFrom(&source);
  return copy;
}

void copyOnto(CzemNamedNode& destination, const CzemNamedNode& source) {
  if (&destination == &source) return;
  if (CzemData* handle = buildingHandleOf(destination)) handle->forgetContents(&destination);
  // Either may lie inside the other: CopyFrom copies the source aside first then.
  destination.CopyFrom(&source);
  reenter(destination);
}

}  // namespace zem::edit
