// Template definitions (typed placeholders, keyword and section definitions
// with their template flags), values bound to caller variables, and the
// default queries.
#include <cstdint>
#include <string>

#include "api/api_support.hpp"
#include "model/value_factory.hpp"
#include "model/values.hpp"
#include "zem/zem.h"

using namespace zem;
using zem::api::Builder;
using zem::api::buildPlain;
using zem::api::buildQuiet;
using zem::api::onNode;
using zem::api::textArg;
using zem::api::toCaller;

namespace {

constexpr Builder kCreated = Builder::kCreatedOnly;
constexpr Builder kAny = Builder::kAnyDocument;

// The placeholder of a definition code (any case), or null for an unknown code.
CzemNode* makePlaceholder(char code) {
  const char upper = (code >= 'a' && code <= 'z') ? static_cast<char>(code - 'a' + 'A') : code;
  switch (upper) {
    case 'B':
      return new CzemBool(0);
    case 'D':
      return new CzemDoubleDef();
    case 'F':
      return new CzemFloatDef();
    case 'I':
      return new CzemIntDef();
    case 'N':
      return makeFilenameValue("");
    case 'S':
      return new CzemString();
    default:
      return nullptr;
  }
}

auto addPlaceholder(char code) {
  return [code](CzemData& d) { d.appendValue(makePlaceholder(code)); };
}

std::uint32_t templateFlags(int mayRepeat, int required, int lastRepeats = 0) {
  return (mayRepeat != 0 ? kMayRepeat : 0u) | (required != 0 ? kRequired : 0u) | (lastRepeats != 0 ? kLastRepeats : 0u);
}

auto addKeywordDef(const char* name, const char* codes, int mayRepeat, int required, int lastRepeats) {
  return [=](CzemData& d) {
    if (!d.addKeyword(textArg(name), templateFlags(mayRepeat, required, lastRepeats), CzemData::kDefinition)) return;
    for (const char* c = codes != nullptr ? codes : ""; *c != '\0'; ++c) {
      if (CzemNode* placeholder = makePlaceholder(*c)) {
        d.appendValue(placeholder, CzemData::kDefinition);
      } else {
        d.buildingError((std::string("Invalid parameter definition code: '") + *c + "'").c_str());
      }
    }
  };
}

auto addSectionDef(const char* name, int mayRepeat, int required) {
  return [=](CzemData& d) { d.addSection(textArg(name), templateFlags(mayRepeat, required), CzemData::kDefinition); };
}

template <typename Ref, typename Variable>
auto addRef(Variable* variable) {
  return [variable](CzemData& d) { d.appendValue(new Ref(variable)); };
}

}  // namespace

extern "C" {

// ---- Placeholders -----------------------------------------------------------------

void zemAddIntDef(void* handle) { buildPlain(handle, kCreated, addPlaceholder('I')); }
int zemAddIntDefS(void* handle) { return buildQuiet(handle, kCreated, addPlaceholder('I')); }
void zemAddFloatDef(void* handle) { buildPlain(handle, kCreated, addPlaceholder('F')); }
int zemAddFloatDefS(void* handle) { return buildQuiet(handle, kCreated, addPlaceholder('F')); }
void zemAddDoubleDef(void* handle) { buildPlain(handle, kCreated, addPlaceholder('D')); }
int zemAddDoubleDefS(void* handle) { return buildQuiet(handle, kCreated, addPlaceholder('D')); }
void zemAddBoolDef(void* handle) { buildPlain(handle, kCreated, addPlaceholder('B')); }
int zemAddBoolDefS(void* handle) { return buildQuiet(handle, kCreated, addPlaceholder('B')); }
void zemAddStringDef(void* handle) { buildPlain(handle, kCreated, addPlaceholder('S')); }
int zemAddStringDefS(void* handle) { return buildQuiet(handle, kCreated, addPlaceholder('S')); }
void zemAddFilenameDef(void* handle) { buildPlain(handle, kCreated, addPlaceholder('N')); }
int zemAddFilenameDefS(void* handle) { return buildQuiet(handle, kCreated, addPlaceholder('N')); }

// ---- Keyword and section definitions ------------------------------------------------

void zemAddKeywordDef(void* handle, const char* name, const char* codes, int mayRepeat, int required, int lastRepeats) {
  buildPlain(handle, kCreated, addKeywordDef(name, codes, mayRepeat, required, lastRepeats));
}
int zemAddKeywordDefS(void* handle, const char* name, const char* codes, int mayRepeat, int required, int lastRepeats) {
  return buildQuiet(handle, kCreated, addKeywordDef(name, codes, mayRepeat, required, lastRepeats));
}
void zemAddSectionDef(void* handle, const char* name, int mayRepeat, int required) {
  buildPlain(handle, kCreated, addSectionDef(name, mayRepeat, required));
}
int zemAddSectionDefS(void* handle, const char* name, int mayRepeat, int required) {
  return buildQuiet(handle, kCreated, addSectionDef(name, mayRepeat, required));
}

// ---- Values bound to caller variables ---------------------------------------------------

void zemAddIntRef(void* handle, int* variable) { buildPlain(handle, kAny, addRef<CzemIntRef>(variable)); }
int zemAddIntRefS(void* handle, int* variable) { return buildQuiet(handle, kAny, addRef<CzemIntRef>(variable)); }
void zemAddFloatRef(void* handle, float* variable) { buildPlain(handle, kAny, addRef<CzemFloatRef>(variable)); }
int zemAddFloatRefS(void* handle, float* variable) { return buildQuiet(handle, kAny, addRef<CzemFloatRef>(variable)); }
void zemAddDoubleRef(void* handle, double* variable) { buildPlain(handle, kAny, addRef<CzemDoubleRef>(variable)); }
int zemAddDoubleRefS(void* handle, double* variable) {
  return buildQuiet(handle, kAny, addRef<CzemDoubleRef>(variable));
}
void zemAddBoolRef(void* handle, int* variable) { buildPlain(handle, kAny, addRef<CzemBoolRef>(variable)); }
int zemAddBoolRefS(void* handle, int* variable) { return buildQuiet(handle, kAny, addRef<CzemBoolRef>(variable)); }
void zemAddStringRef(void* handle, const char** variable) { buildPlain(handle, kAny, addRef<CzemStringRef>(variable)); }
int zemAddStringRefS(void* handle, const char** variable) {
  return buildQuiet(handle, kAny, addRef<CzemStringRef>(variable));
}

// ---- Defaults -----------------------------------------------------------------------------

void* zemFindDefault(void* node) {
  return onNode(node, static_cast<void*>(nullptr), [](CzemNode& x) -> void* {
    if (x.IsDefaultPar() == 0) return nullptr;
    CzemNamedNode* keyword = x.parent();
    CzemNode* standIn = keyword != nullptr ? keyword->FindDefault(&x, keyword->GetName(), x.GetInstanceNo()) : nullptr;
    return toCaller(standIn != nullptr ? standIn : &x);
  });
}

int zemIsDefaultPar(void* node) {
  return onNode(node, 0, [](CzemNode& x) { return x.IsDefaultPar(); });
}
int zemIsUndefinedPar(void* node) {
  return onNode(node, 0, [](CzemNode& x) { return x.IsUndefinedPar(); });
}

}  // extern "C"
