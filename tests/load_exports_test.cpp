#include "test_support.hpp"

using namespace zem;
using zem_test::loadText;
using zem_test::rootOf;
using zem_test::writeTempFile;

namespace {

int openDescriptorsOn(const std::string& path) {
  int count = 0;
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd"))
    count += std::filesystem::read_symlink(entry.path(), ec) == std::filesystem::canonical(path) ? 1 : 0;
  return count;
}

}  // namespace

TEST(LoadExports, UnopenableFilesFailWithOpenError) {
  const std::string missing = testing::TempDir() + "zem_load_no_such_file.txt";
  EXPECT_EQ(zem_test::reportKinds([&] { EXPECT_EQ(zemLoadFile(missing.c_str(), 0), nullptr); }), std::vector{1});
  Reports reports;
  EXPECT_EQ(zemLoadFile(missing.c_str(), 0), nullptr);
  reports.expect(1001, {"Open error: " + missing});
  // Quietly, and for a folder, which is no readable file; a null name opens nothing.
  EXPECT_EQ((std::vector{zemLoadFile(missing.c_str(), 1), zemLoadFile(testing::TempDir().c_str(), 1)}),
            std::vector<void*>(2, nullptr));
  reports.expect(1001, {});
  EXPECT_EQ(zemLoadFile(nullptr, 0), nullptr);
  reports.expect(1001, {"Open error: "});
  Handle empty = zemLoadFile("/dev/null", 0);  // a device that reads as an empty file
  EXPECT_EQ(zemGetNoSections(zemGetRoot(empty)), 0);
}

TEST(LoadExports, AGoodLoadClearsAnEarlierErrorAndHasAnEmptySyntaxErrorRecord) {
  zem_test::reportKinds([] { zemClose(nullptr); });
  ASSERT_EQ(zemPeekErrorGlb(), 1005);
  const std::string path = writeTempFile("good.txt", "[A] k = 1 EndSect");
  Handle handle = zemLoadFile(path.c_str(), 1);
  ASSERT_NE(handle, nullptr);
  EXPECT_EQ(zemPeekErrorGlb(), 0);
  EXPECT_EQ(openDescriptorsOn(path), 0);  // the file is closed when the load returns
  EXPECT_EQ(zemNoChars(handle), 17);      // the counters outlive the file
  EXPECT_EQ(syntaxErrorOf(handle), " 0:0");
  EXPECT_STREQ(zemGetSyntaxErr(handle, nullptr, nullptr, nullptr), "");  // null out-pointers are skipped
}

TEST(LoadExports, AUtf8ByteOrderMarkIsReadAsAbsent) {
  // As Windows editors write it; the mark counts as no character, and an
  // error on the first line keeps the columns it has without the mark.
  Handle handle = loadText("bom.txt", "\xEF\xBB\xBF[A]\r\n k = 1\r\nEndSect\r\n");
  ASSERT_NE(handle, nullptr);
  EXPECT_EQ(zemNoChars(handle), 19);
  EXPECT_EQ(zemGetInt(zemParamByNum(zemKeywordByNameNum(zemFindSectionByHandle(handle, "A"), "k", 1), 1)), 1);
  handle = loadText("bom_bad.txt", "\xEF\xBB\xBF k = 1");
  EXPECT_EQ(syntaxErrorOf(handle), "syntax error 1:2");
  // A mark anywhere else is no mark.
  handle = loadText("bom_later.txt", "[A]\n\xEF\xBB\xBF k = 1\nEndSect\n");
  EXPECT_NE(zemGetErrorGlb(), 0);
}

TEST(LoadExports, StatisticsNeedALoadHandle) {
  Reports reports;
  Handle created = zemCreate();
  for (void* bad : {static_cast<void*>(nullptr), static_cast<void*>(created)}) {
    EXPECT_EQ((std::vector{zemNoChars(bad), zemNoLines(bad), zemNoComments(bad), zemNoTokens(bad)}), std::vector(4, 0));
    EXPECT_EQ(syntaxErrorOf(bad), " 0:0");
    reports.expect(1005, Texts(5, "Invalid zemHandle (CzemLoad)"));
  }
}

TEST(LoadExports, SystemSectionSetsTheResultFolders) {
  Reports reports;
  auto folders = [](const char* text) {
    Handle handle = loadText("system.txt", text);
    CzemTargetList* root = rootOf(handle);
    return root == nullptr
               ? "no tree"
               : std::string(root->resultRoot().empty() ? "-" : "root") + " " +
                     (root->customFolder().empty() ? "-" : "custom") + " " + std::to_string(root->useCustom());
  };
  // Keywords of the wrong kind report even when quiet and change nothing.
  EXPECT_EQ(folders("[System] ResultRootFolder = 5 UseCustomResultFolder = 'yes' CustomResultFolder = 1.5 EndSect"),
            "- - 0");
  reports.expect(0, Texts(3, "Function invalid in this context"));
  EXPECT_EQ(folders("[SYSTEM]\n ResultRootFolder = |/res/root|\n UseCustomResultFolder = true\n"
                    " CustomResultFolder = |/res/custom|\nEndSect\n[SYSTEM] UseCustomResultFolder = false EndSect"),
            "root custom 1");
  // Without the flag the folder is kept with use-custom 0; without the folder nothing changes.
  EXPECT_EQ(folders("[SYSTEM] CustomResultFolder = |/res/custom| EndSect"), "- custom 0");
  EXPECT_EQ(folders("[SYSTEM] UseCustomResultFolder = true EndSect"), "- - 0");
}

