// zem check --template TEMPLATE [--all] FILE...: check each file against a template and say where it differs.
//
// The library's check stops at the first difference and names its nodes by dotted paths, which do not tell
// repeated sections apart. The command therefore pairs template and candidate nodes level by level itself,
// lets the library check each pair, and descends into the pairs that fail: the deepest failing pair is where
// the difference is, and its node's start line is where the user has to look.
#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "tool.hpp"
#include "vox/vox.h"
#include "zem/zem.h"

namespace zemtool {
namespace {

constexpr const char* kHelp =
    "usage: zem check --template TEMPLATE [--all] FILE...\n"
    "Checks each parameter file against the template file TEMPLATE. Prints\n"
    "'FILE:LINE: MESSAGE (Section/Path:instance Keyword)' for the first difference,\n"
    "with --all for every difference, or 'FILE: conforms to TEMPLATE'.\n"
    "Exit status 1 when any file does not conform or cannot be loaded.\n";

// One difference: the candidate node to point at and the library's report about it.
struct Finding {
  void* node;
  std::string report;
};

std::string name(void* node) { return zemGetName(node); }
std::string dottedPath(void* node) { return zemGetNameGlb(node); }

// The report layouts of the library, for the differences the command finds by pairing names.
std::string nodeReport(const char* message, void* first, void* second) {
  std::string text = std::string("Error: ") + message + "\n\tTemp: " + dottedPath(first);
  if (second != nullptr) text += "\n\tCand: " + dottedPath(second);
  return text;
}

// The library's first report about a pair, "" when the candidate conforms.
std::string firstReport(void* templ, void* candidate) {
  std::string captured;
  voxSetSink(
      [](const char* text, int, void* out) {
        auto& into = *static_cast<std::string*>(out);
        if (into.empty()) into = text;
      },
      &captured);
  const int conforms = zemEquivalentExt(templ, candidate, nullptr, 0);
  voxSetSink(nullptr, nullptr);
  if (conforms == 0 && captured.empty()) captured = "Error: does not conform";
  return conforms != 0 ? std::string() : captured;
}

class TemplateCheck {
 public:
  TemplateCheck(void* templateRoot, bool all) : templateRoot_(templateRoot), all_(all) {}

  std::vector<Finding> run(void* candidateRoot) {
    findings_.clear();
    // Top-level sections follow the rule of subsections: each is checked against the template section of its
    // name, and one the template does not know is a difference.
    for (unsigned i = 1; void* ts = zemSectionByNum(templateRoot_, i); ++i)
      for (unsigned n = 1; void* cs = zemSectionByNameNum(candidateRoot, zemGetName(ts), n); ++n) {
        const std::string report = firstReport(ts, cs);
        if (!report.empty() && (explain(ts, cs, report), done())) return findings_;
      }
    for (unsigned i = 1; void* cs = zemSectionByNum(candidateRoot, i); ++i)
      if (zemSectionByNameNum(templateRoot_, zemGetName(cs), 1) == nullptr) {
        findings_.push_back({cs, "Error: Inconsistent number of sections\n\tTemp: \n\tCand: "});
        if (done()) break;
      }
    return findings_;
  }

 private:
  bool done() const { return !all_ && !findings_.empty(); }

  // Finds where the failing pair (t, c) differs. Without --all only the library's first difference, `first`,
  // is wanted: of the pairs below, only one reporting that same text can hold it.
  void explain(void* t, void* c, const std::string& first) {
    if (zemIsKeyword(t) != 0 || isOwnDifference(t, c, first)) {
      findings_.push_back({c, first});
      return;
    }
    const std::size_t before = findings_.size();
    for (unsigned i = 1; void* st = zemSectionByNum(t, i); ++i)
      for (unsigned n = 1; void* cs = zemSectionByNameNum(c, zemGetName(st), n); ++n)
        if (consider(firstReport(st, cs), first, [&](const std::string& r) { explain(st, cs, r); })) return;
    for (unsigned i = 1; void* cs = zemSectionByNum(c, i); ++i)
      if (zemSectionByNameNum(t, zemGetName(cs), 1) == nullptr &&
          consider(nodeReport("Inconsistent number of sections", t, c), first, [&](const std::string& r) {
            findings_.push_back({cs, r});
          }))
        return;
    void* wildcard = zemKeywordByNameNum(t, "", 1);
    for (unsigned i = 1; void* kc = zemKeywordByNum(c, i); ++i) {
      void* kt = zemKeywordByNameNum(t, zemGetName(kc), 1);
      if (kt != nullptr && name(kt).empty()) continue;  // a blank candidate name meets the wildcard itself
      if (kt == nullptr) kt = wildcard;
      const std::string report = kt != nullptr ? firstReport(kt, kc) : nodeReport("Unrecognized keyword", kc, nullptr);
      if (consider(report, first, [&](const std::string& r) { findings_.push_back({kc, r}); })) return;
    }
    // A difference nothing below accounts for (a required subsection the candidate lacks) is c's own.
    if (std::none_of(findings_.begin() + static_cast<std::ptrdiff_t>(before), findings_.end(),
                     [&](const Finding& f) { return f.report == first; }))
      findings_.push_back({c, first});
  }

