#include "paths/path_ops.hpp"

#include <unistd.h>

#include <cerrno>
#include <vector>

namespace zem {
namespace {

// Set only by tests; every other caller gets getcwd.
CurrentDirectoryProvider directoryProvider = nullptr;

bool isSeparator(char c) { return c == '/' || c == '\\'; }
bool isAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
char lowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool hasDrive(std::string_view p) { return p.size() >= 2 && isAsciiLetter(p[0]) && p[1] == ':'; }
bool isNetworkName(std::string_view p) { return p.size() >= 2 && p[0] == '\\' && p[1] == '\\'; }

bool equalComponents(std::string_view a, std::string_view b, bool ignoreCase) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (ignoreCase ? lowerAscii(a[i]) != lowerAscii(b[i]) : a[i] != b[i]) return false;
  }
  return true;
}

// Takes the next non-empty component off the front of `rest`.
std::string_view takeComponent(std::string_view& rest) {
  std::size_t i = 0;
  while (i < rest.size() && isSeparator(rest[i])) ++i;
  std::size_t j = i;
  while (j < rest.size() && !isSeparator(rest[j])) ++j;
  std::string_view component = rest.substr(i, j - i);
  rest.remove_prefix(j);
  return component;
}

// A path taken apart. The components are views into the text that was split,
// which must outlive this object.
struct SplitPath {
  bool windows = false;  // Windows-style: backslashes out, components compare without case
  std::string root;      // "" relative, "/", "c:\" or "\\server\share\"; written as it stands
  std::vector<std::string_view> parts;
  // The text ended with a separator: a folder. Rendered after the last
  // component, and after a bare network root ("\\server\share\").
  bool trailingSeparator = false;

  char separator() const { return windows ? '\\' : '/'; }
};

SplitPath split(std::string_view path) {
  SplitPath s;
  std::string_view rest = path;
  if (hasDrive(path)) {
    s.windows = true;
    s.root.assign(path.substr(0, 2));
    s.root += '\\';
    rest.remove_prefix(2);
  } else if (isNetworkName(path)) {
    s.windows = true;
    rest.remove_prefix(2);
    s.root.assign(2, '\\');
    // Server and share belong to the root: ".." never climbs above them.
    for (int i = 0; i < 2; ++i) {
      std::string_view component = takeComponent(rest);
      if (component.empty()) break;
      s.root.append(component);
      s.root += '\\';
    }
  } else if (!path.empty() && isSeparator(path[0])) {
    s.root.assign(1, '/');
  }
  for (std::string_view c = takeComponent(rest); !c.empty(); c = takeComponent(rest)) s.parts.push_back(c);
  s.trailingSeparator = !path.empty() && isSeparator(path.back());
  return s;
}

// Removes "." and ".." components. ".." above a root is dropped; leading ".."
// of a relative path stay, since there is nothing to remove them against.
// A closing separator stays: "a\b\..\" still names a folder.
void normalize(SplitPath& s) {
  std::vector<std::string_view> kept;
  kept.reserve(s.parts.size());
  for (std::string_view part : s.parts) {
    if (part == ".") continue;
    if (part == "..") {
      if (!kept.empty() && kept.back() != "..")
        kept.pop_back();
      else if (s.root.empty())
        kept.push_back(part);
      continue;
    }
    kept.push_back(part);
  }
  s.parts = std::move(kept);
}

std::string render(const SplitPath& s) {
  std::string text = s.root;
  // A drive root always ends with its separator ("c:\"); a network root
  // alone only when the text named it so ("\\server\share" stays as it is).
  if (s.parts.empty() && !s.trailingSeparator && s.windows && text.size() > 3 && text[1] == '\\') text.pop_back();
  for (std::size_t i = 0; i < s.parts.size(); ++i) {
    if (i > 0) text += s.separator();
    text.append(s.parts[i]);
  }
  if (s.trailingSeparator && !s.parts.empty()) text += s.separator();
  return text;
}

std::optional<std::string> fitting(std::string text) {
  if (text.size() >= kMaxPath) return std::nullopt;
  return text;
}

std::string systemCurrentDirectory() {
  std::string buffer(4096, '\0');
  while (getcwd(buffer.data(), buffer.size()) == nullptr) {
    if (errno != ERANGE || buffer.size() >= (1u << 20)) return {};
    buffer.resize(buffer.size() * 2);
  }
  buffer.resize(buffer.find('\0'));
  return buffer;
}

}  // namespace

bool isRelativePath(std::string_view path) { return !(hasDrive(path) || (!path.empty() && isSeparator(path[0]))); }

int driveNumber(std::string_view path) {
  if (isNetworkName(path)) return kNetworkDrive;
  if (hasDrive(path)) return lowerAscii(path[0]) - 'a';
  return -1;
}

