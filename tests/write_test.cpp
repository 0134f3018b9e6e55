// The writer: the text of every value class, where the text goes, the result-folder settings. The stored
// files of data/corpus are written and read back in the loader's fuzz replay.
#include <sys/stat.h>

#include <array>
#include <regex>

#include "frame/identity.hpp"
#include "test_support.hpp"
#include "text/writer.hpp"

TEST(WriteForms, CreationStampPadsYearAndMonthOnly) {
  std::tm at{};
  std::tie(at.tm_year, at.tm_mon, at.tm_mday, at.tm_hour, at.tm_min, at.tm_sec) = std::tuple(987 - 1900, 3, 9, 7, 5, 9);
  EXPECT_EQ(zem::formatCreationStamp(at), "0987-04-9 7:5:9");
}

TEST(WriteForms, BuiltDocumentMatchesTheGoldenTextByteForByte) {
  Reports reports;
  Handle h = createDocument("Model", "Count");
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
  for (int i = 0; i < 2; ++i) zemEndSection(h);
  zemAddSectionDef(h, "T", 1, 0);
  zemAddKeywordDef(h, "x", "iDsbI", 1, 0, 0);
  zemAddKeywordDef(h, "required", "", 0, 1, 0);
  for (int i = 0; i < 2; ++i) zemEndSection(h);
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
}

class Writing : public testing::Test {
 protected:
  void add(zem::CzemNode* value) {
    static_cast<zem::CzemKeyword*>(asNode(zemKeywordByNum(zemTargetByNum(handle, 1), 1)))->addParam(value);
  }
  // Writes with the given result-folder settings (none when `resultRoot` is null); returns the text.
  std::string write(const char* resultRoot = nullptr, int useCustom = 0, const char* custom = "") {
    if (resultRoot != nullptr) {
      auto* root = static_cast<zem::CzemTargetList*>(asNode(zemGetRoot(handle)));
      root->setResultRoot(resultRoot);
      root->setUseCustom(useCustom);
      root->setCustomFolder(custom);
    }
    zemWrite(handle, file.string().c_str());
    return readFile(file);
  }
  // The text of the one keyword line.
  std::string keywordLine() {
    const std::string body = bodyOf(write());
    const std::size_t start = body.find("\r\n") + 2;
    return body.substr(start, body.find("\r\n", start) - start);
  }
  std::string anchor() { return zemGetAnchorFilename(zemGetRoot(handle)); }
  // The value of a keyword's first parameter, as text.
  static std::string setting(void* section, const char* name) {
    void* value = zemParamByNum(zemKeywordByNameNum(section, name, 1), 1);
    return std::string(static_cast<zem::CzemParam*>(asNode(value))->valueText().view());
  }
  // The result root, the use-custom flag (the second keyword) and the custom folder of a settings section.
  static Texts settings(void* section) {
    return {setting(section, "ResultRootFolder"),
            std::to_string(zemGetBool(zemParamByNum(zemKeywordByNum(section, 2), 1))),
            setting(section, "CustomResultFolder")};
  }

  Reports reports;
  Handle handle = zemCreate();
  std::filesystem::path dir = scratchDir();
  std::filesystem::path file = dir / "doc.txt";
};

// Read values keep their characters, integers outside the 32-bit range their digits; what writing changes on
// purpose (signs and zeros of integers, the case of booleans, notes beside a value or name) reads back the same.
TEST_F(Writing, ReadValuesKeepTheirCharactersUnlessTheSpellingIsNormalised) {
  handle = loadDocument(
      "[A] k {why} = -0.5e3, 2., %3, #2021-04-09 07:05:09#, {note}, , TRUE, |data/in.txt|, ||, 9999999999, "
      "-2147483649, -0, 007, False, 3 {unit}, +2.5, 'a' {b}, |x/../y.txt|, +7 EndSect");
  EXPECT_EQ(keywordLine(),
            "   k = -0.5e3, 2., %3, #2021-04-09 07:05:09#, {note}, , true, |data/in.txt|, ||, 9999999999, "
            "-2147483649, 0, 7, false, 3, +2.5, 'a', |x/../y.txt|, 7");
  add(new zem::CzemDefaultPar());  // a default place is written empty too
  EXPECT_TRUE(keywordLine().ends_with(", 7, "));
}