  // Hands a report about a part of the pair to `take` when it is a difference that is wanted; true when the
  // search is over.
  template <typename Take>
  bool consider(const std::string& report, const std::string& first, Take take) {
    if (report.empty() || (!all_ && report != first)) return false;
    take(report);
    return done();
  }

  // The checks of the pair itself (names, repeats) come before any check below it; their reports name the
  // pair's own paths, which no node below shares.
  static bool isOwnDifference(void* t, void* c, const std::string& report) {
    static const char* const kOwn[] = {"Two sections required", "Blank section name", "Section name conflict",
                                       "Ambiguous template section", "Ambiguous candidate section"};
    const std::string paths = "\n\tTemp: " + dottedPath(t) + "\n\tCand: " + dottedPath(c);
    for (const char* message : kOwn)
      if (report == std::string("Error: ") + message + paths) return true;
    return false;
  }

  void* templateRoot_;
  bool all_;
  std::vector<Finding> findings_;
};

// The library's report as one line: its message, the number of a value, the name of a missing section.
std::string message(const std::string& report) {
  const auto field = [&](const char* label) {
    const std::size_t at = report.find(label);
    if (at == std::string::npos) return std::string();
    const std::size_t from = at + std::char_traits<char>::length(label);
    return report.substr(from, report.find('\n', from) - from);
  };
  std::string text = report.substr(0, report.find('\n'));
  if (text.rfind("Error: ", 0) == 0) text.erase(0, 7);
  if (const std::string number = field("\n\tNo:"); !number.empty()) text.append(" No:").append(number);
  if (text == "Missing section") {
    const std::string missing = field("\n\tTemp: ");
    text.append(" ").append(missing, missing.rfind('.') + 1);
  }
  return text;
}

void print(const std::string& file, const Finding& finding, int line) {
  std::string where = file;
  if (line > 0) where.append(":").append(std::to_string(line));
  std::printf("%s: %s (%s)\n", where.c_str(), message(finding.report).c_str(), nodeLocation(finding.node).c_str());
}

int startLine(void* node) {
  int line = 0, column = 0;
  return zemGetNodeSpan(node, &line, &column, nullptr, nullptr) != 0 ? line : 0;
}

bool sameFile(const std::string& a, const std::string& b) {
  struct stat x {
  }, y{};
  return stat(a.c_str(), &x) == 0 && stat(b.c_str(), &y) == 0 && x.st_dev == y.st_dev && x.st_ino == y.st_ino;
}

}  // namespace

int runCheckTemplate(const std::vector<std::string>& args) {
  if (wantsHelp(args)) {
    std::fputs(kHelp, stdout);
    return kOk;
  }
  std::string templateFile;
  bool all = false;
  std::vector<std::string> files;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--template") {
      if (i + 1 == args.size()) return usageError("--template needs a TEMPLATE file", kHelp);
      if (!templateFile.empty()) return usageError("--template given twice", kHelp);
      templateFile = args[++i];
    } else if (args[i] == "--all") {
      all = true;
    } else if (args[i].size() > 1 && args[i][0] == '-') {
      return usageError("unknown option '" + args[i] + "'", kHelp);
    } else {
      files.push_back(args[i]);
    }
  }
  if (files.empty()) return usageError("check --template needs at least one FILE", kHelp);
  for (const std::string& file : files)
    if (sameFile(file, templateFile))
      return usageError("'" + file + "' is the template itself; check other files against it", kHelp);

  const Document templ(templateFile);
  if (!templ.ok()) {
    std::fprintf(stderr, "%s\nzem: the template cannot be loaded; no file was checked\n", templ.error().c_str());
    return kInvalidInput;
  }
  if (zemGetNoTargets(templ.handle()) == 0) {
    std::fprintf(stderr, "%s: the template holds no sections; no file was checked\n", templateFile.c_str());
    return kInvalidInput;
  }
  TemplateCheck check(zemGetRoot(templ.handle()), all);
  int status = kOk;
  for (const std::string& file : files) {
    const Document doc(file);
    if (!doc.ok()) {
      std::fprintf(stderr, "%s\n", doc.error().c_str());
      status = kInvalidInput;
      continue;
    }
    std::vector<std::pair<int, Finding>> located;
    for (const Finding& finding : check.run(zemGetRoot(doc.handle())))
      located.emplace_back(startLine(finding.node), finding);
    // File order reads best; nodes without a position keep the order of the check, after the others.
    std::stable_sort(located.begin(), located.end(),
                     [](const auto& a, const auto& b) { return a.first != 0 && (b.first == 0 || a.first < b.first); });
    for (const auto& [line, finding] : located) print(file, finding, line);
    if (located.empty()) {
      std::printf("%s: conforms to %s\n", file.c_str(), templateFile.c_str());
    } else {
      status = kInvalidInput;
    }
  }
  return status;
}

}  // namespace zemtool
