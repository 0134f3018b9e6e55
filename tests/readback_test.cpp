// Whatever the library holds, built, edited or loaded, is written so that it reads back the same; what
// cannot be (infinite and NaN numbers, names outside the reader's words, file names with a bar or line end)
// is refused and leaves the tree as it was. A CR LF inside a text is written CR CR LF (the reader drops one
// CR before each LF); a text with a NUL byte is written whole; a braced note alone is written in braces.
#include <fcntl.h>
#include <sys/stat.h>

#include <cfloat>
#include <cstring>
#include <functional>
#include <limits>

#include "test_support.hpp"
#include "zem/zem.hpp"

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

void* firstValue(void* handle, unsigned n) { return zemParamByNum(zemKeywordByNum(zemTargetByNum(handle, 1), 1), n); }

// A document with [A] k = 1, |f.txt|, 'x', '<CLOB:1>', the keyword and the CLOB still open.
struct Built {
  Built() {
    zemAddInt(doc, 1);
    zemAddFilename(doc, "f.txt");
    zemAddString(doc, "x");
    zemAddClob(doc);
    zemAddClobInt(doc, 1);
  }
  void* keyword() { return zemKeywordByNum(zemTargetByNum(doc, 1), 1); }
  Handle doc = createDocument("A", "k");
};

}  // namespace

TEST(ReadBack, CallsThatWouldMakeAnUnreadableTreeAreRefusedAndChangeNothing) {
  using Call = std::function<void(void* handle, void* keyword)>;
  const Texts number{"Invalid number"}, name{"Invalid name"}, file{"Invalid character in filename"};
  // what, call, the pending code afterwards, reports
  const std::tuple<const char*, Call, int, Texts> cases[] = {
      {"NaN double", [](void* h, void*) { zemAddDouble(h, kNaN); }, 0, number},
      {"infinite double", [](void* h, void*) { zemAddDouble(h, -kInf); }, 0, number},
      {"infinite float", [](void* h, void*) { zemAddFloat(h, static_cast<float>(kInf)); }, 0, number},
      {"keyword-keyed NaN", [](void* h, void*) { zemPutParam(h, "n", kNaN); }, 0, number},
      {"keyword-keyed list", [](void* h, void*) { zemPutListParam(h, "n", "id", 1, kInf); }, 0, number},
      {"keyword-keyed float", [](void* h, void*) { zemPutListParam(h, "n", "f", 1e300); }, 0, number},
      {"keyword-keyed name", [](void* h, void*) { zemPutParam(h, "a-b", 1); }, 0, name},
      {"NaN CLOB item", [](void* h, void*) { zemAddClobDouble(h, kNaN); }, 0, number},
      {"inf CLOB float", [](void* h, void*) { zemAddClobFloat(h, static_cast<float>(kInf)); }, 0, number},
      // A CLOB node in place of the handle first fails as a handle, as every CLOB item call does.
      {"NaN item on the CLOB node",
       [](void*, void* k) { zemAddClobDouble(zemParamByNum(k, 4), kNaN); },
       1005,
       {"Invalid zemHandle (CzemData)", "Invalid number"}},
      {"bar in a file name", [](void* h, void*) { zemAddFilename(h, "a|b"); }, 0, file},
      {"LF in a file name", [](void* h, void*) { zemAddFilename(h, "a\nb"); }, 0, file},
      {"CLOB name", [](void* h, void*) { zemAddClobFilename(h, "x|y"); }, 0, file},
      {"bracket in a section name", [](void* h, void*) { zemAddSection(h, "x]y"); }, 0, name},
      {"blank and = in a keyword name", [](void* h, void*) { zemAddKeyword(h, "a b=c"); }, 0, name},
      {"empty keyword name", [](void* h, void*) { zemAddKeyword(h, ""); }, 0, name},
      {"a reserved word as keyword", [](void* h, void*) { zemAddKeyword(h, "TRUE"); }, 0, name},
      {"a reserved word as section", [](void* h, void*) { zemAddSection(h, "EndSect"); }, 0, name},
      {"a name of other letters", [](void* h, void*) { zemAddSection(h, "\xc3\xa9t\xc3\xa9"); }, 0, name},
      {"template name", [](void* h, void*) { zemAddKeywordDef(h, "9k", "I", 0, 0, 0); }, 0, name},
  };
  for (const auto& [what, call, code, reported] : cases) {
    SCOPED_TRACE(what);
    Built b;
    const std::string before = writtenBody(b.doc);
    Reports reports;
    call(b.doc, b.keyword());
    reports.expect(code, reported);
    EXPECT_EQ(writtenBody(b.doc), before);
  }
}

