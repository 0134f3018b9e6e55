// The fast reader against the table engine: for any input both paths must
// leave the same tree, counters and error record.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <typeinfo>
#include <vector>

#include "load_support.hpp"
#include "model/named_nodes.hpp"
#include "model/values.hpp"
#include "text/file_stream.hpp"
#include "text/zem_parser.hpp"

using namespace zem;

namespace {

class Random {
 public:
  explicit Random(std::uint64_t seed) : state_(seed * 0x9E3779B97F4A7C15ull + 1) {}
  std::uint64_t next() {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 7;
    state_ ^= state_ << 17;
    return state_;
  }
  unsigned below(unsigned n) { return static_cast<unsigned>(next() % n); }
  bool chance(unsigned percent) { return below(100) < percent; }
  template <typename T, std::size_t N>
  const T& pick(const T (&items)[N]) {
    return items[below(N)];
  }
  // One of the blank-separated words of `list`.
  std::string word(std::string_view list) {
    std::vector<std::string_view> words;
    for (std::size_t at = 0, end = 0; at < list.size(); at = end + 1) {
      end = std::min(list.find(' ', at), list.size());
      words.push_back(list.substr(at, end - at));
    }
    return std::string(words[below(static_cast<unsigned>(words.size()))]);
  }

 private:
  std::uint64_t state_;
};

// Everything a loaded tree shows of itself, one line per node.
void dumpNode(CzemNode* node, int depth, std::ostringstream& out) {
  out << std::string(static_cast<std::size_t>(depth), ' ') << typeid(*node).name() << " #" << node->GetInstanceNo()
      << " aux{" << node->auxText() << "}";
  if (auto* named = dynamic_cast<CzemNamedNode*>(node)) {
    out << " name{" << named->name().view() << "} flags " << named->flags() << '\n';
    for (CzemNode* child : named->children()) {
      EXPECT_EQ(child->parent(), named);
      dumpNode(child, depth + 1, out);
    }
    return;
  }
  auto* param = dynamic_cast<CzemParam*>(node);
  ASSERT_NE(param, nullptr);
  out << " value{" << param->valueText().view() << "}";
  if (node->IsNumeric() != 0)
    out << " int " << node->IsInt() << ':' << node->GetInt() << " double " << node->IsDouble() << ':'
        << node->GetDouble() << " float " << node->IsFloat() << ':' << node->GetFloat();
  if (node->IsBool() != 0) out << " bool " << node->GetBool();
  if (node->IsClob() != 0) out << " clob{" << node->GetString() << "}";
  out << '\n';
}

struct Outcome {
  int result = 0;
  std::string tree;
  std::string record;  // error record and counters
  bool fast = false;
  CzemParser::Reader reader = CzemParser::kEngine;
};

Outcome outcomeOf(CzemParser& parser, int keepTokens) {
  Outcome o;
  o.result = parser.parse(keepTokens);
  o.fast = parser.fastPathUsed();
  o.reader = parser.reader();
  // A parse either gives a tree or fails with a message; token texts are kept only when asked for.
  EXPECT_EQ(o.result == 0, parser.root() != nullptr);
  EXPECT_TRUE(o.result == 0 ? !parser.hasError() : !parser.errorMessage().empty());
  EXPECT_TRUE(o.result == 0 || o.result == 1);
  EXPECT_TRUE(keepTokens != 0 || parser.tokenTexts() == 0);
  std::ostringstream record, tree;
  record << "result " << o.result << " error{" << parser.errorMessage() << "} at " << parser.errorLine() << ':'
         << parser.errorPosition() << " chars " << parser.input().characters() << " lines " << parser.input().line()
         << " column " << parser.input().column() << " comments " << parser.comments() << " texts "
         << parser.tokenTexts() << " mode " << parser.mode();
  o.record = record.str();
  if (parser.root() != nullptr) dumpNode(parser.root(), 0, tree);
  o.tree = tree.str();
  return o;
}

// Parses with the engine alone and with the fast reader where it can take the input, and expects
// the same outcome; returns the fast reader's.
Outcome bothWays(CyyInput* exactInput, CyyInput* fastInput, int keepTokens = 1) {
  Reports quiet;
  CzemParser exact(exactInput, CzemParser::kEngineOnly), fast(fastInput);
  const Outcome a = outcomeOf(exact, keepTokens), b = outcomeOf(fast, keepTokens);
  EXPECT_FALSE(a.fast);
  EXPECT_EQ(a.record, b.record);
  EXPECT_EQ(a.tree, b.tree);
  // Only a parse that succeeds may be the fast reader's.
  EXPECT_TRUE(!b.fast || b.result == 0);
  return b;
}

struct Tally {
  int fast = 0, engine = 0;
};

// Parses `text` both ways from windows of `window` characters; returns whether the fast reader took it.
bool expectSameFromMemory(const std::string& text, std::size_t window, Tally* tally = nullptr, int keepTokens = 1) {
  SCOPED_TRACE("window " + std::to_string(window) + " text:\n" + text);
  const bool fast =
      bothWays(new zem_test::MemoryInput(text, window), new zem_test::MemoryInput(text, window), keepTokens).fast;
  if (tally != nullptr) ++(fast ? tally->fast : tally->engine);
  return fast;
}

// The same from a file read in blocks of `block` bytes; returns which reader took it, or nullopt
// when the fast reader left a file the engine accepts.
std::optional<CzemParser::Reader> readersOfFile(const std::string& path, std::size_t block = CyyStream::kBlockSize) {
  SCOPED_TRACE(path + " in blocks of " + std::to_string(block) + ":\n" + readFile(path));
  const Outcome b = bothWays(new CyyStream(path.c_str()), new CyyStream(path.c_str(), block));
  if (b.fast != (b.result == 0)) return std::nullopt;
  return b.reader;
}

// Writes random parameter files that use every construct of the format: data files repeat names,
// template files mark names with "()". Line ends (also those in texts) follow the file's kind.
class FileMaker {
 public:
  FileMaker(Random& random, bool crlf, bool templateFile) : random_(random), crlf_(crlf), template_(templateFile) {}

