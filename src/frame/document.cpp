#include "frame/document.hpp"

#include "frame/error_state.hpp"
#include "frame/writable.hpp"
#include "model/named_nodes.hpp"
#include "vox/vox.h"

namespace zem {

CzemData::~CzemData() { delete root_; }

CzemCreate::CzemCreate() : CzemData(new CzemTargetList()) {}

void CzemData::recordBuildingError(const char* message) {
  status_ = kBuilderFailed;
  builderError_ = message;
}

void CzemData::buildingError(const char* message) {
  if (silent_ == 0) voxZemAPE(message);
  recordBuildingError(message);
}

bool CzemData::acceptName(std::string_view name) {
  if (isReadableName(name)) return true;
  buildingError(kInvalidName);
  return false;
}

bool CzemData::addTarget(std::string_view name, std::uint32_t flags) {
  if (currentSection_ != nullptr) {
    buildingError("Previous section was not completed");
    return false;
  }
  if (root_ == nullptr) {
    buildingError("Missing list");
    return false;
  }
  if (!acceptName(name)) return false;
  auto* section = new CzemSection(name, flags);
  root_->addSection(section);
  root_->setOwner(this);
  currentSection_ = section;
  currentKeyword_ = nullptr;
  currentClob_ = nullptr;
  return true;
}

bool CzemData::addSection(std::string_view name, std::uint32_t flags, Purpose purpose) {
  if (currentSection_ == nullptr) {
    buildingError("Missing current section");
    return false;
  }
  if (!acceptName(name)) return false;
  auto* section = new CzemSection(name, flags);
  currentSection_->addSection(section);
  currentSection_ = section;
  currentKeyword_ = nullptr;
  if (purpose == kContent) currentClob_ = nullptr;
  return true;
}

bool CzemData::endSection() {
  if (currentSection_ == nullptr) {
    buildingError("Missing current section");
    return false;
  }
  closeCurrentSection();
  return true;
}

void CzemData::closeCurrentSection() {
  // A section directly under the root closes to no open section.
  CzemNamedNode* up = currentSection_->parent();
  currentSection_ = (up == nullptr || up->parent() == nullptr) ? nullptr : static_cast<CzemTargetList*>(up);
  currentKeyword_ = nullptr;
  currentClob_ = nullptr;
}

bool CzemData::addKeyword(std::string_view name, std::uint32_t flags, Purpose purpose) {
  // Only sections hold keywords; the cursor never rests on the root list.
  auto* section = dynamic_cast<CzemSection*>(currentSection_);
  if (section == nullptr) {
    buildingError("Missing current section");
    return false;
  }
  // A definition without a name is the template's wildcard keyword; it is
  // written as "()", which reads back.
  if (!(purpose == kDefinition && name.empty()) && !acceptName(name)) return false;
  auto* keyword = new CzemKeyword(name, flags);
  section->addKeyword(keyword);
  currentKeyword_ = keyword;
  if (purpose == kContent) currentClob_ = nullptr;
  return true;
}

bool CzemData::appendValue(CzemNode* value, Purpose purpose) {
  if (currentKeyword_ == nullptr) {
    buildingError("Missing current keyword");
    destroyNode(value);
    return false;
  }
  currentKeyword_->addParam(value);
  if (purpose == kContent) currentClob_ = value->IsClob() != 0 ? value : nullptr;
  return true;
}

namespace {

// True when `node` is `top` or lies below it.
bool within(const CzemNode* node, const CzemNode* top) {
  for (; node != nullptr; node = node->parent())
    if (node == top) return true;
  return false;
}

}  // namespace

void CzemData::forget(CzemNode* node) { forgetBelow(node, false); }

void CzemData::forgetContents(CzemNode* node) { forgetBelow(node, true); }

void CzemData::forgetBelow(CzemNode* top, bool keepTop) {
  if (top == nullptr) return;
  auto doomed = [&](const CzemNode* field) { return within(field, top) && !(keepTop && field == top); };
  // A deleted or replaced value must not stay the target of CLOB items.
  if (doomed(currentClob_)) currentClob_ = nullptr;
  if (doomed(currentKeyword_)) {
    currentKeyword_ = nullptr;
    currentClob_ = nullptr;
  }
  if (doomed(currentSection_)) {
    currentKeyword_ = nullptr;
    currentClob_ = nullptr;
    if (keepTop) {
      // The cursor never rests on the root list.
      currentSection_ = top->parent() != nullptr ? static_cast<CzemTargetList*>(top) : nullptr;
    } else {
      currentSection_ = static_cast<CzemTargetList*>(top);
      closeCurrentSection();
    }
  }
}

}  // namespace zem
