// Result folders: the folder-name template and its environment, the folder of
// a document or of the caller's values, the settings exports, and the path limit.
#include <unistd.h>

#include <cstring>

#include "env_support.hpp"
#include "paths/path_ops.hpp"
#include "results/folder_template.hpp"
#include "test_support.hpp"

using namespace zem;

namespace {

std::string cwd() {
  char buffer[4096];
  return getcwd(buffer, sizeof buffer) != nullptr ? buffer : "";
}
std::string studyOnDriveD() { return "d:\\study"; }

// A clean environment for the template: no template, user or free variable.
struct CleanEnv : ScopedEnv {
  CleanEnv() {
    set(kTemplateVariable, nullptr).set(kFreeVariable, nullptr).set(kUserVariable, nullptr);
    set(kPosixUserVariable, nullptr);
  }
};

std::string folderName(const char* setup) {
  std::optional<std::string_view> file;
  if (setup != nullptr) file = setup;
  return expandFolderName(file, '\\').value_or("<refused>");
}

std::string construct(int useCustom, const char* custom, const char* root, const char* setup) {
  char out[ZEM_MAX_PATH];
  std::memset(out, 'X', sizeof out);
  zemConstructResultFolderPathName(useCustom, custom, root, setup, out);
  return out;
}

std::string documentFolder(void* node) {
  char out[ZEM_MAX_PATH];
  zemGetResultFolderPath(node, out);
  return out;
}

}  // namespace

TEST(FolderTemplate, TokensFollowTheEnvironmentSetUnsetAndEmpty) {
  struct Case {
    const char* templ;  // null: not set
    const char* user;   // USERNAME
    const char* resvar;
    const char* setup;
    std::string expected;
  };
  const std::string date = folderDateText();
  const Case cases[] = {
      {nullptr, nullptr, nullptr, "C:\\p\\model.txt", "\\model.txt - Result Files\\"},
      {nullptr, nullptr, nullptr, nullptr, "\\Untitled - Result Files\\"},
      {nullptr, nullptr, nullptr, "", "\\ - Result Files\\"},
      {"", nullptr, nullptr, "a.txt", "\\.\\"},
      {"%setup2%_%date%", nullptr, nullptr, "run.final.txt", "\\run.final_" + date + "\\"},
      {"%setup% %setup2%", nullptr, nullptr, "/runs/a.txt", "\\a a\\"},
      {"%setup2%", nullptr, nullptr, "noext", "\\noext\\"},
      {"%folder%", nullptr, nullptr, "C:\\runs\\a.txt", "\\runs\\"},
      {"%folder%", nullptr, nullptr, "C:\\a.txt", "\\.\\"},
      {"%folder%", nullptr, nullptr, "C:\\runs/sub\\a.txt", "\\runs/sub\\"},  // only backslashes on a drive
      {"%folder%", nullptr, nullptr, "/home/u/runs/a.txt", "\\runs\\"},
      {"%folder%", nullptr, nullptr, "a.txt", "\\.\\"},
      {"%user%-%user%", "ann", nullptr, "a", "\\ann-ann\\"},
      {"%user%", "", nullptr, "a", "\\.\\"},
      {"%user%", nullptr, nullptr, "a", "\\%user%\\"},
      {"%qxresvar%", nullptr, nullptr, "a", "\\QXRESVAR\\"},
      {"%qxresvar%", nullptr, "", "a", "\\QXRESVAR\\"},
      {"%qxresvar%", nullptr, "v7", "a", "\\v7\\"},
      {"%qxresvar%", nullptr, "%user%", "a", "\\%user%\\"},  // later steps do not search it again
      {"%setup%", nullptr, nullptr, "%date%.txt", "\\" + date + ".txt\\"},
      {"%SETUP%", nullptr, nullptr, "a", "\\%SETUP%\\"},
  };
  for (const Case& c : cases) {
    CleanEnv env;
    env.set(kTemplateVariable, c.templ).set(kUserVariable, c.user).set(kFreeVariable, c.resvar);
    EXPECT_EQ(folderName(c.setup), c.expected) << (c.templ ? c.templ : "(unset)") << " / " << (c.setup ? c.setup : "");
  }
  CleanEnv env;
  env.set(kTemplateVariable, "%user%").set(kPosixUserVariable, "bob");
  EXPECT_EQ(folderName("a"), "\\bob\\");  // USER stands in for an unset USERNAME
  env.set(kTemplateVariable, std::string(300, 't').c_str());
  EXPECT_EQ(folderName("a"), "<refused>");
  env.set(kTemplateVariable, "%user%%user%%user%").set(kUserVariable, std::string(100, 'u').c_str());
  EXPECT_EQ(folderName("a"), "<refused>");
}