  std::string make(int sections, int maxDepth) {
    out_.clear();
    if (random_.chance(50)) out_ += "// written by a test\n";
    for (int i = 0; i < sections; ++i) section(1, maxDepth);
    if (random_.chance(30)) gap();
    std::string text;
    for (char c : out_) text += c == '\n' && crlf_ ? "\r\n" : std::string(1, c);
    return text;
  }

 private:
  void gap() {
    // A lone carriage return is a blank.
    static const char* const kGaps[] = {
        " ; note\n", " // note;\n", " /* a /* nested */ comment */ ", "/*\nover lines\n*/", "\n", "\t \v\f",
        " \r ",      ";\n"};
    out_ += random_.chance(33) ? " " : random_.pick(kGaps);
  }
  void name(std::string_view names) {
    out_ += random_.word(names);
    // A template file may not repeat a name.
    if (template_) out_ += std::to_string(++serial_);
    if (template_ && random_.chance(30)) out_ += random_.chance(50) ? "()" : " ( ) ";
  }
  void section(int depth, int maxDepth) {
    out_ += '[';
    if (random_.chance(10)) gap();
    name("Setup Grid grid Zone Item a_1b X");
    out_ += ']';
    if (random_.chance(10)) out_ += random_.chance(50) ? "{section note}" : " {note\nover lines}";
    out_ += '\n';
    for (unsigned i = random_.below(7); i > 0; --i) {
      if (random_.chance(15)) gap();
      if (depth < maxDepth && random_.chance(25))
        section(depth + 1, maxDepth);
      else
        line();
    }
    out_ += random_.chance(80) ? "EndSect" : random_.chance(50) ? "ENDSECT" : "endSect";
    out_ += random_.chance(50) ? "  // name\n" : "\n";
  }
  void line() {
    if (random_.chance(12)) {
      out_ += random_.chance(70) ? "default" : "Default";
      out_ += random_.chance(50) ? "()" : "(Count)";
      if (random_.chance(10)) out_ += "{default note}";
    } else if (template_ && random_.chance(5)) {
      out_ += "()";
    } else {
      name("Name name Count Values k File Id2 x_y");
      if (random_.chance(8)) out_ += " {keyword note}";
    }
    out_ += " = ";
    for (unsigned i = 0, count = random_.below(6); i <= count; ++i) {
      if (i > 0) out_ += random_.chance(85) ? ", " : ",\n      ";
      if (i > 0 && random_.chance(5)) gap();
      if (!random_.chance(10)) value();
    }
    out_ += '\n';
  }
  void value() {
    static const char* const kSigns[] = {"-", "+", "- ", "+ /*c*/ ", "", ""};
    static const char* const kSpaced[] = {"'/* no */'", "#2024-01-02 12:00:00#", "|../a b/c.txt|", "% name"};
    const unsigned kind = random_.below(12);
    if (kind < 3) {
      out_ += random_.pick(kSigns);
      out_ += random_.word(random_.below(300) == 0 ? "1e-320 4.9e-324 1e999 2e308"
                                                   : "0 7 12 2147483647 2147483648 9999999999 2.5 .5 12. 1e5 1E+5 "
                                                     "1.5e-3 000 00012 3.25 1e300 0.1 2.2250738585072014e-308 "
                                                     "1234567890123456789.5 6.02214076e23 1.7976931348623157e308");
    } else if (kind < 9) {
      out_ += random_.chance(25) ? random_.pick(kSpaced)
                                 : random_.word(
                                       "true FALSE True True 'plain' 'it''s' '' 'two\nlines' 'a;b' '{x}' '\r' "
                                       "'<clob:>' '<CLOB:1,2.5,\"a\">' ## |.\\data\\in.dat| %3");
    } else if (kind == 9) {
      // A braced text alone takes no second one.
      out_ += random_.chance(50) ? "{only a note}" : "{note\n}";
      return;
    } else {
      out_ += std::to_string(random_.below(100000));
    }
    if (random_.chance(8)) out_ += random_.chance(50) ? " {unit}" : "{m/s}";
  }

