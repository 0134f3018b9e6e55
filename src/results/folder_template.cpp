#include "results/folder_template.hpp"

#include <cstdlib>
#include <ctime>

#include "paths/path_ops.hpp"

namespace zem {
namespace {

// Replaces every occurrence of `token` in `text`, left to right; inserted
// text is not searched again by this replacement.
void replaceAll(std::string& text, std::string_view token, std::string_view by) {
  std::string out;
  std::size_t from = 0;
  for (std::size_t at = text.find(token); at != std::string::npos; at = text.find(token, from)) {
    out.append(text, from, at - from);
    out.append(by);
    from = at + token.size();
  }
  if (from == 0) return;
  out.append(text, from, std::string::npos);
  text = std::move(out);
}

bool holds(const std::string& text, std::string_view token) { return text.find(token) != std::string::npos; }

// The name part of the setup file: after its last separator of either kind.
std::string_view namePart(std::string_view setup) {
  const std::size_t slash = setup.find_last_of("/\\");
  return slash == std::string_view::npos ? setup : setup.substr(slash + 1);
}

// The last component of the setup file's folder. A Windows-style name counts
// only backslashes as separators; any other name both kinds.
std::string_view folderPart(std::string_view setup) {
  const char* separators = isWindowsStylePath(setup) ? "\\" : "/\\";
  const std::size_t last = setup.find_last_of(separators);
  if (last == std::string_view::npos) return {};
  const std::string_view folder = setup.substr(0, last);
  const std::size_t before = folder.find_last_of(separators);
  return before == std::string_view::npos ? std::string_view() : folder.substr(before + 1);
}

const char* userName() {
  if (const char* name = std::getenv(kUserVariable)) return name;
  return std::getenv(kPosixUserVariable);
}

}  // namespace

std::string folderDateText() {
  static constexpr const char* kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                            "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  if (localtime_r(&now, &local) == nullptr) return {};
  const int day = local.tm_mday;
  std::string text{static_cast<char>('0' + day / 10), static_cast<char>('0' + day % 10)};
  return text + kMonths[local.tm_mon % 12];
}

std::optional<std::string> expandFolderName(std::optional<std::string_view> setupFile, char separator) {
  // A name that reaches the path limit at any step cannot become a usable
  // folder; stopping there also bounds what a hostile template can grow to.
  auto tooLong = [](const std::string& t) { return t.size() >= kMaxPath; };
  const char* templateText = std::getenv(kTemplateVariable);
  std::string t(templateText != nullptr ? std::string_view(templateText) : kDefaultFolderTemplate);
  if (tooLong(t)) return std::nullopt;

  const bool withSetup2 = holds(t, "%setup2%");
  if (withSetup2 || holds(t, "%setup%")) {
    std::string_view name = kNoSetupName;
    if (setupFile.has_value()) {
      name = namePart(*setupFile);
      // "%setup%" loses the extension too when the template asks for the
      // stem. Whether it does is the template's own question: a "%setup2%"
      // that only the setup name brought in is replaced by that same name.
      const std::size_t point = name.rfind('.');
      if (withSetup2 && point != std::string_view::npos) name = name.substr(0, point);
    }
    replaceAll(t, "%setup%", name);
    if (tooLong(t)) return std::nullopt;
    replaceAll(t, "%setup2%", name);
    if (tooLong(t)) return std::nullopt;
  }
  if (holds(t, "%folder%")) {
    replaceAll(t, "%folder%", setupFile.has_value() ? folderPart(*setupFile) : std::string_view());
    if (tooLong(t)) return std::nullopt;
  }
  if (holds(t, "%user%")) {
    if (const char* user = userName()) replaceAll(t, "%user%", user);
    if (tooLong(t)) return std::nullopt;
  }
  if (holds(t, "%date%")) {
    replaceAll(t, "%date%", folderDateText());
    if (tooLong(t)) return std::nullopt;
  }
  if (holds(t, "%qxresvar%")) {
    const char* value = std::getenv(kFreeVariable);
    replaceAll(t, "%qxresvar%", value != nullptr && *value != '\0' ? value : kFreeVariable);
    if (tooLong(t)) return std::nullopt;
  }
  if (t.empty()) t.push_back('.');  // push_back, not "=": GCC 12 warns falsely on assigning a literal here
  std::string folder(1, separator);
  folder += t;
  folder += separator;
  if (tooLong(folder)) return std::nullopt;
  return folder;
}

}  // namespace zem
