// The loader and the token reader read the same sections, keywords and values
// from every file that holds only what the token reader knows.
#include <strings.h>

#include <map>
#include <random>

#include "test_support.hpp"

namespace {

// The tokens the reader should give for a loaded tree, as "code:text"; false
// when the tree holds a value kind the reader does not know.
bool expectedTokens(void* node, std::vector<std::string>& out) {
  for (int i = 1, n = zemGetNoNodes(node); i <= n; ++i) {
    void* child = zemNodeByNum(node, static_cast<unsigned>(i));
    if (zemIsSection(child) != 0) {
      out.push_back(std::string("100:") + zemGetName(child));
      if (!expectedTokens(child, out)) return false;
      out.push_back("101:");
    } else if (zemIsKeyword(child) != 0) {
      out.push_back(std::string("200:") + zemGetName(child));
      if (zemGetNoParams(child) == 0) out.push_back("1000:");
      for (int p = 1, values = zemGetNoParams(child); p <= values; ++p) {
        void* value = zemNodeByNum(child, static_cast<unsigned>(p));
        const std::string text = zemGetValueText(value);
        // Value classes: 5 CLOB, 6 integer, 7 real, 9 string, 10 file name or date-time, 15 empty place.
        static const std::map<int, const char*> kCodes = {{5, "1030:"}, {6, "1020:"},  {7, "1021:"},
                                                          {9, "1030:"}, {10, "1200:"}, {15, "1000:"}};
        const int kind = zemGetSyntaxClass(value);
        if (kind == 8 && (text == "true" || text == "false")) {
          out.push_back(text == "true" ? "1010:" : "1011:");
        } else if (kCodes.contains(kind) && (kind != 10 || zemIsFilename(value) != 0)) {
          out.push_back(kCodes.at(kind) + text);
        } else {
          return false;
        }
      }
    } else {
      return false;  // a default line
    }
  }
  return true;
}

std::vector<std::string> readTokens(const std::string& file) {
  std::vector<std::string> out;
  CzemTokenReader* reader = nullptr;
  if (zemtLoadFile(file.c_str(), &reader) != 0) return {"not opened"};
  for (int code; (code = zemtNextToken(reader)) != 0;) {
    std::string text = zemtGetTokenString(reader);
    // The loader keeps a CLOB's items without their "<CLOB:" ... ">" frame.
    if (code == 1030 && text.size() >= 7 && strncasecmp(text.c_str(), "<clob:", 6) == 0 && text.back() == '>')
      text = text.substr(6, text.size() - 7);
    out.push_back(std::to_string(code) + ":" + text);
    if (code < 0) out.back() += zemtGetError(reader, nullptr, nullptr);
  }
  zemtDispose(&reader);
  return out;
}

// Template markers and default lines hold parentheses; the loader's block comments nest.
bool readerKnowsTheSyntax(const std::string& text) {
  const std::size_t open = text.find("/*");
  return text.find('(') == std::string::npos &&
         (open == std::string::npos || text.find("/*", open + 2) > text.find("*/", open + 2));
}

// Compares the two readings of `file`; false when the file is no valid file of the reader's kinds.
bool compare(const std::string& file) {
  if (!readerKnowsTheSyntax(readFile(file))) return false;
  void* handle = zemLoadFile(file.c_str(), 1);
  std::vector<std::string> expected;
  const bool known = zemGetErrorGlb() == 0 && expectedTokens(zemGetRoot(handle), expected);
  zemClose(&handle);
  if (known) {
    EXPECT_EQ(readTokens(file), expected) << file;
  }
  return known;
}

}  // namespace

TEST(TokenReaderDifferential, EveryValidFileOfTheTestsAndExamplesReadsAlike) {
  int compared = 0;
  for (const char* folder : {ZEM_TEST_DATA, ZEM_TEST_DATA "/../../examples"}) {
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder))
      if (entry.is_regular_file() && entry.path().extension() == ".txt") compared += compare(entry.path().string());
  }
  EXPECT_GE(compared, 2);
}

using AddValue = void (*)(void*, unsigned);
constexpr AddValue kAddValue[] = {
    [](void* h, unsigned r) { zemAddInt(h, static_cast<int>(r >> 1) - (1 << 30)); },
    [](void* h, unsigned r) { zemAddDouble(h, r / 7e3 - 1e5); },
    [](void* h, unsigned r) { zemAddBool(h, static_cast<int>(r % 2)); },
    [](void* h, unsigned r) { zemAddString(h, r % 2 ? "it's, a 'text'" : ""); },
    [](void* h, unsigned) { zemAddFilename(h, "data/in.txt"); },
    [](void* h, unsigned) { zemAddUndefinedPar(h); },
};

// Written files: the writer's header, indentation, CR LF line ends and EndSect comments.
TEST(TokenReaderDifferential, RandomWrittenTreesReadAlike) {
  std::mt19937 random(12);
  const auto file = scratchDir() / "written.txt";
  for (int round = 0; round < 20; ++round) {
    void* handle = zemCreate();
    int depth = 0;
    for (int step = 0; step < 60; ++step) {
      const unsigned pick = random() % 10;
      if (depth == 0 || pick == 0) {
        (depth == 0 ? zemAddTarget : zemAddSection)(handle, ("S" + std::to_string(random() % 4)).c_str());
        ++depth;
      } else if (pick == 1) {
        zemEndSection(handle);
        --depth;
      } else {
        zemAddKeyword(handle, ("k_" + std::to_string(random() % 9)).c_str());
        for (unsigned v = random() % 4; v > 0; --v) kAddValue[random() % 6](handle, static_cast<unsigned>(random()));
      }
    }
    zemWrite(handle, file.string().c_str());
    zemClose(&handle);
    ASSERT_EQ(zemGetErrorGlb(), 0);
    ASSERT_TRUE(compare(file.string())) << round;
  }
}
