#include <vector>

#include "edit/tree_edit.hpp"
#include "model/named_nodes.hpp"

namespace zem::edit {
namespace {

// The child list place of a node of one kind: first of all children for
// position 1 or an empty kind, last for 0 or past the count, else just before
// the node that holds the position now.
template <typename List>
void placeByPosition(CzemNamedNode& parent, CzemNode* node, const List& ofKind, unsigned position) {
  NodeList& children = parent.children();
  const std::size_t count = ofKind.size();
  if (position == 1 || count == 0) {
    children.insert(children.begin(), node);
  } else if (position - 1u >= count) {
    children.push_back(node);
  } else {
    const CzemNode* holder = ofKind[position - 1];
    auto at = children.begin();
    while (at != children.end() && *at != holder) ++at;
    children.insert(at, node);
  }
  node->setParent(&parent);
}

}  // namespace

void insertKeyword(CzemSection& section, CzemKeyword* keyword, unsigned position) {
  placeByPosition(section, keyword, section.keywords(), position);
  section.refreshKeywords();
}

void insertSection(CzemTargetList& list, CzemSection* section, unsigned position) {
  placeByPosition(list, section, list.sections(), position);
  list.reindexSections();
}

void insertParam(CzemKeyword& keyword, CzemNode* param, unsigned position) {
  NodeList& values = keyword.children();
  std::size_t index = position - 1u;
  if (index > values.size()) index = values.size();
  values.insert(values.begin() + index, param);
  param->setParent(&keyword);
  for (std::size_t i = index; i < values.size(); ++i) values[i]->setInstanceNo(static_cast<unsigned>(i + 1));
}

}  // namespace zem::edit