TEST(ResultFolder, ComposedFromTheCallersValues) {
  CleanEnv env;
  EXPECT_EQ(construct(0, "", "", "C:\\p\\model.txt"), "C:\\p\\model.txt - Result Files\\");
  EXPECT_EQ(construct(0, nullptr, "E:\\res\\", "C:\\p\\model.txt"), "E:\\res\\model.txt - Result Files\\");
  EXPECT_EQ(construct(0, nullptr, "/res", "C:\\p\\m.txt"), "/res/m.txt - Result Files/");
  EXPECT_EQ(construct(0, nullptr, nullptr, "/home/u/a/../m.txt"), "/home/u/m.txt - Result Files/");
  EXPECT_EQ(construct(0, nullptr, nullptr, nullptr), "Untitled - Result Files/");  // relative, stays relative
  EXPECT_EQ(construct(1, "", "E:\\res", "C:\\p\\m.txt"), "");
  EXPECT_EQ(construct(1, "F:\\x\\..\\y", nullptr, nullptr), "F:\\x\\..\\y");  // taken unchanged
  env.set(kTemplateVariable, "%folder%");
  EXPECT_EQ(construct(0, nullptr, nullptr, "C:\\runs\\a.txt"), "C:\\runs\\runs\\");
  EXPECT_EQ(construct(0, nullptr, nullptr, "C:\\a.txt"), "C:\\");
  env.set(kTemplateVariable, "..\\up");
  EXPECT_EQ(construct(0, nullptr, nullptr, "C:\\p\\q\\a.txt"), "C:\\p\\up\\");
}

TEST(ResultFolder, OfADocumentFollowsItsSettingsAndAnchor) {
  CleanEnv env;
  void* doc = zemCreate();
  void* root = zemGetRoot(doc);
  EXPECT_EQ(documentFolder(root), cwd() + "/ - Result Files/");  // never written: no setup name
  zemSetAnchorFilename(root, "D:\\study\\run1.txt");
  zemAddTarget(doc, "A");
  void* target = zemTargetByNum(doc, 1);
  EXPECT_EQ(documentFolder(target), "D:\\study\\run1.txt - Result Files\\");
  zemSetProjectResultRoot(doc, "E:\\res");
  EXPECT_STREQ(zemGetProjectResultRoot(target), "E:\\res");
  EXPECT_EQ(documentFolder(target), "E:\\res\\run1.txt - Result Files\\");
  zemSetCustomResultFolder(doc, 0, "F:\\x");
  EXPECT_EQ(documentFolder(target), "E:\\res\\run1.txt - Result Files\\");  // not switched on
  zemSetCustomResultFolder(doc, 1, "F:\\x\\.\\y\\..");
  EXPECT_EQ(documentFolder(target), "F:\\x");
  int flag = -1;
  char folder[ZEM_MAX_PATH];
  zemGetCustomResultFolder(target, &flag, folder);
  EXPECT_EQ(flag, 1);
  EXPECT_STREQ(folder, "F:\\x\\.\\y\\..");
  zemSetCustomResultFolder(doc, 1, "");
  zemSetProjectResultRoot(doc, nullptr);
  zemSetAnchorFilename(root, "a/runs/model.txt");  // relative: completed from the current directory
  EXPECT_EQ(documentFolder(root), cwd() + "/a/runs/model.txt - Result Files/");
  env.set(kTemplateVariable, "%folder%");
  EXPECT_EQ(documentFolder(root), cwd() + "/a/runs/runs/");
  zemSetAnchorFilename(root, "model.txt");
  EXPECT_EQ(documentFolder(root), cwd() + "/");
  setCurrentDirectoryProvider(studyOnDriveD);
  env.set(kTemplateVariable, nullptr);
  EXPECT_EQ(documentFolder(root), "d:\\study\\model.txt - Result Files\\");
  setCurrentDirectoryProvider(nullptr);
  zemClose(&doc);
}