TEST_F(Writing, BoundValuesAreReadAgainAtEachWrite) {
  handle = createDocument("A", "k");
  int number = 5, flag = 0;
  double size = 3;
  float scale = 0.5f;
  const char* label = "v'1";
  zemAddIntRef(handle, &number);
  zemAddBoolRef(handle, &flag);
  zemAddDoubleRef(handle, &size);
  zemAddFloatRef(handle, &scale);
  zemAddStringRef(handle, &label);
  EXPECT_EQ(keywordLine(), "   k = 5, false, 3.0, 0.5, 'v''1'");
  std::tie(number, flag, size, scale, label) = std::tuple(6, 5, 0.25, 1234567.0f, "v2");
  EXPECT_EQ(keywordLine(), "   k = 6, true, 0.25, 1234567, 'v2'");
}

TEST_F(Writing, WriteReplacesAndAppendAddsAFullDocument) {
  handle = createDocument("A", "k");
  zemAddInt(handle, 1);
  writeFile(file, "old content\r\n");
  const std::string once = write();
  EXPECT_EQ(once.find("old content"), std::string::npos);
  EXPECT_EQ(bodyOf(once), "[A]\r\n   k = 1\r\nEndSect  // A\r\n\r\n");
  const auto inode = [&] {
    struct stat info {};
    stat(file.c_str(), &info);
    return info.st_ino;
  };
  const auto before = inode();
  zemAppend(handle, file.string().c_str());
  EXPECT_EQ(inode(), before);  // appended in place
  const std::string twice = readFile(file);
  ASSERT_EQ(twice.substr(0, once.size()), once);
  const auto fresh = dir / "appended.txt";
  zemAppend(handle, fresh.string().c_str());
  for (const std::string& appended : {twice.substr(once.size()), readFile(fresh)}) {
    EXPECT_EQ(appended.substr(0, 16), "// Created     :");
    EXPECT_EQ(bodyOf(appended), bodyOf(once));
  }
  EXPECT_EQ(anchor(), fresh.string());
}

TEST_F(Writing, FileThatCannotBeWrittenIsReportedAndChangesNothing) {
  zemSetAnchorFilename(zemGetRoot(handle), "/before.txt");
  const auto missing = dir / "missing" / "doc.txt";
  zemWrite(handle, missing.string().c_str());
  reports.expect(1001, {"Open error: " + missing.string()});
  EXPECT_FALSE(std::filesystem::exists(missing));
  zemWrite(handle, dir.string().c_str());  // a folder: nothing written, the folder stays
  reports.expect(1001, {"Open error: " + dir.string()});
  EXPECT_TRUE(std::filesystem::is_directory(dir));
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
  // A handle that is no document, or a document without tree, writes nothing either.
  zemWrite(zemGetRoot(handle), file.string().c_str());
  EXPECT_EQ(zemGetErrorGlb(), 1005);
  zemAppend(nullptr, file.string().c_str());
  reports.expect(1005, Texts(2, "Invalid zemHandle (CzemData)"));
  TreelessDocument loaded;
  zemWrite(asVoid(&loaded), file.string().c_str());
  reports.expect(1006, {"Invalid zemNode"});
  EXPECT_FALSE(std::filesystem::exists(file));
}

TEST_F(Writing, AFileThatMayNotBeReplacedIsWrittenInPlaceOrLeftAlone) {
  handle = createDocument("A", "k");
  zemAddInt(handle, 1);
  writeFile(file, "old\r\n");
  const auto otherName = dir / "other.txt";
  std::filesystem::create_hard_link(file, otherName);
  write();
  EXPECT_EQ(bodyOf(readFile(otherName)), "[A]\r\n   k = 1\r\nEndSect  // A\r\n\r\n");
  if (geteuid() == 0) return;  // every file opens for writing
  std::filesystem::remove(otherName);
  writeFile(file, "old\r\n");
  std::filesystem::permissions(file, std::filesystem::perms::owner_read);
  zemWrite(handle, file.string().c_str());
  reports.expect(1001, {"Open error: " + file.string()});
  EXPECT_EQ(readFile(file), "old\r\n");
}

