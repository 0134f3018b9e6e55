#include "model/node.hpp"

#include "frame/error_state.hpp"
#include "model/named_nodes.hpp"

namespace zem {

const char* CzemNode::GetName() { return kEmptyText; }
const char* CzemNode::GetFullName() { return kEmptyText; }
int CzemNode::GetNoSections() { return 0; }
int CzemNode::GetNoKeywords() { return 0; }
int CzemNode::GetNoParams() { return 0; }
int CzemNode::GetNoNodes() { return 0; }
int CzemNode::GetNoInstances() { return 0; }
unsigned CzemNode::GetInstanceNo() { return instanceNo(); }

const char* CzemNode::GetAnchorFilename() {
  CzemNode* t = top();
  // A detached node has no document; only a target list holds an anchor.
  return t != this ? t->GetAnchorFilename() : kEmptyText;
}

int CzemNode::IsTargetList() { return 0; }
int CzemNode::IsKeyword() { return 0; }
int CzemNode::IsParam() { return 0; }
int CzemNode::IsDefaultDef() { return 0; }
int CzemNode::IsNumeric() { return 0; }
int CzemNode::IsFloat() { return 0; }
int CzemNode::IsDouble() { return 0; }
int CzemNode::IsInt() { return 0; }
int CzemNode::IsString() { return 0; }
int CzemNode::IsDefaultPar() { return 0; }
int CzemNode::IsBool() { return 0; }
int CzemNode::IsFilename() { return 0; }
int CzemNode::IsClob() { return 0; }
int CzemNode::IsUndefinedPar() { return 0; }

float CzemNode::GetFloat() {
  reportInvalidContext();
  return 0.0f;
}
double CzemNode::GetDouble() {
  reportInvalidContext();
  return 0.0;
}
int CzemNode::GetInt() {
  reportInvalidContext();
  return 0;
}
const char* CzemNode::GetString() {
  reportInvalidContext();
  return kEmptyText;
}
const char* CzemNode::GetFilename() {
  reportInvalidContext();
  return nullptr;
}
const char* CzemNode::GetFilenameString() {
  reportInvalidContext();
  return nullptr;
}
int CzemNode::GetBool() {
  reportInvalidContext();
  return 0;
}
CzemNode* CzemNode::SectionByNum(unsigned) {
  reportInvalidContext();
  return nullptr;
}
CzemNode* CzemNode::KeywordByNum(unsigned) {
  reportInvalidContext();
  return nullptr;
}
CzemNode* CzemNode::ParamByNum(unsigned) {
  reportInvalidContext();
  return nullptr;
}
CzemNode* CzemNode::NodeByNum(unsigned) { return nullptr; }
CzemNode* CzemNode::SectionByName(const char*) {
  reportInvalidContext();
  return nullptr;
}
CzemNode* CzemNode::KeywordByName(const char*) {
  reportInvalidContext();
  return nullptr;
}
CzemNode* CzemNode::SectionByNameNum(const char*, unsigned) {
  reportInvalidContext();
  return nullptr;
}
CzemNode* CzemNode::KeywordByNameNum(const char*, unsigned) {
  reportInvalidContext();
  return nullptr;
}
void CzemNode::Write(OutputStream&) { reportInvalidContext(); }
void CzemNode::Visit(const Visitor& visitor) { visitor(this); }
CzemNode* CzemNode::FindDefault(CzemNode*, const char*, unsigned) { return nullptr; }

void CzemNode::clearSubtreeMarks() {
  for (CzemNode* n = this; n != nullptr && n->subtreeArenaOnly(); n = static_cast<CzemNode*>(n->parent_))
    n->state_ &= ~kSubtreeArenaOnlyBit;
}

void CzemNode::parentChanged() {
  auto* up = static_cast<CzemNode*>(parent_);
  up->membersChanged();
  if (up->parent_ != nullptr) static_cast<CzemNode*>(up->parent_)->membersChanged();
}

void CzemNode::CopyFrom(const CzemNode* source) {
  if (source == this || source == nullptr) return;
  valueChanged();
  if (source->ownText().hasAux())
    ownText().setAux(source->auxText());
  else
    ownText().clearAux();
  setInstanceNo(0);
}

void CzemNode::setAuxText(std::string_view text) {
  valueChanged();
  ownText().setAux(text);
}

int CzemNode::level() const {
  int n = 0;
  for (const CzemNode* p = parent_; p != nullptr; p = p->parent()) ++n;
  return n;
}

CzemNode* CzemNode::top() {
  CzemNode* t = this;
  while (t->parent() != nullptr) t = t->parent();
  return t;
}

}  // namespace zem