  Random& random_;
  bool crlf_, template_;
  unsigned serial_ = 0;
  std::string out_;
};

std::string mutate(std::string text, Random& random) {
  static const char kNoise[] = "[](){}=,+-%#|';/*\r\n\0 aE9._";
  for (unsigned edits = 1 + random.below(3); edits > 0; --edits) {
    const std::size_t at = random.below(static_cast<unsigned>(text.size() + 1));
    const char c = kNoise[random.below(sizeof kNoise - 1)];
    const unsigned how = random.below(3);
    if (how == 1)
      text.insert(at, 1, c);
    else if (at < text.size() && how == 0)
      text[at] = c;
    else if (at < text.size())
      text.erase(at, 1);
  }
  return text;
}

}  // namespace

TEST(ParseFastPath, ShippedFilesReadTheSameBothWays) {
  std::vector<std::filesystem::path> files;
  for (const char* folder : {ZEM_TEST_DATA "/corpus", ZEM_TEST_DATA "/golden", ZEM_TEST_DATA "/parse"})
    for (const auto& entry : std::filesystem::directory_iterator(folder)) files.push_back(entry.path());
  const std::filesystem::path examples = std::filesystem::path(ZEM_TEST_DATA) / ".." / ".." / "examples";
  if (std::filesystem::exists(examples))
    for (const auto& entry : std::filesystem::recursive_directory_iterator(examples))
      if (entry.is_regular_file()) files.push_back(entry.path());
  ASSERT_GT(files.size(), 6u);
  for (const auto& path : files) {
    SCOPED_TRACE(path.string());
    EXPECT_TRUE(readersOfFile(path.string()).has_value());
    const std::string text = readFile(path);
    for (std::size_t window : {1, 2, 5, 64, 1 << 20}) expectSameFromMemory(text, window);
  }
}

TEST(ParseFastPath, GeneratedFilesReadTheSameBothWays) {
  Random random(7);
  Tally tally;
  for (int round = 0; round < 120; ++round) {
    FileMaker maker(random, round % 2 == 0, round % 3 == 0);
    const std::string text = maker.make(1 + static_cast<int>(random.below(5)), 1 + static_cast<int>(random.below(6)));
    expectSameFromMemory(text, 1 + random.below(9), &tally);
    expectSameFromMemory(text, 1 << 16, &tally);
    // A real file reads CR LF pairs as one newline.
    EXPECT_TRUE(round % 10 != 0 || readersOfFile(zem_test::writeTempFile("fast_generated.txt", text)).has_value());
  }
  // Numbers out of range fail a few generated files; the rest is the fast reader's.
  EXPECT_GT(tally.fast, 4 * tally.engine);
}

TEST(ParseFastPath, DamagedFilesReadTheSameBothWays) {
  Random random(11);
  Tally tally;
  for (int round = 0; round < 1500; ++round) {
    FileMaker maker(random, round % 2 == 0, round % 4 == 0);
    const std::string text = mutate(maker.make(1 + static_cast<int>(random.below(3)), 3), random);
    expectSameFromMemory(text, round % 5 == 0 ? 1 + random.below(6) : 1 << 16, &tally, round % 2);
    if (::testing::Test::HasFailure()) break;
  }
  EXPECT_GT(tally.fast, 100);
  EXPECT_GT(tally.engine, 100);
}

