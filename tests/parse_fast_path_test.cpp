// The fast reader against the table engine: for any input both paths must
// leave the same tree, counters and error record.

#include <map>
#include <optional>
#include <random>
#include <string_view>
#include <typeinfo>

#include "test_support.hpp"
#include "text/file_stream.hpp"
#include "text/zem_parser.hpp"

using namespace zem;

namespace {

struct Random : std::mt19937_64 {
  using std::mt19937_64::mt19937_64;
  unsigned below(unsigned n) { return static_cast<unsigned>((*this)() % n); }
  // One of the '@'-parted words of `list`.
  std::string pick(std::string_view list) {
    std::vector<std::string_view> words;
    for (std::size_t at = 0, end = 0; at <= list.size(); at = end + 1) {
      end = std::min(list.find('@', at), list.size());
      words.push_back(list.substr(at, end - at));
    }
    return std::string(words[below(static_cast<unsigned>(words.size()))]);
  }
};

// Everything a loaded tree shows of itself, one line per node.
void dumpNode(CzemNode* node, int depth, std::ostringstream& out) {
  out << std::string(static_cast<std::size_t>(depth), ' ') << typeid(*node).name() << " #" << node->GetInstanceNo()
      << " aux{" << node->auxText() << "}";
  if (auto* named = dynamic_cast<CzemNamedNode*>(node)) {
    out << " name{" << named->name().view() << "} flags " << named->flags();
    if (const SourceSpan at = named->sourceSpan(); at.start.line != 0)
      out << " at " << at.start.line << ':' << at.start.column << '-' << at.end.line << ':' << at.end.column;
    out << '\n';
    for (CzemNode* child : named->children()) {
      EXPECT_EQ(child->parent(), named);
      dumpNode(child, depth + 1, out);
    }
    return;
  }
  out << " value{" << dynamic_cast<CzemParam&>(*node).valueText().view() << "}";
  if (node->IsNumeric() != 0)
    out << " int " << node->IsInt() << ':' << node->GetInt() << " double " << node->IsDouble() << ':' << std::hexfloat
        << node->GetDouble() << " float " << node->IsFloat() << ':' << node->GetFloat() << std::defaultfloat;
  if (node->IsBool() != 0) out << " bool " << node->GetBool();
  if (node->IsClob() != 0) out << " clob{" << node->GetString() << "}";
  out << '\n';
}

struct Outcome {
  std::string shown;  // result, error record, counters and tree
  bool fast, ok;
  CzemParser::Reader reader;
};

Outcome outcomeOf(CzemParser& parser, int keepTokens) {
  const int result = parser.parse(keepTokens);
  // A parse either gives a tree or fails with a message; token texts are kept only when asked for.
  EXPECT_EQ(result == 0, parser.root() != nullptr);
  EXPECT_TRUE(result == 0 ? !parser.hasError() : !parser.errorMessage().empty());
  EXPECT_TRUE(result == 0 || result == 1);
  EXPECT_TRUE(keepTokens != 0 || parser.tokenTexts() == 0);
  std::ostringstream out;
  out << "result " << result << " error{" << parser.errorMessage() << "} at " << parser.errorLine() << ':'
      << parser.errorPosition() << " chars " << parser.input().characters() << " lines " << parser.input().line()
      << " column " << parser.input().column() << " comments " << parser.comments() << " texts " << parser.tokenTexts()
      << " mode " << parser.mode() << '\n';
  if (parser.root() != nullptr) dumpNode(parser.root(), 0, out);
  return {out.str(), parser.fastPathUsed(), result == 0, parser.reader()};
}

// Parses with the engine alone and with the fast reader where it can take the input, and expects
// the same outcome; returns the fast reader's.
Outcome bothWays(CyyInput* exactInput, CyyInput* fastInput, int keepTokens = 1) {
  Reports quiet;
  CzemParser exact(exactInput, CzemParser::kEngineOnly), fast(fastInput);
  const Outcome a = outcomeOf(exact, keepTokens), b = outcomeOf(fast, keepTokens);
  EXPECT_FALSE(a.fast);
  EXPECT_EQ(a.shown, b.shown);
  // Only a parse that succeeds may be the fast reader's.
  EXPECT_TRUE(!b.fast || b.ok);
  return b;
}

// Parses `text` both ways from windows of `window` characters and counts in `tally` (engine, fast)
// which reader took it.
bool sameFromMemory(const std::string& text, std::size_t window, int* tally = nullptr, int keepTokens = 1) {
  SCOPED_TRACE("window " + std::to_string(window) + " text:\n" + text);
  const bool fast =
      bothWays(new zem_test::MemoryInput(text, window), new zem_test::MemoryInput(text, window), keepTokens).fast;
  if (tally != nullptr) ++tally[fast];
  return fast;
}

// The same from a file read in blocks of `block` bytes; returns which reader took it, or nullopt
// when the fast reader left a file the engine accepts.
std::optional<CzemParser::Reader> readersOfFile(const std::string& path, std::size_t block = CyyStream::kBlockSize) {
  SCOPED_TRACE(path + " in blocks of " + std::to_string(block) + ":\n" + readFile(path));
  const Outcome b = bothWays(new CyyStream(path.c_str()), new CyyStream(path.c_str(), block));
  if (b.fast != b.ok) return std::nullopt;
  return b.reader;
}

// A grammar of random parameter files using every construct of the format: `$X` stands for one of the
// '@'-parted alternatives of rule X. Data files repeat names, template files number them and may mark
// them with "()" ($#). Line ends (also those in texts) follow the file's kind.
const std::map<char, std::string_view> kGrammar = {
    {'F', "$S@$S$S@$S$S$S@// written by a test\n$S$S@$S$S$G@$S$S$S$S"},
    {'S', "[$N]$O\n$B$E@[$N]$O\n$B$E@[$N]$O\n$B$E@[$N]$O\n$B$E@[$G$N]$O\n$B$E"},
    {'O', "@@@@@@@@{section note}@ {note\nover lines}"},
    {'B', "@$L$B@$L$B@$L$B@$G$L$B@$S$B"},
    {'E', "EndSect\n@EndSect  // name\n@EndSect\n@EndSect  // name\n@ENDSECT\n@endSect  // name\n"},
    {'L', "$K = $V$W\n"},
    {'K', "$n@$n@$n@$n@$n@$n {keyword note}@$D"},
    {'D', "default()@Default(Count)@default(Count){default note}@Default(Count)"},
    {'N', "Setup$#@Grid$#@grid$#@Zone$#@Item$#@a_1b$#@X$#"},
    {'n', "Name$#@name$#@Count$#@Values$#@k$#@File$#@Id2$#@x_y$#"},
    {'W', "@@, $V$W@, $V$W@, $V$W@,\n      $V$W@, $G$V$W"},
    {'V', "$A@$A@$A@$A@$A@$A@$A {unit}@$A{m/s}@{only a note}@{note\n}@"},  // a braced text alone takes no second one
    {'A', "$P$R@$P$R@$P$R@$X@$X@$X@$X@$X@$I"},
    {'P', "-@+@- @+ /*c*/ @@"},
    {'R',
     "0@7@12@2147483647@2147483648@9999999999@2.5@.5@12.@1e5@1E+5@1.5e-3@000@00012@3.25@1e300@0.1@"
     "2.2250738585072014e-308@1234567890123456789.5@6.02214076e23@1.7976931348623157e308@"
     // Digit runs of every length around the word size and the exact mantissa.
     "$I.$I@$I$I$I.$I$I$I$I@$9.$I$I$I$I$I@$I$I$I$I$I$I@9007199254740993.@90071992547409.93@0$I.0$I$I$I$I"},
    {'X',
     "true@FALSE@True@'plain'@'it''s'@''@'two\nlines'@'a;b'@'{x}'@'\r'@'<clob:>'@'<CLOB:1,2.5,\"a\">'@##@"
     "|.\\data\\in.dat|@%3@'/* no */'@#2024-01-02 12:00:00#@|../a b/c.txt|@% name"},
    {'I', "$9@$9$9$9@$9$9$9$9$9"},
    {'9', "0@1@2@3@4@5@6@7@8@9"},
    // A lone carriage return is a blank.
    {'G', " @ @ ; note\n@ // note;\n@ /* a /* nested */ comment */ @/*\nover lines\n*/@\n@\t \v\f@ \r @;\n"}};

struct FileMaker {
  Random& random;
  bool crlf, templateFile;
  int maxDepth, depth = 0;
  unsigned serial = 0;

