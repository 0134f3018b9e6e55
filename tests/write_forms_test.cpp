// The writer: header, indentation, line ends, the text of every value class, and
// where the text goes (replacing, appending, files it cannot write).
#include <regex>

#include "frame/identity.hpp"
#include "test_support.hpp"
#include "text/writer.hpp"

namespace {

TEST(WriteForms, CreationStampPadsYearAndMonthOnly) {
  std::tm at{};
  at.tm_year = 987 - 1900;
  at.tm_mon = 3;
  at.tm_mday = 9;
  at.tm_hour = 7;
  at.tm_min = 5;
  at.tm_sec = 9;
  EXPECT_EQ(zem::formatCreationStamp(at), "0987-04-9 7:5:9");
}

TEST(WriteForms, BuiltDocumentMatchesTheGoldenTextByteForByte) {
  Reports reports;
  void* h = zemCreate();
  zemAddTarget(h, "Model");
  zemAddKeyword(h, "Count");
  for (int v : {-5, 0, 2147483647}) zemAddInt(h, v);
  zemAddKeyword(h, "Ratio");
  for (float v : {3.0f, 1234567.0f, 0.1f, 1.5e-7f}) zemAddFloat(h, v);
  zemAddKeyword(h, "Depth");
  for (double v : {3.0, 0.1, 1e10, 0.1 + 0.2, -2.5, 1e20}) zemAddDouble(h, v);
  zemAddKeyword(h, "Flags");
  for (int v : {1, 0, 5}) zemAddBool(h, v);
  zemAddKeyword(h, "Title");
  for (const char* v : {"it's", "", "a \"quoted\" word"}) zemAddString(h, v);
  zemAddKeyword(h, "Gaps");
  zemAddInt(h, 1);
  zemAddUndefinedPar(h);
  zemAddInt(h, 2);
  zemAddKeyword(h, "Empty");
  zemAddSection(h, "Sub");
  zemAddKeyword(h, "k");
  zemAddInt(h, 1);
  zemAddSection(h, "Deep");
  zemEndSection(h);
  zemEndSection(h);
  zemAddSectionDef(h, "T", 1, 0);
  zemAddKeywordDef(h, "x", "iDsbI", 1, 0, 0);
  zemAddKeywordDef(h, "", "", 1, 0, 0);
  zemAddKeywordDef(h, "required", "", 0, 1, 0);
  zemEndSection(h);
  zemEndSection(h);
  zemAddTarget(h, "Second");
  zemEndSection(h);

  const auto file = scratchDir() / "built.txt";
  zemWrite(h, file.string().c_str());
  std::string written = readFile(file);
  const std::regex created("^// Created     : \\d{4}-\\d{2}-\\d{1,2} \\d{1,2}:\\d{1,2}:\\d{1,2}\r\n");
  ASSERT_TRUE(std::regex_search(written, created)) << written.substr(0, 40);
  written =
      std::regex_replace(written, created, "// Created     : <date>\r\n", std::regex_constants::format_first_only);
  std::string golden = readFile(std::filesystem::path(ZEM_TEST_DATA) / "golden" / "built_forms.txt");
  golden.replace(golden.find("<dll>"), 5, zem::libraryIdentity());
  golden.replace(golden.find("<version>"), 9, zem::hostBuildVersion());
  EXPECT_EQ(written, golden);
  reports.expect(0, {});
  EXPECT_EQ(zemGetAnchorFilename(zemGetRoot(h)), file.string());
  zemClose(&h);
}

class Writing : public testing::Test {
 protected:
  void SetUp() override {
    zemAddTarget(handle, "A");
    zemAddKeyword(handle, "k");
  }
  void TearDown() override { zemClose(&handle); }
  void add(zem::CzemNode* value) {
    static_cast<zem::CzemKeyword*>(asNode(zemKeywordByNum(zemTargetByNum(handle, 1), 1)))->addParam(value);
  }
  // The text of the one keyword line.
  std::string keywordLine() {
    zemWrite(handle, file.string().c_str());
    const std::string body = bodyOf(readFile(file));
    const std::size_t start = body.find("\r\n") + 2;
    return body.substr(start, body.find("\r\n", start) - start);
  }
  std::string anchor() { return zemGetAnchorFilename(zemGetRoot(handle)); }