TEST(ResultFolder, InvalidArgumentsAreReportedAndChangeNothing) {
  CleanEnv env;
  Reports reports;
  void* doc = zemCreate();
  EXPECT_EQ(documentFolder(doc), cwd() + "/ - Result Files/");  // a handle is no node
  reports.expect(1006, Texts(4, "Invalid zemNode"));
  int flag = 7;
  char folder[4] = "abc";
  zemGetCustomResultFolder(doc, &flag, folder);
  reports.expect(1006, {"Invalid zemNode"});
  EXPECT_EQ(flag, 7);
  EXPECT_STREQ(folder, "abc");
  EXPECT_STREQ(zemGetProjectResultRoot(nullptr), "");
  reports.expect(1006, {"Invalid zemNode"});
  zemSetProjectResultRoot(zemGetRoot(doc), "x");
  zemSetCustomResultFolder(nullptr, 1, "x");
  reports.expect(1005, Texts(2, "Invalid zemHandle (CzemData)"));
  TreelessDocument treeless;
  zemSetCustomResultFolder(&treeless, 1, "x");
  reports.expect(1006, {"Invalid zemNode"});
  zemGetCustomResultFolder(zemGetRoot(doc), nullptr, nullptr);  // null outputs are skipped
  zemGetResultFolderPath(zemGetRoot(doc), nullptr);
  zemConstructResultFolderPathName(0, nullptr, nullptr, nullptr, nullptr);
  reports.expect(0, {});
  zemClose(&doc);
}

TEST(ResultFolder, APathBeyondTheLimitIsRefusedNotTruncated) {
  CleanEnv env;
  const std::string fits = "C:\\" + std::string(259 - 3 - 18, 'r');  // + "\\m - Result Files\\" = 259
  char out[ZEM_MAX_PATH + 8];
  std::memset(out, 'X', sizeof out);
  zemConstructResultFolderPathName(0, nullptr, fits.c_str(), "m", out);
  EXPECT_EQ(std::strlen(out), ZEM_MAX_PATH - 1u);
  zemConstructResultFolderPathName(0, nullptr, (fits + "r").c_str(), "m", out);
  EXPECT_STREQ(out, "");
  EXPECT_EQ(std::string(out + ZEM_MAX_PATH, 8), std::string(8, 'X'));
  zemConstructResultFolderPathName(1, std::string(ZEM_MAX_PATH, 'c').c_str(), nullptr, nullptr, out);
  EXPECT_STREQ(out, "");

  void* doc = zemCreate();
  zemSetCustomResultFolder(doc, 1, std::string(300, 'c').c_str());
  int flag = 0;
  std::memset(out, 'X', sizeof out);
  zemGetCustomResultFolder(zemGetRoot(doc), &flag, out);
  EXPECT_EQ(flag, 1);
  EXPECT_STREQ(out, "");
  zemGetResultFolderPath(zemGetRoot(doc), out);
  EXPECT_STREQ(out, "");
  zemClose(&doc);
}

TEST(ResultFolder, SettingsOfCallersTravelThroughOneSystemSection) {
  const auto dir = scratchDir();
  const std::string file = (dir / "setup.txt").string();
  void* doc = zemCreate();
  zemAddTarget(doc, "A");
  zemEndSection(doc);
  zemSetProjectResultRoot(doc, "results");
  zemSetCustomResultFolder(doc, 1, (dir / "custom").string().c_str());
  zemWrite(doc, file.c_str());
  zemWrite(doc, file.c_str());
  zemClose(&doc);
  const std::string text = readFile(file);
  EXPECT_EQ(text.find("[SYSTEM]"), text.rfind("[SYSTEM]"));
  EXPECT_NE(text.find("   ResultRootFolder = |results|\r\n   UseCustomResultFolder = true\r\n"
                      "   CustomResultFolder = |./custom|\r\n"),
            std::string::npos)
      << text;

  doc = zemLoadFile(file.c_str(), 0);
  void* root = zemGetRoot(doc);
  EXPECT_EQ(zemGetProjectResultRoot(root), (dir / "results").string());
  int flag = 0;
  char folder[ZEM_MAX_PATH];
  zemGetCustomResultFolder(root, &flag, folder);
  EXPECT_EQ(flag, 1);
  EXPECT_EQ(folder, (dir / "custom").string());
  EXPECT_EQ(documentFolder(root), (dir / "custom").string());
  zemClose(&doc);
}