TEST_F(Writing, OneSettingsSectionIsAddedLastWithAllThreeSettingsAndReusedByLaterWrites) {
  handle = createDocument("A", "k");
  EXPECT_EQ(bodyOf(write("results", 1, (dir / "custom").string().c_str())),
            "[A]\r\n   k = \r\nEndSect  // A\r\n\r\n[SYSTEM]\r\n   ResultRootFolder = |results|\r\n"
            "   UseCustomResultFolder = true\r\n   CustomResultFolder = |./custom|\r\nEndSect  // SYSTEM\r\n\r\n");
  EXPECT_STREQ(zemGetErrorFromZemData(handle), "");  // building goes on where it stood
  // A braced list runs the calls in order, as the tree below needs.
  EXPECT_EQ((std::array{zemAddIntS(handle, 1), zemAddSectionS(handle, "Sub"), zemEndSectionS(handle),
                        zemEndSectionS(handle)}),
            (std::array{0, 0, 0, 0}));
  ASSERT_EQ(treeOf(zemGetRoot(handle)),
            "[A k=6 [Sub]] [SYSTEM ResultRootFolder=10 UseCustomResultFolder=8 CustomResultFolder=10]");
  void* system = zemTargetByNum(handle, 2);
  const std::string text = write("/elsewhere", 0, "");
  EXPECT_EQ(zemGetNoTargets(handle), 2);
  EXPECT_EQ(text.find("[SYSTEM]"), text.rfind("[SYSTEM]"));
  // An empty folder leaves its line as it stands.
  EXPECT_EQ(settings(system), (Texts{"/elsewhere", "0", (dir / "custom").string()}));
  // All three settings are written once one is set.
  handle = createDocument("A", "k");
  EXPECT_EQ(bodyOf(write("", 0, (dir / "custom").string().c_str())),
            "[A]\r\n   k = \r\nEndSect  // A\r\n\r\n[SYSTEM]\r\n   ResultRootFolder = ||\r\n"
            "   UseCustomResultFolder = false\r\n   CustomResultFolder = |./custom|\r\nEndSect  // SYSTEM\r\n\r\n");
}

TEST_F(Writing, FirstExistingSettingsSectionIsUpdatedAndKeepsItsOtherKeywords) {
  handle = loadDocument(
      "[System] Other = 1 usecustomresultfolder = 'x', 'y' EndSect [SYSTEM] ResultRootFolder = 'untouched' EndSect");
  write("/results", 1, "/custom");
  reports.expect(0, {"Function invalid in this context"});  // the string in place of the flag
  ASSERT_EQ(treeOf(zemGetRoot(handle)),
            "[System Other=6 usecustomresultfolder=8,9 ResultRootFolder=10 CustomResultFolder=10] [SYSTEM "
            "ResultRootFolder=9]");  // only the first value changes kind
  void* first = zemTargetByNum(handle, 1);
  EXPECT_STREQ(zemGetString(zemParamByNum(zemKeywordByNum(first, 2), 2)), "y");
  EXPECT_EQ(settings(first), (Texts{"/results", "1", "/custom"}));
  EXPECT_EQ(setting(zemTargetByNum(handle, 2), "ResultRootFolder"), "untouched");
}

TEST_F(Writing, SettingsUpdateValuesOfTheirKindInPlaceAndReplaceOthersEvenUnderTheCursor) {
  zemAddTarget(handle, "SYSTEM");
  zemAddKeyword(handle, "ResultRootFolder");
  zemAddFilename(handle, "/old");
  zemAddKeyword(handle, "UseCustomResultFolder");
  zemAddBool(handle, 0);
  zemAddKeyword(handle, "CustomResultFolder");
  zemAddString(handle, "/old");
  void* system = zemTargetByNum(handle, 1);
  void* folder = zemParamByNum(zemKeywordByNum(system, 1), 1);
  void* useCustom = zemParamByNum(zemKeywordByNum(system, 2), 1);
  write();  // without settings the section is written as it stands
  EXPECT_STREQ(zemGetFilenameString(folder), "/old");
  write("/new", 1, "/custom");
  EXPECT_EQ(zemParamByNum(zemKeywordByNum(system, 1), 1), folder);
  EXPECT_EQ(zemParamByNum(zemKeywordByNum(system, 2), 1), useCustom);
  EXPECT_EQ(settings(system), (Texts{"/new", "1", "/custom"}));
  EXPECT_EQ(zemAddIntS(handle, 2), 0);  // the builder still adds to its keyword, after the new value
  EXPECT_EQ(treeOf(zemGetRoot(handle)), "[SYSTEM ResultRootFolder=10 UseCustomResultFolder=8 CustomResultFolder=10,6]");
}
