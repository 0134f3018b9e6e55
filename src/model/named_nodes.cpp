#include "model/named_nodes.hpp"

#include "text/output_stream.hpp"
#include "text/writer.hpp"

namespace zem {
namespace {

bool equalsIgnoringCase(const char* a, const char* b) {
  for (;; ++a, ++b) {
    unsigned char x = static_cast<unsigned char>(*a), y = static_cast<unsigned char>(*b);
    if (x >= 'A' && x <= 'Z') x = static_cast<unsigned char>(x + 32);
    if (y >= 'A' && y <= 'Z') y = static_cast<unsigned char>(y + 32);
    if (x != y) return false;
    if (x == 0) return true;
  }
}

CzemNode* nthOf(std::span<CzemNamedNode* const> group, unsigned n) {
  return (n == 0 || n > group.size()) ? nullptr : group[n - 1];
}

}  // namespace

// ---- CzemNamedNode ---------------------------------------------------------

CzemNamedNode::~CzemNamedNode() {
  for (CzemNode* child : children_) destroyNode(child);
}

void CzemNamedNode::appendChild(CzemNode* child) {
  if (child == nullptr) return;
  child->setParent(this);
  children_.push_back(child);
}

const char* CzemNamedNode::GetFullName() {
  // Computed from the current names on every request, so renames show at once.
  if (!fullName_) fullName_ = std::make_unique<std::string>();
  CzemNamedNode* up = parent();
  if (up == nullptr) {
    fullName_->clear();
  } else if (up->parent() == nullptr) {
    fullName_->assign(name_.view());
  } else {
    std::string full = up->GetFullName();
    full.push_back('.');
    full.append(name_.view());
    *fullName_ = std::move(full);
  }
  return fullName_->c_str();
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
  for (CzemNode* child : children_) child->Visit(visitor);
}

void CzemNamedNode::Visit(const Visitor& visitor) { visitChildren(visitor); }

void CzemNamedNode::CopyFrom(const CzemNode* source) {
  const auto* from = dynamic_cast<const CzemNamedNode*>(source);
  if (from == nullptr || from == this) return;
  fullName_.reset();
  for (CzemNode* child : children_) destroyNode(child);
  children_.clear();
  CzemNode::CopyFrom(source);
  name_ = from->name_;
  bits_ = from->bits_;
  children_.reserve(from->children_.size());
  for (CzemNode* child : from->children_) {
    CzemNode* copy = child->NewEmpty();
    copy->CopyFrom(child);
    appendChild(copy);
    if (copy->IsParam() != 0) copy->setInstanceNo(static_cast<unsigned>(children_.size()));
  }
}

void CzemNamedNode::writeIndent(OutputStream& out) const {
  const int depth = level();
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

// Typed lists start with room for a typical section, so that filling them
// takes one allocation instead of a series of doublings.
constexpr std::size_t kTypicalCount = 8;

unsigned CzemTargetList::addSection(CzemSection* section) {
  if (sections_.empty()) sections_.reserve(kTypicalCount);
  appendChild(section);
  const unsigned instance = sectionIndex_.add(section);
  section->setInstanceNo(instance);
  sections_.push_back(section);
  return instance;
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
  for (CzemNode* child : children()) child->Write(out);
}

void CzemTargetList::CopyFrom(const CzemNode* source) {
  const auto* from = dynamic_cast<const CzemTargetList*>(source);
  if (from == nullptr || from == this) return;
  CzemNamedNode::CopyFrom(source);
  anchor_ = from->anchor_;
  reindexSections();
}

// ---- CzemSection -----------------------------------------------------------

unsigned CzemSection::addKeyword(CzemKeyword* keyword) {
  if (keywords_.empty()) {
    keywords_.reserve(kTypicalCount);
    children().reserve(kTypicalCount);
  }
  appendChild(keyword);
  const unsigned instance = keywordIndex_.add(keyword);
  keyword->setInstanceNo(instance);
  keywords_.push_back(keyword);
  return instance;
}

void CzemSection::addDefaultDef(CzemDefaultDef* definition) { appendChild(definition); }

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
  writeIndent(out);
  out << '[';
  writeName(out);
  out << ']';
  out.endLine();
  for (CzemNode* child : children()) child->Write(out);
  writeIndent(out);
  out << "EndSect  // " << name().view();
  out.endLine();
  out.endLine();
}

void CzemSection::Visit(const Visitor& visitor) {
  visitor(this);
  visitChildren(visitor);
}

void CzemSection::CopyFrom(const CzemNode* source) {
  const auto* from = dynamic_cast<const CzemSection*>(source);
  if (from == nullptr || from == this) return;
  CzemTargetList::CopyFrom(source);
  reindexKeywords();
}

// ---- CzemKeyword -----------------------------------------------------------

void CzemKeyword::addParam(CzemNode* param) {
  appendChild(param);
  param->setInstanceNo(static_cast<unsigned>(children().size()));
}

void CzemKeyword::addParams(std::span<CzemNode* const> params, NodeArena* arena) {
  if (arena != nullptr && children().empty() && !params.empty()) {
    auto* block = static_cast<CzemNode**>(arena->allocate(params.size() * sizeof(CzemNode*), alignof(CzemNode*)));
    for (std::size_t i = 0; i < params.size(); ++i) {
      block[i] = params[i];
      params[i]->setParent(this);
      params[i]->setInstanceNo(static_cast<unsigned>(i + 1));
    }
    children().adopt(block, params.size());
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

void CzemKeyword::Write(OutputStream& out) {
  writeIndent(out);
  writeName(out);
  out << " = ";
  writeParamList(out);
  out.endLine();
}

void CzemKeyword::Visit(const Visitor& visitor) {
  visitor(this);
  visitChildren(visitor);
}

// ---- CzemDefaultDef --------------------------------------------------------

void CzemDefaultDef::Write(OutputStream& out) {
  writeIndent(out);
  out << "default (" << name().view() << ") = ";
  writeParamList(out);
  out.endLine();
}

}  // namespace zem