// Each loaded section and keyword knows where its text stands, with either line end and whichever
// reader took the file; built nodes and values have no place.
TEST(LoadExports, SectionsAndKeywordsKnowTheirPlaceInTheFile) {
  const std::string text =
      "// head\n[Outer]  {note}\n  Name = 'a\nb', 2 {unit}\n  /* x */ Empty =\n  default(Name) = 1,\n"
      "  [Inner]\n   List = 1, , 3\n  EndSect\nEndSect\n";
  auto spanText = [](void* node) {
    int l = 0, c = 0, el = 0, ec = 0;
    const int known = zemGetNodeSpan(node, &l, &c, &el, &ec);
    return std::to_string(known) + " " + std::to_string(l) + ":" + std::to_string(c) + "-" + std::to_string(el) + ":" +
           std::to_string(ec);
  };
  for (const std::string lineEnd : {"\n", "\r\n"}) {
    std::string file = text;
    for (std::size_t at = 0; (at = file.find('\n', at)) != std::string::npos; at += lineEnd.size())
      file.replace(at, 1, lineEnd);
    Handle doc = loadText("spans.txt", file);
    void* outer = zemTargetByNum(doc, 1);
    void* inner = zemSectionByNum(outer, 1);
    EXPECT_EQ((std::vector{spanText(outer), spanText(zemNodeByNum(outer, 1)), spanText(zemNodeByNum(outer, 2)),
                           spanText(zemNodeByNum(outer, 3)), spanText(inner), spanText(zemKeywordByNum(inner, 1)),
                           spanText(zemParamByNum(zemKeywordByNum(inner, 1), 1)), spanText(zemGetRoot(doc))}),
              (std::vector<std::string>{"1 2:1-10:8", "1 3:3-4:13", "1 5:11-5:18", "1 6:3-6:21", "1 7:3-9:10",
                                        "1 8:4-8:17", "0 0:0-0:0", "0 0:0-0:0"}))
        << "line end " << lineEnd.size();
    zemCopy(zemKeywordByNum(inner, 1), zemNodeByNum(outer, 1));  // copied over: no place of its own
    EXPECT_EQ(spanText(zemNodeByNum(outer, 1)), "0 0:0-0:0");
  }
  Handle built = createDocument("S", "K");
  EXPECT_EQ(spanText(zemTargetByNum(built, 1)), "0 0:0-0:0");
  EXPECT_EQ(spanText(zemKeywordByNum(zemTargetByNum(built, 1), 1)), "0 0:0-0:0");
  Reports reports;
  EXPECT_EQ(zemGetNodeSpan(nullptr, nullptr, nullptr, nullptr, nullptr), 0);
  reports.expect(1006, {"Invalid zemNode"});
}

// Closing leaves the values of an unchanged loaded keyword to the arena; every value that took memory of its own after
// the load is still freed (the sanitizer build reports a leak otherwise).
TEST(LoadExports, CloseFreesValuesThatChangedAfterTheLoad) {
  void* doc = loadText("changed.txt",
                       "[A]\n k = 1, 'short', 2.5\n f = |data.dat|\n m = 7, {braced}\n n = 3\n"
                       " [B]\n  q = 4\n EndSect\nEndSect\n"
                       "[C]\n c = '<CLOB:1,\"an item longer than fifteen bytes\",x>', 5\n d = 1\nEndSect\n"
                       "[D]\n g = '<CLOB:3,4>'\n h = 1\nEndSect\n[E]\n p = 1\nEndSect\n[F]\n r = 2\nEndSect\n");
  void* a = zemSectionByNum(zemGetRoot(doc), 1);
  const std::string longText(200, 'x');
  EXPECT_EQ(zemeModifyParameterString(zemParamByNum(zemKeywordByNameNum(a, "k", 1), 2), longText.c_str()), 0);
  EXPECT_NE(std::string(zemGetFilename(zemParamByNum(zemKeywordByNameNum(a, "f", 1), 1))), "");
  void* n = zemKeywordByNameNum(a, "n", 1);
  EXPECT_EQ(zemeInsertCopyParameter(n, zemParamByNum(zemKeywordByNameNum(a, "k", 1), 2), 0), 0);
  EXPECT_EQ(zemGetString(zemParamByNum(n, 2)), longText);
  EXPECT_EQ(zemeModifyKeywordName(zemKeywordByNum(zemSectionByNum(a, 1), 1), longText.c_str()), 0);
  // Keywords of otherwise untouched sections: CLOB reads keep an item and a message, appends and copies move the items
  // out of the arena, a full name is kept beside the name.
  void* root = zemGetRoot(doc);
  void* clob = zemParamByNum(zemKeywordByNum(zemSectionByNum(root, 2), 1), 1);
  EXPECT_EQ(zemGetClobInt(clob), 1);
  EXPECT_STREQ(zemGetClobString(clob), "an item longer than fifteen bytes");
  zemGetClobInt(clob);  // "x" is no integer: the read fails with a message
  EXPECT_EQ(zemGetErrorGlb(), 1003);
  zemeInsertCopyParameter(zemKeywordByNum(zemSectionByNum(root, 3), 2), clob, 0);
  EXPECT_EQ(zemAddClobStringS(zemParamByNum(zemKeywordByNum(zemSectionByNum(root, 3), 1), 1), longText.c_str()), 0);
  EXPECT_EQ(zemGetErrorGlb(), 1005);  // the node, tried first as a handle, is none
  EXPECT_EQ(std::string(zemGetNameGlb(zemKeywordByNum(zemSectionByNum(root, 4), 1))), "E.p");
  void* copied = zemKeywordByNum(zemSectionByNum(root, 5), 1);
  zemeInsertCopyParameter(copied, clob, 0);
  EXPECT_STREQ(zemGetValueText(zemParamByNum(copied, 2)), "1,\"an item longer than fifteen bytes\",x");
  zemClose(&doc);
  EXPECT_EQ(zemGetErrorGlb(), 0);
}
