// Editing exports: each checks its arguments as its table says (which checks
// report and which stay quiet), then hands the change to the edit module.
#include <memory>

#include "api/api_support.hpp"
#include "edit/tree_edit.hpp"
#include "frame/writable.hpp"
#include "model/value_factory.hpp"
#include "model/values.hpp"
#include "zem/zem.h"

using namespace zem;
using zem::api::textArg;
using zem::api::toCaller;

namespace {

// Bad arguments of the keyword checks store 1007 (the check's code) but the
// edit answers 1008.
constexpr int kKeywordStatus = kErrKeyword;

// Running out of memory while a node enters its lists fails the insertion.
template <typename Op>
void* insertion(Op op) {
  try {
    return toCaller(op());
  } catch (const std::bad_alloc&) {
    storeError(kErrIndex);
    return nullptr;
  }
}

template <typename Op>
int status(Op op) {
  try {
    return op();
  } catch (const std::bad_alloc&) {
    storeError(kErrIndex);
    return kErrIndex;
  }
}

bool acceptValue(bool writable);

// Makes the value only once the keyword passed its check; a value that
// could not be written (`writable` false) is refused after that check.
template <typename Make>
void* newParamAt(void* keyword, Make make, unsigned position, bool writable = true) {
  CzemKeyword* k = checkKeyword(keyword, false);
  if (k == nullptr || !acceptValue(writable)) return nullptr;
  return insertion([&] {
    CzemNode* param = make();
    edit::insertParam(*k, param, position);
    return param;
  });
}

// A new name must read back: else 1007 is stored and nothing changes.
bool acceptName(const char* name) {
  if (isReadableName(textArg(name))) return true;
  storeError(kErrNamedNode);
  return false;
}

// A new value must be writable so that it reads back: else 1012 is stored
// and nothing changes.
bool acceptValue(bool writable) {
  if (!writable) storeError(kErrParameter);
  return writable;
}

// Replaces the value of a parameter accepted by `accepts` (else 1014, with
// the global code left alone) by `make()`, the new value of its kind; a value
// that is not `writable` gives 1012.
template <typename Accepts, typename Make>
int modify(void* node, Accepts accepts, Make make, bool writable = true) {
  CzemParam* param = checkParam(node, true);
  if (param == nullptr) return kErrParameter;
  if (!accepts(*param)) return kErrParameterType;
  if (!acceptValue(writable)) return kErrParameter;
  return status([&] {
    const std::unique_ptr<CzemNode> value(make());
    edit::replaceValue(*param, *value);
    return 0;
  });
}

}  // namespace