std::string drivePrefix(std::string_view path) {
  if (hasDrive(path)) return {lowerAscii(path[0]), ':'};
  if (isNetworkName(path)) {
    std::string root = split(path).root;
    root.pop_back();
    return root;
  }
  return {};
}

std::optional<std::string> combinePaths(std::string_view base, std::string_view rel) {
  std::string baseText;
  if (base == kCurrentDirectoryMarker)
    baseText = currentDirectory();
  else if (base == kCurrentDriveRootMarker)
    baseText = currentDriveRoot();
  else
    baseText.assign(base);

  const SplitPath b = split(baseText);
  SplitPath r = split(rel);
  SplitPath out;
  if (r.windows) {
    out = std::move(r);
  } else if (!r.root.empty()) {
    out = std::move(r);
    if (!b.root.empty()) {
      out.root = b.root;
      out.windows = b.windows;
    }
  } else {
    out = b;
    out.parts.insert(out.parts.end(), r.parts.begin(), r.parts.end());
    if (!r.parts.empty()) out.trailingSeparator = r.trailingSeparator;
  }
  normalize(out);
  return fitting(render(out));
}

std::string directoryOf(std::string_view path) {
  const std::size_t start = hasDrive(path) ? 2 : 0;
  std::size_t last = std::string_view::npos;
  for (std::size_t i = start; i < path.size(); ++i) {
    if (isSeparator(path[i])) last = i;
  }
  std::string dir(path.substr(0, last == std::string_view::npos ? start : last + 1));
  const bool windows = hasDrive(path) || isNetworkName(path);
  for (char& c : dir) {
    if (isSeparator(c)) c = windows ? '\\' : '/';
  }
  return dir;
}

std::optional<std::string> relativePathFromFolder(std::string_view folder, std::string_view to) {
  SplitPath from = split(folder);
  SplitPath target = split(to);
  if (from.root.empty() || target.root.empty() || from.windows != target.windows) return std::nullopt;
  const bool ignoreCase = from.windows;
  if (!equalComponents(from.root, target.root, ignoreCase)) return std::nullopt;
  // A target written with a closing separator names a folder, also when its
  // last component is "." or "..": its canonical form keeps the separator, and
  // so does the relative one.
  const bool targetIsFolder = target.trailingSeparator;
  normalize(from);
  normalize(target);

  std::size_t common = 0;
  while (common < from.parts.size() && common < target.parts.size() &&
         equalComponents(from.parts[common], target.parts[common], ignoreCase))
    ++common;

  const char sep = target.separator();
  std::string text;
  const std::size_t climb = from.parts.size() - common;
  if (climb == 0) {
    text = ".";
    text += sep;
  }
  for (std::size_t i = 0; i < climb; ++i) {
    text += "..";
    text += sep;
  }
  for (std::size_t i = common; i < target.parts.size(); ++i) {
    text.append(target.parts[i]);
    text += sep;
  }
  // The target's own trailing separator survives; otherwise the last one goes.
  if (!(targetIsFolder && common < target.parts.size())) text.pop_back();
  return fitting(std::move(text));
}

std::optional<std::string> relativePath(std::string_view fromFile, std::string_view to) {
  return relativePathFromFolder(directoryOf(fromFile), to);
}

bool isWindowsStylePath(std::string_view path) { return hasDrive(path) || isNetworkName(path); }

std::optional<std::string> appendPath(std::string_view path, std::string_view more) {
  // A second part on a drive of its own names its own place: joined, it
  // would give no path at all.
  if (hasDrive(more)) return fitting(std::string(more));
  while (!more.empty() && isSeparator(more.front())) more.remove_prefix(1);
  std::string text(path);
  if (!text.empty() && !isSeparator(text.back()) && !more.empty()) text += isWindowsStylePath(path) ? '\\' : '/';
  text.append(more);
  return fitting(std::move(text));
}

std::string removeFileSpec(std::string_view path) {
  const SplitPath s = split(path);
  std::size_t last = std::string_view::npos;
  for (std::size_t i = 0; i < path.size(); ++i) {
    if (isSeparator(path[i])) last = i;
  }
  if (last == std::string_view::npos) return {};
  // The root's own separator is kept: "c:\x" gives "c:\", "/x" gives "/".
  if (last + 1 <= s.root.size()) return std::string(path.substr(0, s.root.size()));
  return std::string(path.substr(0, last));
}

std::optional<std::string> canonicalizePath(std::string_view path) {
  SplitPath s = split(path);
  normalize(s);
  return fitting(render(s));
}

std::string currentDirectory() { return directoryProvider != nullptr ? directoryProvider() : systemCurrentDirectory(); }

std::string currentDriveRoot() {
  const std::string cwd = currentDirectory();
  const std::string prefix = drivePrefix(cwd);
  return prefix.empty() ? std::string("/") : prefix + '\\';
}

void setCurrentDirectoryProvider(CurrentDirectoryProvider provider) { directoryProvider = provider; }

}  // namespace zem