  Reports reports;
  void* handle = zemCreate();
  std::filesystem::path dir = scratchDir();
  std::filesystem::path file = dir / "doc.txt";
  bool ok = false;
};

TEST_F(Writing, ReadValuesKeepTheirCharactersAndIntegersOutsideThe32BitRangeTheirDigits) {
  zemClose(&handle);
  handle = loadDocument(
      "[A] k = -0.5e3, 2., %3, #2021-04-09 07:05:09#, {note}, , TRUE, |data/in.txt|, ||, 9999999999, -2147483649, +7"
      " EndSect");
  EXPECT_EQ(keywordLine(),
            "   k = -0.5e3, 2., %3, #2021-04-09 07:05:09#, , , true, |data/in.txt|, ||, 9999999999, "
            "-2147483649, 7");
  add(new zem::CzemDefaultPar());  // a default place is written empty too
  EXPECT_TRUE(keywordLine().ends_with(", 7, "));
  reports.expect(0, {});
}

TEST_F(Writing, BoundValuesAreReadAgainAtEachWrite) {
  int number = 5;
  int flag = 0;
  double size = 3;
  float scale = 0.5f;
  const char* label = "v'1";
  zemAddIntRef(handle, &number);
  zemAddBoolRef(handle, &flag);
  zemAddDoubleRef(handle, &size);
  zemAddFloatRef(handle, &scale);
  zemAddStringRef(handle, &label);
  EXPECT_EQ(keywordLine(), "   k = 5, false, 3.0, 0.5, 'v''1'");
  number = 6;
  flag = 5;
  size = 0.25;
  scale = 1234567.0f;
  label = "v2";
  EXPECT_EQ(keywordLine(), "   k = 6, true, 0.25, 1234567, 'v2'");
  reports.expect(0, {});
}

TEST_F(Writing, WriteReplacesAndAppendAddsAFullDocument) {
  zemAddInt(handle, 1);
  writeFile(file, "old content\r\n");
  zemWrite(handle, file.string().c_str());
  const std::string once = readFile(file);
  EXPECT_EQ(once.find("old content"), std::string::npos);
  EXPECT_EQ(bodyOf(once), "[A]\r\n   k = 1\r\nEndSect  // A\r\n\r\n");
  zemAppend(handle, file.string().c_str());
  const std::string twice = readFile(file);
  ASSERT_EQ(twice.substr(0, once.size()), once);
  EXPECT_EQ(twice.substr(once.size(), 16), "// Created     :");
  EXPECT_EQ(bodyOf(twice.substr(once.size())), bodyOf(once));
  const auto fresh = dir / "appended.txt";
  zemAppend(handle, fresh.string().c_str());
  EXPECT_EQ(readFile(fresh).substr(0, 16), "// Created     :");
  EXPECT_EQ(bodyOf(readFile(fresh)), bodyOf(once));
  EXPECT_EQ(anchor(), fresh.string());
  reports.expect(0, {});
}

TEST_F(Writing, FileThatCannotBeWrittenIsReportedAndChangesNothing) {
  zemSetAnchorFilename(zemGetRoot(handle), "/before.txt");
  const auto missing = dir / "missing" / "doc.txt";
  zemWrite(handle, missing.string().c_str());
  reports.expect(1001, {"Open error: " + missing.string()});
  EXPECT_FALSE(std::filesystem::exists(missing));
  zemAppend(handle, "");
  EXPECT_EQ(zemGetErrorGlb(), 1001);
  zemWrite(handle, nullptr);
  reports.expect(1001, {"Open error: ", "Open error: "});
  if (std::filesystem::exists("/dev/full")) {  // opens, but refuses the text
    zemWrite(handle, "/dev/full");
    EXPECT_EQ(zemGetErrorGlb(), 1001);
    zemAppend(handle, "/dev/full");
    reports.expect(1001, Texts(2, "Open error: /dev/full"));
  }
  EXPECT_EQ(anchor(), "/before.txt");
}

TEST_F(Writing, InvalidHandleOrMissingTreeWritesNothing) {
  zemWrite(zemGetRoot(handle), file.string().c_str());
  EXPECT_EQ(zemGetErrorGlb(), 1005);
  zemAppend(nullptr, file.string().c_str());
  reports.expect(1005, Texts(2, "Invalid zemHandle (CzemData)"));
  TreelessDocument loaded;
  zemWrite(asVoid(&loaded), file.string().c_str());
  reports.expect(1006, {"Invalid zemNode"});
  EXPECT_FALSE(std::filesystem::exists(file));
}

}  // namespace