  std::string expand(char rule) {
    if (rule == '#') return templateFile ? std::to_string(++serial) + random.pick("@@@@@()@ ( ) ") : "";
    if (rule == 'S' && depth >= maxDepth) rule = 'L';
    depth += rule == 'S';
    const std::string alternative = random.pick(kGrammar.at(rule));
    std::string out;
    for (std::size_t i = 0; i < alternative.size(); ++i)
      out += alternative[i] == '$' ? expand(alternative[++i]) : std::string(1, alternative[i]);
    depth -= rule == 'S';
    return out;
  }
  std::string make() {
    std::string text;
    for (char c : expand('F')) text += c == '\n' && crlf ? "\r\n" : std::string(1, c);
    return text;
  }
};

std::string mutate(std::string text, Random& random) {
  static const char kNoise[] = "[](){}=,+-%#|';/*\r\n\0 aE9._";
  for (unsigned edits = 1 + random.below(3); edits > 0; --edits) {
    const std::size_t at = random.below(static_cast<unsigned>(text.size() + 1));
    const char c = kNoise[random.below(sizeof kNoise - 1)];
    const unsigned how = random.below(3);
    text.replace(at, how == 1 ? 0 : 1, how == 2 ? 0 : 1, c);  // overwrites, inserts or erases
  }
  return text;
}

}  // namespace

