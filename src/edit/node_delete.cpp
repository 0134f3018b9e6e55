#include "edit/tree_edit.hpp"
#include "frame/document.hpp"
#include "frame/error_state.hpp"
#include "model/named_nodes.hpp"

namespace zem::edit {
namespace {

// Takes the child out of the parent's child list; false when it is not there.
bool detach(CzemNamedNode& parent, CzemNode* child) {
  NodeList& children = parent.children();
  for (auto at = children.begin(); at != children.end(); ++at) {
    if (*at == child) {
      children.erase(at);
      child->setParent(nullptr);
      return true;
    }
  }
  return false;
}

void forgetOnHandle(CzemNamedNode& parent, CzemNode* node) {
  if (CzemData* handle = buildingHandleOf(parent)) handle->forget(node);
}

}  // namespace

CzemData* buildingHandleOf(CzemNode& node) {
  auto* root = dynamic_cast<CzemTargetList*>(node.top());
  CzemBase* owner = root != nullptr ? root->owner() : nullptr;
  return owner != nullptr ? owner->asData() : nullptr;
}

int deleteKeyword(CzemSection& section, CzemNode* keyword) {
  if (keyword == nullptr) return kErrIndex;
  forgetOnHandle(section, keyword);
  detach(section, keyword);
  section.refreshKeywords();
  destroyNode(keyword);
  return 0;
}

int deleteSection(CzemTargetList& list, CzemNode* section) {
  if (section == nullptr) return kErrIndex;
  forgetOnHandle(list, section);
  detach(list, section);
  list.reindexSections();
  destroyNode(section);
  return 0;
}

int deleteParam(CzemKeyword& keyword, unsigned n) {
  NodeList& values = keyword.children();
  const std::size_t index = n - 1u;
  if (index >= values.size()) return kErrIndex;
  CzemNode* param = values[index];
  forgetOnHandle(keyword, param);
  values.erase(values.begin() + index);
  destroyNode(param);
  for (std::size_t i = index; i < values.size(); ++i) values[i]->setInstanceNo(static_cast<unsigned>(i + 1));
  return 0;
}

}  // namespace zem::edit
