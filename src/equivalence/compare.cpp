#include "equivalence/compare.hpp"

#include <vector>

#include "equivalence/report.hpp"
#include "model/name_compare.hpp"
#include "model/named_nodes.hpp"

namespace zem {
namespace {

bool isBlank(CzemNode& node) { return node.GetName()[0] == '\0'; }

bool flagged(CzemNode& node, std::uint32_t flag) { return (static_cast<CzemNamedNode&>(node).flags() & flag) != 0; }

// A typed placeholder stands for every value of its kind; a numeric one for
// every number that one of its views can hold.
bool sameKind(CzemNode& templ, CzemNode& candidate) {
  if (templ.IsNumeric() == 0) return templ.GetSyntaxClass() == candidate.GetSyntaxClass();
  return (templ.IsInt() != 0 && candidate.IsInt() != 0) || (templ.IsFloat() != 0 && candidate.IsFloat() != 0) ||
         (templ.IsDouble() != 0 && candidate.IsDouble() != 0);
}

int paramMismatch(CzemNode& candidateKeyword, CzemNode& candidateParam, unsigned number) {
  return reportParam(candidateParam.IsDefaultPar() != 0 ? "Unresolved default value" : "Parameter type conflict",
                     candidateKeyword, number);
}

int compareKeywords(CzemNode& t, CzemNode& c) {
  const bool wildcard = isBlank(t) && !isBlank(c);
  if (!wildcard && (isBlank(t) || !equalsIgnoringCase(t.GetName(), c.GetName())))
    return reportNodes("Keyword name conflict", &t, &c);
  if (t.GetNoInstances() >= 2) return reportNodes("Ambiguous template keyword", &t, &c);
  if (!flagged(t, kMayRepeat) && c.GetNoInstances() > 1) return reportNodes("Ambiguous candidate keyword", &t, &c);

  unsigned i = 1;
  CzemNode* last = nullptr;
  for (;; ++i) {
    CzemNode* p = t.ParamByNum(i);
    CzemNode* q = c.ParamByNum(i);
    if (p == nullptr && q == nullptr) return 1;
    if (q == nullptr) return reportParam("Missing parameters", t, i);
    if (p == nullptr) break;
    if (!sameKind(*p, *q)) return paramMismatch(c, *q, i);
    last = p;
  }
  // A last-repeats flag without a last parameter gives no kind for the extra
  // values, so the keyword takes none.
  if (!flagged(t, kLastRepeats) || last == nullptr) return reportParam("Too many parameters", t, i);
  for (CzemNode* q = c.ParamByNum(i); q != nullptr; q = c.ParamByNum(++i))
    if (!sameKind(*last, *q)) return paramMismatch(c, *q, i);
  return 1;
}

// The steps that need only the pair itself: both are sections below a root,
// named alike, and neither is ambiguous. False once a difference is reported.
bool sectionPairFits(CzemNode& t, CzemNode& c) {
  const char* difference = nullptr;
  if (t.IsTargetList() == 0 || c.IsTargetList() == 0 || t.parent() == nullptr || c.parent() == nullptr)
    difference = "Two sections required";
  else if (isBlank(t))
    difference = "Blank section name";
  else if (!equalsIgnoringCase(t.GetName(), c.GetName()))
    difference = "Section name conflict";
  else if (t.GetNoInstances() >= 2)
    difference = "Ambiguous template section";
  else if (!flagged(t, kMayRepeat) && c.GetNoInstances() > 1)
    difference = "Ambiguous candidate section";
  if (difference == nullptr) return true;
  reportNodes(difference, &t, &c);
  return false;
}

// Once every subsection of the pair has conformed: its keywords.
int compareSectionKeywords(CzemNode& t, CzemNode& c) {
  for (unsigned k = 1; CzemNode* kt = t.KeywordByNum(k); ++k) {
    if (isBlank(*kt)) continue;
    for (unsigned n = 1; CzemNode* kc = c.KeywordByNameNum(kt->GetName(), n); ++n)
      if (compareKeywords(*kt, *kc) == 0) return 0;
  }
  CzemNode* wildcardDef = t.KeywordByNameNum("", 1);
  for (unsigned k = 1; CzemNode* kc = c.KeywordByNum(k); ++k) {
    if (t.KeywordByNameNum(kc->GetName(), 1) != nullptr) continue;
    if (wildcardDef == nullptr) return reportNodes("Unrecognized keyword", kc, nullptr);
    if (compareKeywords(*wildcardDef, *kc) == 0) return 0;
  }
  return 1;
}

// A pair is checked itself, then each template subsection against every
// candidate subsection of its name (a subsection's whole subtree before the
// next one), then the keywords. The walk keeps its own stack of open pairs:
// a deep tree must not cost stack.
int compareSections(CzemNode& t, CzemNode& c) {
  struct Open {
    CzemNode* templ;
    CzemNode* candidate;
    int unmatched;          // candidate subsections that no template subsection took yet
    unsigned sub = 1;       // the template subsection being matched
    unsigned instance = 1;  // the next candidate subsection of its name
  };
  if (!sectionPairFits(t, c)) return 0;
  std::vector<Open> open{{&t, &c, c.GetNoSections()}};
  while (!open.empty()) {
    Open& top = open.back();
    if (CzemNode* st = top.templ->SectionByNum(top.sub)) {
      if (CzemNode* cs = top.candidate->SectionByNameNum(st->GetName(), top.instance)) {
        ++top.instance;
        --top.unmatched;
        if (!sectionPairFits(*st, *cs)) return 0;
        open.push_back({st, cs, cs->GetNoSections()});  // `top` is stale from here
        continue;
      }
      if (top.instance == 1 && flagged(*st, kRequired)) return reportNodes("Missing section", st, nullptr);
      ++top.sub;
      top.instance = 1;
      continue;
    }
    // Every candidate subsection must be matched by a template subsection of its name.
    if (top.unmatched != 0) return reportNodes("Inconsistent number of sections", top.templ, top.candidate);
    if (compareSectionKeywords(*top.templ, *top.candidate) == 0) return 0;
    open.pop_back();
  }
  return 1;
}

}  // namespace

int compareNodes(CzemNode& templ, CzemNode& candidate) {
  if (templ.IsTargetList() != 0 && candidate.IsTargetList() != 0) return compareSections(templ, candidate);
  if (templ.IsKeyword() != 0 && candidate.IsKeyword() != 0) return compareKeywords(templ, candidate);
  return reportConflictingTypes();
}

}  // namespace zem
