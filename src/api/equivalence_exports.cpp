// The template check of a candidate section or keyword against a template.
#include "api/api_support.hpp"
#include "equivalence/compare.hpp"
#include "equivalence/report.hpp"
#include "zem/zem.h"

using namespace zem;

extern "C" {

int zemEquivalentExt(void* templ, void* candidate, void* /*unused*/, int quiet) {
  setEquivalenceQuiet(quiet);
  // Both arguments are checked, so each invalid one is reported.
  CzemNode* t = checkNode(templ, quiet != 0);
  CzemNode* c = checkNode(candidate, quiet != 0);
  return t != nullptr && c != nullptr ? compareNodes(*t, *c) : 0;
}

int zemEquivalent(void* templ, void* candidate, void* unused) { return zemEquivalentExt(templ, candidate, unused, 0); }

int zemIsEqvQuiet(void) { return equivalenceQuiet(); }

}  // extern "C"
