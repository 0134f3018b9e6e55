#include "frame/writable.hpp"

#include <array>

namespace zem {
namespace {

constexpr bool isLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
constexpr bool isWordChar(char c) { return isLetter(c) || (c >= '0' && c <= '9') || c == '_'; }

bool equalsFolded(std::string_view name, std::string_view word) {
  if (name.size() != word.size()) return false;
  for (std::size_t i = 0; i < name.size(); ++i) {
    char c = name[i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + ('a' - 'A'));
    if (c != word[i]) return false;
  }
  return true;
}

}  // namespace

bool isReadableName(std::string_view name) {
  if (name.empty() || !isLetter(name.front())) return false;
  for (char c : name)
    if (!isWordChar(c)) return false;
  static constexpr std::array<std::string_view, 4> kWords = {"true", "false", "endsect", "default"};
  for (std::string_view word : kWords)
    if (equalsFolded(name, word)) return false;
  return true;
}

}  // namespace zem