TEST(ParseFastPath, EdgesOfTheFormatReadTheSameBothWays) {
  using namespace std::string_literals;
  // clang-format off
  const std::string cases[] = {"", "   ; only a comment\n// and another\n/* and /* a nested */ one */",
      "[A] EndSect [A] EndSect [B()] EndSect", "[T()] EndSect [X] k = 1 k = 2 EndSect", "[A] x = 1e999 EndSect",
      "[A] x = 1", "[A] EndSect 'abc", "[A] x = - 5, +2.5e3, -.5, + /**/ 7 EndSect", "[A] x = 1, , 2, EndSect",
      "[A] k = 1, b = 2 EndSect", "[A] default() = 1, , default(k) = , EndSect", "[A] () = 1 EndSect",
      "[A] x = 1 2 EndSect", "[A] x = {a}{b} EndSect", "[A] true = 1 EndSect", "[A] x = %y, %3, %'z' EndSect",
      "[A] x = 'a''b', 'c\nd', '''' EndSect", "[A] x = #no end\n# EndSect", "[A] x = |no end\n| EndSect",
      "[A] x = {a\r\nb} EndSect", "[A] x = 1. EndSect", "[A] x = 1e EndSect", "[A] x = 1e+ EndSect",
      "[A] x = . EndSect", "[A] x = 1.5.3 EndSect", "[A] x = 1 /* open", "[A] x = 'it\0s' EndSect"s,
      "[A] x = 1 \0 EndSect"s, "[A] _x = 1 EndSect", "[A]\r\r\nx = 1\r\nEndSect\r",
      "[SYSTEM] ResultRootFolder = |out| EndSect"};
  // clang-format on
  for (const std::string& text : cases) {
    for (std::size_t window : {1, 3, 1 << 16}) expectSameFromMemory(text, window);
    readersOfFile(zem_test::writeTempFile("fast_edge.txt", text));
  }
  EXPECT_FALSE(expectSameFromMemory("[A] x = 1 \0 EndSect"s, 64));
}

TEST(ParseFastPath, DeepNestingIsLeftToTheEngineNearItsLimit) {
  EXPECT_TRUE(expectSameFromMemory(zem_test::nested(100, "k = +1\n"), 4096));
  for (int levels : {139, 140, 141, 143, 144, 145, 146}) {
    SCOPED_TRACE(levels);
    expectSameFromMemory(zem_test::nested(levels, "k = +1\n"), 4096);
    expectSameFromMemory(zem_test::nested(levels, "default(k) = -1\n"), 4096);
    expectSameFromMemory(zem_test::nested(levels, "[I()]\nEndSect\n"), 4096);
  }
}

TEST(ParseFastPath, ASourceThatCannotStartOverUsesTheEngine) {
  CzemParser parser(new zem_test::MemoryInput("[A] x = 1 EndSect", 8, false));
  EXPECT_EQ(parser.parse(0), 0);
  EXPECT_FALSE(parser.fastPathUsed());
  ASSERT_NE(parser.root(), nullptr);
  EXPECT_EQ(parser.root()->GetNoSections(), 1);
}

TEST(ParseFastPath, FilesReadWithTheirLineEndsKept) {
  Random random(23);
  int kept = 0;
  for (int round = 0; round < 80; ++round) {
    FileMaker maker(random, round % 4 != 0, round % 3 == 0);
    std::string text = maker.make(1 + static_cast<int>(random.below(4)), 1 + static_cast<int>(random.below(4)));
    if (round % 5 == 1) text = mutate(text, random);
    const std::string path = zem_test::writeTempFile("fast_kept.txt", text);
    // Lines longer than a block leave the reading to the text mode.
    for (std::size_t block : {2, 7, 16, 100}) EXPECT_TRUE(readersOfFile(path, block).has_value()) << text;
    const auto reader = readersOfFile(path);
    EXPECT_TRUE(reader.has_value()) << text;
    kept += reader == CzemParser::kFastReaderKeepingLineEnds ? 1 : 0;
  }
  // All but the damaged files.
  EXPECT_GT(kept, 60);
  // Carriage returns alone, doubled, at the end, and pairs in texts and comments.
  // clang-format off
  const char* const cases[] = {"[A]\r\r\nk = 1\r\nEndSect\r", "[A]\rk = 1\r\nEndSect\r\n\r\n", "[A] k = 'a\r\nb' EndSect",
      "[A] k = {a\r\nb} EndSect\r\n", "[A] ; x\r\n k = 1 // y\r\r\nEndSect", "[A] /* x\r\n */ k = 1 EndSect",
      "[A] k = #x\r\n# EndSect", "\r\n\r\n", "[A] k = 1\r\nEndSect ; end\r"};
  // clang-format on
  for (const char* text : cases) {
    const std::string path = zem_test::writeTempFile("fast_kept_edge.txt", text);
    for (std::size_t block : {1, 3, 8, 1 << 20}) EXPECT_TRUE(readersOfFile(path, block).has_value()) << text;
  }
}
