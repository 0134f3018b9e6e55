// The loader and the token reader read the same sections, keywords and values from every file
// that holds only what the token reader knows, and again once the writer has written it.
#include <strings.h>

#include "test_support.hpp"

namespace {

// The tokens the reader should give for a loaded tree, as "code:text"; false when the tree holds
// a default line or a value kind the reader does not know.
bool expectedTokens(void* node, std::vector<std::string>& out) {
  for (int i = 1, n = zemGetNoNodes(node); i <= n; ++i) {
    void* child = zemNodeByNum(node, static_cast<unsigned>(i));
    if (zemIsSection(child) != 0) {
      out.push_back(std::string("100:") + zemGetName(child));
      if (!expectedTokens(child, out)) return false;
      out.push_back("101:");
      continue;
    }
    if (zemIsKeyword(child) == 0) return false;
    out.push_back(std::string("200:") + zemGetName(child));
    if (zemGetNoParams(child) == 0) out.push_back("1000:");
    for (int p = 1, values = zemGetNoParams(child); p <= values; ++p) {
      void* value = zemNodeByNum(child, static_cast<unsigned>(p));
      const std::string text = zemGetValueText(value);
      // Value classes: 5 CLOB, 6 integer, 7 real, 8 word, 9 string, 10 file name or date-time, 15 empty place.
      const int kind = zemGetSyntaxClass(value);
      const char* code = kind == 5 || kind == 9               ? "1030:"
                         : kind == 6                          ? "1020:"
                         : kind == 7                          ? "1021:"
                         : kind == 15                         ? "1000:"
                         : kind == 10 && zemIsFilename(value) ? "1200:"
                         : kind == 8 && text == "true"        ? "1010:"
                         : kind == 8 && text == "false"       ? "1011:"
                                                              : nullptr;
      if (code == nullptr) return false;
      out.push_back(code + (kind == 8 ? std::string() : text));
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

// Compares the two readings of `file` and writes the loaded tree to `written`; false when the file is no valid file of
// the reader's kinds. Template markers and default lines hold parentheses; the loader's block comments nest.
bool compare(const std::string& file, const std::string& written = "") {
  const std::string text = readFile(file);
  const std::size_t open = text.find("/*");
  if (text.find('(') != std::string::npos ||
      (open != std::string::npos && text.find("/*", open + 2) < text.find("*/", open + 2)))
    return false;
  Handle handle = zemLoadFile(file.c_str(), 1);
  std::vector<std::string> expected;
  const bool known = zemGetErrorGlb() == 0 && expectedTokens(zemGetRoot(handle), expected);
  if (known) {
    EXPECT_EQ(readTokens(file), expected) << file;
  }
  if (known && !written.empty()) zemWrite(handle, written.c_str());
  EXPECT_EQ(zemGetErrorGlb(), 0) << file;
  return known;
}

}  // namespace

// Written again, with the writer's header, indentation, CR LF line ends and EndSect comments.
TEST(TokenReaderDifferential, EveryValidFileOfTheTestsAndExamplesReadsAlikeAlsoWhenWritten) {
  const std::string written = (scratchDir() / "written.txt").string();
  int compared = 0;
  for (const char* folder : {ZEM_TEST_DATA, ZEM_TEST_DATA "/../../examples"}) {
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder))
      if (entry.is_regular_file() && entry.path().extension() == ".txt" && compare(entry.path().string(), written)) {
        EXPECT_TRUE(compare(written)) << entry.path();
        ++compared;
      }
  }
  EXPECT_GE(compared, 2);
}