extern "C" {

// ---- Deleting -----------------------------------------------------------------

int zemeDeleteKeywordByNum(void* section, unsigned int n) {
  CzemSection* s = checkSection(section, false);
  return s != nullptr ? edit::deleteKeyword(*s, s->KeywordByNum(n)) : kErrSection;
}

int zemeDeleteKeywordByNameNum(void* section, const char* name, unsigned int instance) {
  CzemSection* s = checkSection(section, false);
  return s != nullptr ? edit::deleteKeyword(*s, s->KeywordByNameNum(name, instance)) : kErrSection;
}

int zemeDeleteSectionByNum(void* targetList, unsigned int n) {
  CzemTargetList* t = checkTargetList(targetList, true);
  return t != nullptr ? edit::deleteSection(*t, t->SectionByNum(n)) : kErrTargetList;
}

int zemeDeleteSectionByNameNum(void* targetList, const char* name, unsigned int instance) {
  CzemTargetList* t = checkTargetList(targetList, true);
  return t != nullptr ? edit::deleteSection(*t, t->SectionByNameNum(name, instance)) : kErrTargetList;
}

int zemeDeleteParameter(void* keyword, unsigned int n) {
  CzemKeyword* k = checkKeyword(keyword, false);
  return k != nullptr ? edit::deleteParam(*k, n) : kKeywordStatus;
}

// ---- Inserting new nodes ------------------------------------------------------------

void* zemeInsertNewKeyword(void* section, const char* name, unsigned int position) {
  CzemSection* s = checkSection(section, false);
  if (s == nullptr || !acceptName(name)) return nullptr;
  return insertion([&] {
    auto* keyword = new CzemKeyword(textArg(name));
    edit::insertKeyword(*s, keyword, position);
    return keyword;
  });
}

void* zemeInsertNewSection(void* targetList, const char* name, unsigned int position) {
  CzemTargetList* t = checkTargetList(targetList, true);
  if (t == nullptr || !acceptName(name)) return nullptr;
  return insertion([&] {
    auto* section = new CzemSection(textArg(name));
    edit::insertSection(*t, section, position);
    return section;
  });
}

void* zemeInsertNewParameterInt(void* keyword, int value, unsigned int position) {
  return newParamAt(
      keyword, [value] { return new CzemInt(value); }, position);
}
void* zemeInsertNewParameterDouble(void* keyword, double value, unsigned int position) {
  return newParamAt(
      keyword, [value] { return new CzemDouble(value); }, position, isWritableNumber(value));
}
void* zemeInsertNewParameterBool(void* keyword, int value, unsigned int position) {
  return newParamAt(
      keyword, [value] { return new CzemBool(value); }, position);
}
void* zemeInsertNewParameterString(void* keyword, const char* text, unsigned int position) {
  return newParamAt(
      keyword, [text] { return new CzemString(textArg(text)); }, position);
}
void* zemeInsertNewParameterFileName(void* keyword, const char* text, unsigned int position) {
  return newParamAt(
      keyword, [text] { return makeFilenameValue(textArg(text)); }, position, isWritableFilename(textArg(text)));
}
void* zemeInsertNewParameterClob(void* keyword, unsigned int position) {
  return newParamAt(
      keyword, [] { return makeEmptyClob(); }, position);
}
void* zemeInsertNewParameterUndefined(void* keyword, unsigned int position) {
  return newParamAt(
      keyword, [] { return new CzemUndefinedPar(); }, position);
}

// ---- Inserting copies --------------------------------------------------------------

int zemeInsertCopyKeyword(void* section, void* keyword, unsigned int position) {
  CzemSection* s = checkSection(section, false);
  if (s == nullptr) return kErrSection;
  CzemKeyword* source = checkKeyword(keyword, true);
  if (source == nullptr) return kKeywordStatus;
  return status([&] {
    edit::insertKeyword(*s, static_cast<CzemKeyword*>(edit::copyOf(*source)), position);
    return 0;
  });
}

int zemeInsertCopySection(void* targetList, void* section, unsigned int position) {
  CzemTargetList* t = checkTargetList(targetList, true);
  if (t == nullptr) return kErrTargetList;
  CzemSection* source = checkSection(section, true);
  if (source == nullptr) return kErrSection;
  return status([&] {
    edit::insertSection(*t, static_cast<CzemSection*>(edit::copyOf(*source)), position);
    return 0;
  });
}

int zemeInsertCopyParameter(void* keyword, void* param, unsigned int position) {
  CzemKeyword* k = checkKeyword(keyword, false);
  if (k == nullptr) return kKeywordStatus;
  CzemParam* source = checkParam(param, true);
  if (source == nullptr) return kErrParameter;
  return status([&] {
    edit::insertParam(*k, edit::copyOf(*source), position);
    return 0;
  });
}

// ---- Renaming -------------------------------------------------------------------------

int zemeModifyKeywordName(void* keyword, const char* name) {
  CzemKeyword* k = checkKeyword(keyword, true);
  if (k == nullptr) return kKeywordStatus;
  if (!acceptName(name)) return kErrNamedNode;
  return status([&] {
    edit::rename(*k, textArg(name));
    return checkSection(static_cast<CzemBase*>(k->parent()), false) != nullptr ? 0 : kErrSection;
  });
}

int zemeModifySectionName(void* section, const char* name) {
  CzemSection* s = checkSection(section, true);
  if (s == nullptr) return kErrSection;
  if (!acceptName(name)) return kErrNamedNode;
  return status([&] {
    edit::rename(*s, textArg(name));
    return checkTargetList(static_cast<CzemBase*>(s->parent()), false) != nullptr ? 0 : kErrTargetList;
  });
}

// ---- Replacing values ---------------------------------------------------------------------

int zemeModifyParameterInt(void* param, int value) {
  return modify(
      param, [](CzemParam& p) { return dynamic_cast<CzemInt*>(&p) != nullptr; },
      [value] { return new CzemInt(value); });
}

int zemeModifyParameterDouble(void* param, double value) {
  return modify(
      param, [](CzemParam& p) { return dynamic_cast<CzemReal*>(&p) != nullptr; },
      [value] { return new CzemDouble(value); }, isWritableNumber(value));
}

int zemeModifyParameterBool(void* param, int value) {
  return modify(
      param, [](CzemParam& p) { return p.IsBool() != 0; }, [value] { return new CzemBool(value); });
}

int zemeModifyParameterString(void* param, const char* text) {
  return modify(
      param, [](CzemParam& p) { return p.IsString() != 0; }, [text] { return new CzemString(textArg(text)); });
}

int zemeModifyParameterFileName(void* param, const char* text) {
  return modify(
      param, [](CzemParam& p) { return p.IsFilename() != 0; }, [text] { return makeFilenameValue(textArg(text)); },
      isWritableFilename(textArg(text)));
}

}  // extern "C"