TEST(ReadBack, EditsThatWouldMakeAnUnreadableTreeAreRefusedWithTheirCode) {
  Built b;
  void* k = b.keyword();
  const std::string before = writtenBody(b.doc);
  Reports reports;
  EXPECT_EQ(zemeModifyParameterInt(zemParamByNum(k, 1), 2), 0);  // the integer is 2 now
  const std::string edited = writtenBody(b.doc);
  EXPECT_EQ(zemeModifyParameterDouble(zemParamByNum(k, 1), kNaN), 1014);  // an integer: the kind check comes first
  auto refused = [](void* node) { return node == nullptr ? -1 : 0; };
  // result (-1: refused), expected code; the arguments run in order of the table
  const std::pair<int, int> cases[] = {
      {zemeModifyKeywordName(k, "a b"), 1007},
      {zemeModifySectionName(zemTargetByNum(b.doc, 1), ""), 1007},
      {refused(zemeInsertNewSection(zemGetRoot(b.doc), "x]y", 0)), 1007},
      {refused(zemeInsertNewKeyword(zemTargetByNum(b.doc, 1), "default", 0)), 1007},
      {refused(zemeInsertNewParameterDouble(k, kInf, 0)), 1012},
      {refused(zemeInsertNewParameterFileName(k, "|", 0)), 1012},
      {zemeModifyParameterFileName(zemParamByNum(k, 2), "a\nb"), 1012},
  };
  EXPECT_EQ(zemGetErrorGlb(), 1007);  // the first code is pending, and each call failed
  for (const auto& [result, code] : cases) EXPECT_EQ(result == -1 ? code : result, code);
  zemSetFilename(zemParamByNum(k, 2), "a|b");
  zemSetCustomResultFolder(b.doc, 1, "r|s");
  zemSetProjectResultRoot(b.doc, "\n");
  reports.expect(1012, {});
  // The keyword is checked before the value.
  EXPECT_EQ(zemeInsertNewParameterDouble(zemGetRoot(b.doc), kInf, 0), nullptr);
  EXPECT_EQ(zemeInsertNewParameterFileName(nullptr, "|", 0), nullptr);
  reports.expect(1007, Texts(2, "Invalid zem named node"));
  EXPECT_EQ(writtenBody(b.doc), edited);
  EXPECT_NE(edited, before);
}

// Numbers below the normal range are in range: they are written with their digits and must load as the
// same number. Floats there are left out: they are written with six digits and a float view below the
// normal range reads as zero, both on purpose.
TEST(ReadBack, BuiltEdgeAndSubnormalValuesReadBackUnchanged) {
  Handle doc = createDocument("A", "k");
  const double doubles[] = {DBL_MIN, DBL_MAX, -0.0, 0.1 + 0.2, 1e-300, 4.94e-324, DBL_MIN / 3, -1e-310};
  for (double d : doubles) zemAddDouble(doc, d);
  zemAddFloat(doc, FLT_MAX);
  const char* texts[] = {"a\rb", "a\nb", "a\r\nb", "\r\r\n\n\r", "it's", "'<CLOB:1>'", "", "\r"};
  for (const char* t : texts) zemAddString(doc, t);
  zemAddClob(doc);
  zemAddClobDouble(doc, -DBL_MAX);
  zemAddClobString(doc, "cr\ronly, \"q\" 'a' \r\n");
  zemAddClobFilename(doc, "c:\\d\\e f.txt");
  zemAddClobDouble(doc, 4.94e-324);
  Handle again = reread(doc);
  ASSERT_NE(again, nullptr);
  unsigned n = 1;
  for (double d : doubles) {
    const double back = zemGetDouble(firstValue(again, n++));
    EXPECT_EQ(std::memcmp(&back, &d, sizeof d), 0) << back << " for " << d;
  }
  EXPECT_EQ(zemGetFloat(firstValue(again, n++)), FLT_MAX);
  for (const char* t : texts) EXPECT_STREQ(zemGetString(firstValue(again, n++)), t);
  void* clob = firstValue(again, n);
  ASSERT_EQ(zemIsClob(clob), 1);
  EXPECT_EQ((std::tuple{zemGetClobDouble(clob), std::string(zemGetClobString(clob)),
                        std::string(zemGetClobFilename(clob)), zemGetClobDouble(clob), zemGetErrorGlb()}),
            std::tuple(-DBL_MAX, "cr\ronly, \"q\" 'a' \r\n", "c:\\d\\e f.txt", 4.94e-324, 0));
}