TEST(ParseFastPath, GeneratedAndDamagedFilesReadTheSameBothWays) {
  Random random(7);
  int tally[2] = {0, 0}, kept = 0;
  for (int round = 0; round < 120; ++round) {
    const std::string text =
        FileMaker{random, round % 2 == 0, round % 3 == 0, 1 + static_cast<int>(random.below(6))}.make();
    sameFromMemory(text, 1 + random.below(9), tally);
    sameFromMemory(text, 1 << 16, tally);
    // A real file reads CR LF pairs as one newline; lines longer than a block leave the reading to the text mode.
    const std::string path = zem_test::writeTempFile("fast_generated.txt", text);
    for (std::size_t block : {2, 7, 16, 100}) EXPECT_TRUE(readersOfFile(path, block).has_value()) << text;
    const auto reader = readersOfFile(path);
    EXPECT_TRUE(reader.has_value()) << text;
    kept += reader == CzemParser::kFastReaderKeepingLineEnds ? 1 : 0;
  }
  EXPECT_GT(tally[1], 4 * tally[0]);
  EXPECT_GT(kept, 110);
  int damaged[2] = {0, 0};
  for (int round = 0; round < 1500 && !::testing::Test::HasFailure(); ++round) {
    const std::string text = mutate(FileMaker{random, round % 2 == 0, round % 4 == 0, 3}.make(), random);
    sameFromMemory(text, round % 5 == 0 ? 1 + random.below(6) : 1 << 16, damaged, round % 2);
    if (round % 20 != 0) continue;
    for (std::size_t block : {2, 16, 4096})
      EXPECT_TRUE(readersOfFile(zem_test::writeTempFile("fast_damaged.txt", text), block).has_value()) << text;
  }
  EXPECT_GT(damaged[0], 100);
  EXPECT_GT(damaged[1], 100);
}

TEST(ParseFastPath, DeepNestingIsLeftToTheEngineNearItsLimit) {
  EXPECT_TRUE(sameFromMemory(zem_test::nested(100, "k = +1\n"), 4096));
  for (int levels : {139, 140, 141, 143, 144, 145, 146})
    for (const char* body : {"k = +1\n", "default(k) = -1\n", "[I()]\nEndSect\n"})
      sameFromMemory(zem_test::nested(levels, body), 4096);
}

TEST(ParseFastPath, ASourceThatCannotStartOverUsesTheEngine) {
  CzemParser parser(new zem_test::MemoryInput("[A] x = 1 EndSect", 8, false));
  EXPECT_EQ(parser.parse(0), 0);
  EXPECT_FALSE(parser.fastPathUsed());
  ASSERT_NE(parser.root(), nullptr);
  EXPECT_EQ(parser.root()->GetNoSections(), 1);
}

TEST(ParseFastPath, CarriageReturnsReadTheSameFromFiles) {
  // Carriage returns alone, doubled, at the end, and pairs in texts and comments.
  // clang-format off
  for (const char* text : {"[A]\r\r\nk = 1\r\nEndSect\r", "[A]\rk = 1\r\nEndSect\r\n\r\n", "[A] k = 'a\r\nb' EndSect",
      "[A] k = {a\r\nb} EndSect\r\n", "[A] ; x\r\n k = 1 // y\r\r\nEndSect", "[A] /* x\r\n */ k = 1 EndSect",
      "[A] k = #x\r\n# EndSect", "\r\n\r\n", "[A] k = 1\r\nEndSect ; end\r"})
    // clang-format on
    for (std::size_t block : {1, 3, 8, 1 << 20})
      EXPECT_TRUE(readersOfFile(zem_test::writeTempFile("fast_kept_edge.txt", text), block).has_value()) << text;
}
