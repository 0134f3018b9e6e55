#include "model/named_nodes.hpp"

#include <algorithm>
#include <utility>
#include <vector>

#include "model/name_compare.hpp"
#include "text/output_stream.hpp"
#include "text/writer.hpp"

namespace zem {
namespace {

CzemNode* nthOf(std::span<CzemNamedNode* const> group, unsigned n) {
  return (n == 0 || n > group.size()) ? nullptr : group[n - 1];
}

}  // namespace

// ---- CzemNamedNode ---------------------------------------------------------

CzemNamedNode::~CzemNamedNode() { destroyChildren(); }

void CzemNamedNode::destroyChildren() {
  // Keywords (and default lines) hold only values, so deleting one recurses a
  // single level; the children of every other named node are taken over into
  // the pending list before it is deleted, which keeps the stack flat.
  std::vector<CzemNode*> pending;
  takeChildren(pending);
  while (!pending.empty()) {
    auto* node = static_cast<CzemNamedNode*>(pending.back());
    pending.pop_back();
    node->takeChildren(pending);
    destroyNode(node);
  }
}

void CzemNamedNode::takeChildren(std::vector<CzemNode*>& pending) {
  if (subtreeArenaOnly()) {
    // Everything below is arena places, freed with the document: not one
    // node below needs a visit. (No walk up: the nodes above may be gone.)
    children_.clear();
    return;
  }
  if (valuesArenaOnly()) {
    // The members of a loaded keyword or section that nobody changed hold
    // nothing but their places in the arena, which frees them with the
    // document: only the sections below still need a visit.
    setValuesArenaOnly(false);
    for (CzemNode* keyword : teardownList()) destroyNode(keyword);
    for (CzemSection* section : childSections()) pending.push_back(section);
  } else {
    for (CzemNode* child : children_) {
      if (child->IsParam() != 0 || child->IsKeyword() != 0)
        destroyNode(child);
      else
        pending.push_back(child);
    }
  }
  children_.clear();
}

// Marks a loaded section or root whose members other than sections need no
// teardown, or only the few listed; they are all in place once its end has
// been read.
void CzemTargetList::markMembersArenaOnly(NodeArena& arena) {
  const NodeList& list = std::as_const(*this).children();
  std::size_t others = 0;
  std::size_t owners = 0;
  for (CzemNode* child : list) {
    if (!child->isKeywordNode())
      ++others;
    else if (!static_cast<const CzemNamedNode*>(child)->keywordArenaOnly())
      ++owners;
  }
  // Every other child must be one of the sections, which are still visited.
  if (others != sections_.size()) return;
  if (owners == 0 &&
      std::all_of(sections_.begin(), sections_.end(), [](const CzemSection* s) { return s->sectionArenaOnly(); }))
    setSubtreeArenaOnly();
  if (owners != 0) {
    auto* block = static_cast<CzemNode**>(arena.allocate(owners * sizeof(CzemNode*), alignof(CzemNode*)));
    std::size_t at = 0;
    for (CzemNode* child : list)
      if (child->isKeywordNode() && !static_cast<const CzemNamedNode*>(child)->keywordArenaOnly()) block[at++] = child;
    teardown_.adopt(block, owners);
  }
  setValuesArenaOnly(true);
}

void CzemNamedNode::appendChild(CzemNode* child, NodeArena* arena) {
  if (child == nullptr) return;
  membersChanged();
  child->setParent(this);
  children_.push_back(child, arena);
}

const char* CzemNamedNode::GetFullName() {
  // Computed from the current names on every request, so renames show at once.
  // The answer is kept beside the name, at no cost to the nodes nobody asks;
  // it stays valid while the full name stays the same.
  CzemNamedNode* up = parent();
  if (up == nullptr) {
    name_.clearNote();
    return kEmptyText;
  }
  // The note is memory of this node's own, which its teardown must free.
  valueChanged();
  if (up->parent() == nullptr) return name_.setNote(name_.view());
  // Collected upwards without recursion: a deep tree must not cost stack.
  std::vector<const CzemNamedNode*> chain;
  std::size_t length = 0;
  for (const CzemNamedNode* n = this; n->parent() != nullptr; n = n->parent()) {
    chain.push_back(n);
    length += n->name_.size() + 1;
  }
  std::string full;
  full.reserve(length);
  for (std::size_t i = chain.size(); i-- > 0;) {
    full.append(chain[i]->name_.view());
    if (i != 0) full.push_back('.');
  }
  return name_.setNote(full);
}

CzemNode* CzemNamedNode::NodeByNum(unsigned n) { return (n == 0 || n > children_.size()) ? nullptr : children_[n - 1]; }

CzemNode* CzemNamedNode::FindDefault(CzemNode* child, const char* name, unsigned n) {
  CzemNode* result = nullptr;
  if (IsKeyword() == 0 && name != nullptr) {
    std::size_t pos = children_.size();
    for (std::size_t i = 0; i < children_.size(); ++i)
      if (children_[i] == child) {
        pos = i;
        break;
      }
    if (pos < children_.size()) {
      // The walk runs to the first child: the definition nearest the start decides.
      for (std::size_t i = pos + 1; i-- > 0;) {
        CzemNode* c = children_[i];
        if (c->IsDefaultDef() != 0 && equalsIgnoringCase(c->GetName(), name)) {
          result = c->ParamByNum(n);
          if (result != nullptr && result->IsDefaultPar() != 0) result = nullptr;
        }
      }
    }
  }
  if (result != nullptr) return result;
  CzemNamedNode* up = parent();
  if (up != nullptr && up->parent() != nullptr) return up->FindDefault(this, name, n);
  return nullptr;
}

void CzemNamedNode::visitChildren(const Visitor& visitor) {
  // Only the root is a named node that is not listed itself, and it is never a
  // child, so every named child is announced before its own children.
  struct Open {
    CzemNamedNode* node;
    std::size_t next;
  };
  std::vector<Open> open{{this, 0}};
  while (!open.empty()) {
    Open& top = open.back();
    if (top.next >= top.node->children_.size()) {
      open.pop_back();
      continue;
    }
    CzemNode* child = top.node->children_[top.next++];
    if (child->IsParam() != 0) {
      child->Visit(visitor);
    } else {
      visitor(child);
      open.push_back({static_cast<CzemNamedNode*>(child), 0});
    }
  }
}

void CzemNamedNode::Visit(const Visitor& visitor) { visitChildren(visitor); }

void CzemNamedNode::CopyFrom(const CzemNode* source) {
  const auto* from = dynamic_cast<const CzemNamedNode*>(source);
  if (from == nullptr || from == this) return;
  copyTree(*from);
}

void CzemNamedNode::copyOwnFields(const CzemNamedNode& from) {
  name_.clearNote();
  CzemNode::CopyFrom(&from);
  name_ = from.name_;
  bits_ = from.bits_;
  span_.clear();
}

namespace {

bool isAncestorOrSelf(const CzemNode* top, const CzemNode* node) {
  for (; node != nullptr; node = node->parent())
    if (node == top) return true;
  return false;
}

}  // namespace

void CzemNamedNode::copyTree(const CzemNamedNode& from) {
  // A source below this node would be destroyed with the old children, and a
  // source above it would meet the copy being made inside itself: both are
  // copied aside first.
  if (isAncestorOrSelf(this, &from) || isAncestorOrSelf(&from, this)) {
    const std::unique_ptr<CzemNode> snapshot(from.NewEmpty());
    auto* aside = static_cast<CzemNamedNode*>(snapshot.get());
    aside->copyTree(from);
    copyTree(*aside);
    return;
  }
  destroyChildren();
  copyOwnFields(from);
  struct Pending {
    CzemNamedNode* copy;
    const CzemNamedNode* source;
  };
  std::vector<Pending> pending{{this, &from}};
  while (!pending.empty()) {
    const Pending job = pending.back();
    pending.pop_back();
    job.copy->children_.reserve(job.source->children_.size());
    for (CzemNode* child : job.source->children_) {
      CzemNode* copy = child->NewEmpty();
      if (child->IsParam() != 0) {
        copy->CopyFrom(child);
      } else {
        auto* named = static_cast<CzemNamedNode*>(copy);
        named->copyOwnFields(*static_cast<const CzemNamedNode*>(child));
        pending.push_back({named, static_cast<const CzemNamedNode*>(child)});
      }
      job.copy->appendChild(copy);
      if (copy->IsParam() != 0) copy->setInstanceNo(static_cast<unsigned>(job.copy->children_.size()));
    }
    job.copy->reindex();
  }
}

void CzemNamedNode::writeIndent(OutputStream& out, int depth) const {
  if (depth > 1) out.blanks(static_cast<std::size_t>(depth - 1) * 3);
}

void CzemNamedNode::writeName(OutputStream& out) const {
  out << name_.view();
  if ((bits_ & kMayRepeat) != 0) out << "()";
}

void CzemNamedNode::writeParamList(OutputStream& out) {
  bool first = true;
  for (CzemNode* child : children_) {
    if (!first) out << ", ";
    first = false;
    child->Write(out);
  }
}

// ---- CzemTargetList --------------------------------------------------------

const Text CzemTargetList::kNoText;

// Typed lists start with room for a typical section, so that filling them
// takes one allocation instead of a series of doublings.
constexpr std::size_t kTypicalCount = 8;

unsigned CzemTargetList::addSection(CzemSection* section, NodeArena* arena) {
  if (sections_.empty() && arena == nullptr) sections_.reserve(kTypicalCount);
  // The loader adds a section once it has ended.
  if (arena != nullptr) section->fitLoadedLists(*arena);
  appendChild(section, arena);
  const unsigned instance = sectionIndex_.add(section, arena);
  section->setInstanceNo(instance);
  sections_.push_back(section, arena);
  return instance;
}

void CzemTargetList::fitLoadedLists(NodeArena& arena) {
  loadedChildren().fitInArena(arena);
  sections_.fitInArena(arena);
  sectionIndex_.fitInArena(arena);
  markMembersArenaOnly(arena);
}

void CzemTargetList::reindexSections() {
  sectionIndex_.clear();
  sections_.clear();
  for (CzemNode* child : children()) {
    if (auto* section = dynamic_cast<CzemSection*>(child)) {
      section->setInstanceNo(sectionIndex_.add(section));
      sections_.push_back(section);
    }
  }
}

CzemNode* CzemTargetList::SectionByNum(unsigned n) {
  return (n == 0 || n > sections_.size()) ? nullptr : sections_[n - 1];
}

CzemNode* CzemTargetList::SectionByNameNum(const char* name, unsigned n) {
  if (name == nullptr) return nullptr;
  return nthOf(sectionIndex_.find(name), n);
}

void CzemTargetList::Write(OutputStream& out) {
  if (parent() == nullptr) writeDocumentHeader(out);
  writeChildren(out);
}

void CzemTargetList::writeChildren(OutputStream& out) {
  struct Open {
    CzemTargetList* list;
    std::size_t next;
  };
  std::vector<Open> open{{this, 0}};
  const int base = level();
  while (!open.empty()) {
    Open& top = open.back();
    const NodeList& children = std::as_const(*top.list).children();
    if (top.next >= children.size()) {
      if (open.size() > 1) top.list->writeSectionClose(out, base + static_cast<int>(open.size()) - 1);
      open.pop_back();
      continue;
    }
    CzemNode* child = children[top.next++];
    // Keywords (default lines among them) come most often; only sections are
    // target lists below the root.
    if (child->IsKeyword() != 0) {
      static_cast<CzemKeyword*>(child)->writeAt(out, base + static_cast<int>(open.size()));
    } else if (child->IsTargetList() != 0) {
      auto* section = static_cast<CzemTargetList*>(child);
      section->writeSectionOpen(out, base + static_cast<int>(open.size()));
      open.push_back({section, 0});
    } else {
      child->Write(out);
    }
  }
}

void CzemTargetList::writeSectionOpen(OutputStream& out, int depth) const {
  writeIndent(out, depth);
  out << '[';
  writeName(out);
  out << ']';
  out.endLine();
}

void CzemTargetList::writeSectionClose(OutputStream& out, int depth) const {
  writeIndent(out, depth);
  out << "EndSect  // " << name().view();
  out.endLine();
  out.endLine();
}

void CzemTargetList::CopyFrom(const CzemNode* source) {
  const auto* from = dynamic_cast<const CzemTargetList*>(source);
  if (from == nullptr || from == this) return;
  copyTree(*from);
}

void CzemTargetList::copyOwnFields(const CzemNamedNode& from) {
  CzemNamedNode::copyOwnFields(from);
  if (const auto* list = dynamic_cast<const CzemTargetList*>(&from)) {
    if (!list->anchor().empty() || settings_) setAnchor(list->anchor().view());
  }
}

// ---- CzemSection -----------------------------------------------------------

unsigned CzemSection::addKeyword(CzemKeyword* keyword, NodeArena* arena) {
  if (keywords_.empty() && arena == nullptr) {
    keywords_.reserve(kTypicalCount);
    children().reserve(kTypicalCount);
  }
  appendChild(keyword, arena);
  const unsigned instance = keywordIndex_.add(keyword, arena);
  keyword->setInstanceNo(instance);
  keywords_.push_back(keyword, arena);
  return instance;
}

void CzemSection::addDefaultDef(CzemDefaultDef* definition, NodeArena* arena) { appendChild(definition, arena); }

void CzemSection::fitLoadedLists(NodeArena& arena) {
  keywords_.fitInArena(arena);
  keywordIndex_.fitInArena(arena);
  CzemTargetList::fitLoadedLists(arena);
}

void CzemSection::reindexKeywords() {
  keywordIndex_.clear();
  keywords_.clear();
  for (CzemNode* child : children()) {
    if (child->IsKeyword() != 0) {
      auto* keyword = static_cast<CzemKeyword*>(child);
      keyword->setInstanceNo(keywordIndex_.add(keyword));
      keywords_.push_back(keyword);
    }
  }
}

void CzemSection::refreshKeywords() {
  std::vector<CzemNode*> listedDefinitions;
  for (CzemKeyword* keyword : keywords_)
    if (keyword->IsDefaultDef() != 0) listedDefinitions.push_back(keyword);
  keywordIndex_.clear();
  keywords_.clear();
  for (CzemNode* child : children()) {
    if (child->IsKeyword() == 0) continue;
    if (child->IsDefaultDef() != 0 &&
        std::find(listedDefinitions.begin(), listedDefinitions.end(), child) == listedDefinitions.end())
      continue;
    auto* keyword = static_cast<CzemKeyword*>(child);
    keyword->setInstanceNo(keywordIndex_.add(keyword));
    keywords_.push_back(keyword);
  }
}

int CzemSection::GetNoInstances() {
  auto* up = dynamic_cast<CzemTargetList*>(parent());
  return up != nullptr ? static_cast<int>(up->sectionsNamed(name().view()).size()) : 0;
}

CzemNode* CzemSection::KeywordByNum(unsigned n) {
  return (n == 0 || n > keywords_.size()) ? nullptr : keywords_[n - 1];
}

CzemNode* CzemSection::KeywordByNameNum(const char* name, unsigned n) {
  if (name == nullptr) return nullptr;
  return nthOf(keywordIndex_.find(name), n);
}

void CzemSection::Write(OutputStream& out) {
  const int depth = level();
  writeSectionOpen(out, depth);
  writeChildren(out);
  writeSectionClose(out, depth);
}

void CzemSection::Visit(const Visitor& visitor) {
  visitor(this);
  visitChildren(visitor);
}

void CzemSection::CopyFrom(const CzemNode* source) {
  const auto* from = dynamic_cast<const CzemSection*>(source);
  if (from == nullptr || from == this) return;
  copyTree(*from);
}

// ---- CzemKeyword -----------------------------------------------------------

void CzemKeyword::addParam(CzemNode* param) {
  appendChild(param);
  param->setInstanceNo(static_cast<unsigned>(children().size()));
}

void CzemKeyword::addParams(std::span<CzemNode* const> params, NodeArena* arena, bool knownArenaOnly) {
  if (arena != nullptr && children().empty() && params.empty()) {
    // A loaded line without values: nothing to tear down either.
    setValuesArenaOnly(true);
    return;
  }
  if (arena != nullptr && children().empty()) {
    auto* block = static_cast<CzemNode**>(arena->allocate(params.size() * sizeof(CzemNode*), alignof(CzemNode*)));
    bool arenaOnly = true;
    for (std::size_t i = 0; i < params.size(); ++i) {
      block[i] = params[i];
      params[i]->setParent(this);
      params[i]->setInstanceNo(static_cast<unsigned>(i + 1));
      arenaOnly = arenaOnly && (knownArenaOnly || params[i]->arenaOnly());
    }
    loadedChildren().adopt(block, params.size());
    setValuesArenaOnly(arenaOnly);
    return;
  }
  children().reserve(children().size() + params.size());
  for (CzemNode* param : params) addParam(param);
}

int CzemKeyword::GetNoInstances() {
  auto* up = dynamic_cast<CzemSection*>(parent());
  return up != nullptr ? static_cast<int>(up->keywordsNamed(name().view()).size()) : 0;
}

CzemNode* CzemKeyword::ParamByNum(unsigned n) {
  CzemNode* param = NodeByNum(n);
  if (param == nullptr || param->IsDefaultPar() == 0) return param;
  CzemNode* standIn = FindDefault(param, GetName(), n);
  return standIn != nullptr ? standIn : param;
}

void CzemKeyword::writeAt(OutputStream& out, int depth) {
  writeIndent(out, depth);
  writeName(out);
  // A keyword without a name reads only as "()": the wildcard of a template.
  if (name().empty() && (flags() & kMayRepeat) == 0) out << "()";
  out << " = ";
  writeParamList(out);
  out.endLine();
}

void CzemKeyword::Visit(const Visitor& visitor) {
  visitor(this);
  visitChildren(visitor);
}

// ---- CzemDefaultDef --------------------------------------------------------

void CzemDefaultDef::writeAt(OutputStream& out, int depth) {
  writeIndent(out, depth);
  out << "default (" << name().view() << ") = ";
  writeParamList(out);
  out.endLine();
}

}  // namespace zem