// A bound number is read as the text is written; one that is not finite then refuses the whole write, however the value
// came into the tree and wherever the text goes: the file stays as it was and the tree gets no SYSTEM section.
TEST(ReadBack, ABoundNumberThatIsNotFiniteWhenWrittenRefusesTheWriteAndChangesNothing) {
  double boundDouble = 1.5;
  float boundFloat = 1.5f;
  Handle donor = createDocument("D", "b");
  zemAddDoubleRef(donor, &boundDouble);
  void* from = zemKeywordByNum(zemTargetByNum(donor, 1), 1);
  const std::pair<const char*, std::function<void(void* doc)>> sources[] = {
      {"built double", [&](void* doc) { zemAddDoubleRef(doc, &boundDouble); }},
      {"built float", [&](void* doc) { zemAddFloatRef(doc, &boundFloat); }},
      {"inserted keyword", [&](void* doc) { zemeInsertCopyKeyword(zemTargetByNum(doc, 1), from, 0); }},
      {"copied keyword", [&](void* doc) { zemCopy(from, zemKeywordByNum(zemTargetByNum(doc, 1), 1)); }}};
  const auto dir = scratchDir().parent_path() / "BoundTargets";  // beside the folder each writtenBody() empties
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  const auto fifo = dir / "pipe";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  // A reader that takes nothing keeps the pipe open without blocking the writer.
  const int reader = open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
  // what, file, append, holds "kept" beforehand
  const std::tuple<const char*, std::filesystem::path, bool, bool> targets[] = {
      {"write", dir / "write.txt", false, true},
      {"append", dir / "append.txt", true, true},
      {"append to a new file", dir / "new.txt", true, false},
      {"pipe", fifo, false, false},
      {"missing folder", dir / "none" / "x.txt", false, false}};
  for (const auto& [source, put] : sources) {
    for (const auto& [target, file, append, exists] : targets) {
      for (const bool settings : {false, true}) {
        SCOPED_TRACE(std::string(source) + ", " + target + (settings ? ", result root set" : ""));
        std::tie(boundDouble, boundFloat) = std::pair(1.5, 1.5f);
        Handle doc = createDocument("A", "k");
        zemAddInt(doc, 1);
        put(doc);
        if (settings) zemSetProjectResultRoot(doc, "results");
        if (exists) writeFile(file, "kept");
        const std::string anchor = zemGetAnchorFilename(zemGetRoot(doc));
        std::tie(boundDouble, boundFloat) = std::pair((settings ? -1 : 1) * kInf, static_cast<float>(kNaN));
        Reports reports;
        (append ? zemAppend : zemWrite)(doc, file.string().c_str());
        reports.expect(1012, {"Invalid number"});
        // The pipe is never read here: it holds nothing.
        EXPECT_EQ(file != fifo && std::filesystem::exists(file) ? readFile(file) : "none", exists ? "kept" : "none");
        char byte;
        EXPECT_LE(read(reader, &byte, 1), 0);
        EXPECT_EQ(std::pair(std::string(zemGetAnchorFilename(zemGetRoot(doc))), zemGetNoSections(zemGetRoot(doc))),
                  std::pair(anchor, 1));
        std::tie(boundDouble, boundFloat) = std::pair(2.5, 2.5f);
        const std::string again = writtenBody(doc);  // writable again, a set result root now stored
        EXPECT_EQ(std::pair(again.find("2.5") != std::string::npos, again.find("[SYSTEM]") != std::string::npos),
                  std::pair(true, settings));
      }
    }
  }
  close(reader);
}

TEST(ReadBack, LoadedTextsWithANulByteAndBracedNotesComeBackWhole) {
  static const char kText[] = "[A]\nk = '<CLOB:1>\0x', {note}, 2 {unit}\nEndSect\n";
  Handle doc = loadDocument(std::string(kText, sizeof kText - 1));
  ASSERT_NE(doc, nullptr);
  Handle again = reread(doc);
  ASSERT_NE(again, nullptr);
  EXPECT_EQ(zemIsClob(firstValue(again, 1)), 0);
  EXPECT_EQ(std::string(zemGetValueText(firstValue(again, 1)), 8), "<CLOB:1>");
  for (const Handle* written : {&doc, &again})
    EXPECT_EQ(writtenBody(*written),
              "[A]\r\n   k = '<CLOB:1>" + std::string(1, '\0') + "x', {note}, 2\r\nEndSect  // A\r\n\r\n");
  // Read in text mode, CR CR LF holds a CR LF pair, which is written so that it stays one.
  doc = loadDocument("[A]\nk = 'x\r\r\ny', '<CLOB:\"p\r\r\nq\">'\nEndSect\n");
  again = reread(doc);
  EXPECT_STREQ(zemGetString(firstValue(again, 1)), "x\r\ny");
  EXPECT_STREQ(zemGetClobString(firstValue(again, 2)), "p\r\nq");
}
