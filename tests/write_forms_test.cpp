// Text forms of the writer: header, indentation, line ends, every value class.
#include <gtest/gtest.h>

#include <regex>

#include "api_test_support.hpp"
#include "frame/identity.hpp"
#include "model/named_nodes.hpp"
#include "model/value_factory.hpp"
#include "model/values.hpp"
#include "text/writer.hpp"

using zem_test::readFile;
using zem_test::Reports;
using zem_test::Texts;

namespace {

zem::CzemNode* asNode(void* p) { return static_cast<zem::CzemNode*>(static_cast<zem::CzemBase*>(p)); }

TEST(WriteHeader, CreationStampPadsYearAndMonthOnly) {
  std::tm at{};
  at.tm_year = 2021 - 1900;
  at.tm_mon = 3;
  at.tm_mday = 9;
  at.tm_hour = 7;
  at.tm_min = 5;
  at.tm_sec = 9;
  EXPECT_EQ(zem::formatCreationStamp(at), "2021-04-9 7:5:9");
  at.tm_year = 987 - 1900;
  at.tm_mon = 11;
  at.tm_mday = 31;
  at.tm_hour = 23;
  at.tm_min = 59;
  at.tm_sec = 0;
  EXPECT_EQ(zem::formatCreationStamp(at), "0987-12-31 23:59:0");
}

TEST(WriteForms, BuiltDocumentMatchesTheGoldenTextByteForByte) {
  Reports reports;
  void* h = zemCreate();
  zemAddTarget(h, "Model");
  zemAddKeyword(h, "Count");
  zemAddInt(h, -5);
  zemAddInt(h, 0);
  zemAddInt(h, 2147483647);
  zemAddKeyword(h, "Ratio");
  zemAddFloat(h, 3.0f);
  zemAddFloat(h, 1234567.0f);
  zemAddFloat(h, 0.1f);
  zemAddFloat(h, 1.5e-7f);
  zemAddKeyword(h, "Depth");
  zemAddDouble(h, 3.0);
  zemAddDouble(h, 0.1);
  zemAddDouble(h, 1e10);
  zemAddDouble(h, 0.1 + 0.2);
  zemAddDouble(h, -2.5);
  zemAddDouble(h, 1e20);
  zemAddKeyword(h, "Flags");
  zemAddBool(h, 1);
  zemAddBool(h, 0);
  zemAddBool(h, 5);
  zemAddKeyword(h, "Title");
  zemAddString(h, "it's");
  zemAddString(h, "");
  zemAddString(h, "a \"quoted\" word");
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
  ASSERT_EQ(reports.take(), Texts{});

  const auto file = zem_test::scratchDir() / "built.txt";
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
  EXPECT_EQ(zemGetErrorGlb(), 0);
  EXPECT_EQ(reports.take(), Texts{});
  EXPECT_STREQ(asNode(zemGetRoot(h))->GetAnchorFilename(), file.string().c_str());
  zemClose(&h);
}

class WriteValueForms : public testing::Test {
 protected:
  void SetUp() override {
    handle = zemCreate();
    zemAddTarget(handle, "A");
    zemAddKeyword(handle, "k");
    keyword = static_cast<zem::CzemKeyword*>(asNode(zemKeywordByNum(zemTargetByNum(handle, 1), 1)));
    file = zem_test::scratchDir() / "forms.txt";
  }
  void TearDown() override { zemClose(&handle); }
  // The text of the one keyword line.
  std::string keywordLine() {
    const std::string body = zem_test::writtenBody(handle, file);
    const std::size_t start = body.find("\r\n") + 2;
    return body.substr(start, body.find("\r\n", start) - start);
  }

  Reports reports;
  void* handle = nullptr;
  zem::CzemKeyword* keyword = nullptr;
  std::filesystem::path file;
};

TEST_F(WriteValueForms, TextValuesKeepTheirCharacters) {
  bool ok = false;
  keyword->addParam(zem::CzemReal::fromText("-0.5e3", ok));
  keyword->addParam(zem::CzemReal::fromText("2.", ok));
  keyword->addParam(new zem::CzemSubstit("3"));
  keyword->addParam(new zem::CzemSubstit("name"));
  keyword->addParam(new zem::CzemDateTime("2021-04-09 07:05:09"));
  keyword->addParam(new zem::CzemUnknown());
  keyword->addParam(new zem::CzemDefaultPar());
  keyword->addParam(zem::CzemBool::fromText("TRUE"));
  EXPECT_EQ(keywordLine(), "   k = -0.5e3, 2., %3, %name, #2021-04-09 07:05:09#, , , true");
}

TEST_F(WriteValueForms, FileIntegersOutsideThe32BitRangeKeepTheirDigits) {
  bool ok = false;
  keyword->addParam(zem::CzemInt::fromText("9999999999", ok));
  keyword->addParam(zem::CzemInt::fromText("-2147483649", ok));
  keyword->addParam(zem::CzemInt::fromText("+7", ok));
  keyword->addParam(zem::CzemInt::fromText("-2147483648", ok));
  EXPECT_EQ(keywordLine(), "   k = 9999999999, -2147483649, 7, -2147483648");
}

TEST_F(WriteValueForms, BoundValuesAreReadAgainAtEachWrite) {
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
  EXPECT_EQ(reports.take(), Texts{});
}

TEST_F(WriteValueForms, FileNamesAreWrittenBetweenBars) {
  zemAddFilename(handle, "data/in.txt");
  zemAddFilename(handle, "");
  EXPECT_EQ(keywordLine(), "   k = |data/in.txt|, ||");
}

}  // namespace
