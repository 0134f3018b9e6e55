// Result folders and files: the folder-name template and its environment, the folder of a document
// or of the caller's values, the settings exports, the path limit, and result file values: which
// kind of value a name becomes, its full path in the result folder, and names a file could not hold.
#include <cstdlib>
#include <cstring>
#include <optional>

#include "paths/path_ops.hpp"
#include "results/folder_template.hpp"
#include "test_support.hpp"

using namespace zem;

namespace {

// Environment variables set (a null value removes one) for the running test only; the destructor
// puts back what was there.
class ScopedEnv {
 public:
  ~ScopedEnv() {
    for (auto it = saved_.rbegin(); it != saved_.rend(); ++it)
      put(it->first, it->second ? it->second->c_str() : nullptr);
  }
  ScopedEnv& set(const std::string& name, const char* value) {
    const char* old = std::getenv(name.c_str());
    saved_.emplace_back(name, old != nullptr ? std::optional<std::string>(old) : std::nullopt);
    put(name, value);
    return *this;
  }

 private:
  static void put(const std::string& name, const char* value) {
    value != nullptr ? setenv(name.c_str(), value, 1) : unsetenv(name.c_str());
  }
  std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

std::string cwd() {
  char buffer[4096];
  return getcwd(buffer, sizeof buffer) != nullptr ? buffer : "";
}

// Starts with no template, user or free variable.
struct CleanEnv : ScopedEnv {
  CleanEnv() {
    set(kTemplateVariable, nullptr).set(kFreeVariable, nullptr).set(kUserVariable, nullptr).set("USER", nullptr);
  }
};

std::string construct(int useCustom, const char* custom, const char* root, const char* setup) {
  char out[ZEM_MAX_PATH + 8];
  std::memset(out, 'X', sizeof out);
  zemConstructResultFolderPathName(useCustom, custom, root, setup, out);
  EXPECT_EQ(std::string(out + ZEM_MAX_PATH, 8), std::string(8, 'X'));
  return out;
}

std::string documentFolder(void* node) {
  char out[ZEM_MAX_PATH];
  zemGetResultFolderPath(node, out);
  return out;
}

// A built document anchored at D:\study\run1.txt with keyword "Out" open in target "Run".
struct ResultDocument {
  ScopedEnv env;
  Handle doc = createDocument("Run", "Out");
  ResultDocument() {
    env.set(zem::kTemplateVariable, nullptr);
    zemSetAnchorFilename(zemGetRoot(doc), "D:\\study\\run1.txt");
  }
  void* value(unsigned n) { return zemParamByNum(zemKeywordByNameNum(zemTargetByNum(doc, 1), "Out", 1), n); }
  std::string path(void* node) {
    char out[ZEM_MAX_PATH] = "untouched";
    zemGetResultFilenamePath(node, out);
    return out;
  }
};

}  // namespace

TEST(FolderTemplate, TokensFollowTheEnvironmentSetUnsetAndEmpty) {
  const std::string date = folderDateText(), longTemplate(300, 't'), longUser(100, 'u');
  // template (null: unset), USERNAME, QXRESVAR, setup file (null: none), folder name
  // clang-format off
  const std::tuple<const char*, const char*, const char*, const char*, std::string> cases[] = {
      {nullptr, nullptr, nullptr, "C:\\p\\model.txt", "\\model.txt - Result Files\\"},
      {nullptr, nullptr, nullptr, nullptr, "\\Untitled - Result Files\\"},
      {nullptr, nullptr, nullptr, "", "\\ - Result Files\\"}, {"", nullptr, nullptr, "a.txt", "\\.\\"},
      {"%setup2%_%date%", nullptr, nullptr, "run.final.txt", "\\run.final_" + date + "\\"},
      {"%setup% %setup2%", nullptr, nullptr, "/runs/a.txt", "\\a a\\"},
      {"%folder%", nullptr, nullptr, "C:\\runs\\a.txt", "\\runs\\"},
      {"%folder%", nullptr, nullptr, "C:\\a.txt", "\\.\\"},
      {"%folder%", nullptr, nullptr, "C:\\runs/sub\\a.txt", "\\runs/sub\\"},  // only backslashes on a drive
      {"%folder%", nullptr, nullptr, "/home/u/runs/a.txt", "\\runs\\"},
      {"%user%-%user%", "ann", nullptr, "a", "\\ann-ann\\"}, {"%user%", "", nullptr, "a", "\\.\\"},
      {"%user%", nullptr, nullptr, "a", "\\%user%\\"}, {"%qxresvar%", nullptr, nullptr, "a", "\\QXRESVAR\\"},
      {"%qxresvar%", nullptr, "", "a", "\\QXRESVAR\\"},
      {"%qxresvar%", nullptr, "%user%", "a", "\\%user%\\"},  // later steps do not search it again
      {"%setup%", nullptr, nullptr, "%date%.txt", "\\" + date + ".txt\\"},
      {"%setup%", nullptr, nullptr, "%setup2%.txt", "\\%setup2%.txt.txt\\"},  // not cut: the template has no %setup2%
      {longTemplate.c_str(), nullptr, nullptr, "a", "refused"},
      {"%user%%user%%user%", longUser.c_str(), nullptr, "a", "refused"}};
  // clang-format on

  for (const auto& [templ, user, resvar, setup, expected] : cases) {
    CleanEnv env;
    env.set(kTemplateVariable, templ).set(kUserVariable, user).set(kFreeVariable, resvar);
    const auto name = setup != nullptr ? expandFolderName(std::string_view(setup), '\\') : expandFolderName({}, '\\');
    EXPECT_EQ(name.value_or("refused"), expected) << (templ ? templ : "(unset)") << " / " << (setup ? setup : "");
  }
  CleanEnv env;
  env.set(kTemplateVariable, "%user%").set("USER", "bob");
  EXPECT_EQ(expandFolderName(std::string_view("a"), '/'), "/bob/");  // USER stands in for an unset USERNAME
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
  Handle doc = zemCreate();
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
  zemSetCustomResultFolder(doc, 1, "");
  zemSetProjectResultRoot(doc, nullptr);
  zemSetAnchorFilename(root, "a/runs/model.txt");  // relative: completed from the current directory
  EXPECT_EQ(documentFolder(root), cwd() + "/a/runs/model.txt - Result Files/");
  env.set(kTemplateVariable, "%folder%");
  EXPECT_EQ(documentFolder(root), cwd() + "/a/runs/runs/");
  zemSetAnchorFilename(root, "model.txt");
  EXPECT_EQ(documentFolder(root), cwd() + "/");
  setCurrentDirectoryProvider([] { return std::string("d:\\study"); });
  env.set(kTemplateVariable, nullptr);
  EXPECT_EQ(documentFolder(root), "d:\\study\\model.txt - Result Files\\");
  setCurrentDirectoryProvider(nullptr);
}

TEST(ResultFolder, APathBeyondTheLimitIsRefusedNotTruncated) {
  CleanEnv env;
  const std::string fits = "C:\\" + std::string(259 - 3 - 18, 'r');  // + "\\m - Result Files\\" = 259
  EXPECT_EQ(construct(0, nullptr, fits.c_str(), "m").size(), ZEM_MAX_PATH - 1u);
  EXPECT_EQ(construct(0, nullptr, (fits + "r").c_str(), "m"), "");
  EXPECT_EQ(construct(1, std::string(ZEM_MAX_PATH, 'c').c_str(), nullptr, nullptr), "");
  Handle doc = zemCreate();
  zemSetCustomResultFolder(doc, 1, std::string(300, 'c').c_str());
  int flag = 0;
  char out[ZEM_MAX_PATH] = "x";
  zemGetCustomResultFolder(zemGetRoot(doc), &flag, out);
  EXPECT_EQ(std::string(out) + std::to_string(flag), "1");  // the flag, but no cut folder
  EXPECT_EQ(documentFolder(zemGetRoot(doc)), "");
}

TEST(ResultFile, RelativeNamesBecomeStringsAndAbsoluteOnesFileNames) {
  ResultDocument d;
  for (const char* name : {"out\\a.dat", "", "C:\\res\\a.dat", "/res/b.dat"}) zemAddResultFilename(d.doc, name);
  for (unsigned n : {1u, 2u}) EXPECT_EQ(zemIsString(d.value(n)), 1) << n;
  for (unsigned n : {3u, 4u}) EXPECT_EQ(zemIsFilename(d.value(n)), 1) << n;
  EXPECT_STREQ(zemGetResultFilename(d.value(1)), "out\\a.dat");
  EXPECT_STREQ(zemGetResultFilename(d.value(3)), "C:\\res\\a.dat");

  zemEndSection(d.doc);
  const std::string body = writtenBody(d.doc);
  EXPECT_NE(body.find("Out = 'out\\a.dat', '', |C:\\res\\a.dat|, |../"), std::string::npos) << body;
  EXPECT_NE(body.find("/res/b.dat|\r\n"), std::string::npos) << body;
}

TEST(ResultFile, PathJoinsStringsToTheResultFolderAndResolvesFileNames) {
  ResultDocument d;
  for (const char* name : {"flow.dat", "..\\flow.dat", "c:\\x\\y.dat"}) zemAddResultFilename(d.doc, name);
  zemAddInt(d.doc, 3);
  EXPECT_EQ(d.path(d.value(1)), "D:\\study\\run1.txt - Result Files\\flow.dat");
  EXPECT_EQ(d.path(d.value(2)), "D:\\study\\flow.dat");
  EXPECT_EQ(d.path(d.value(3)), "c:\\x\\y.dat");
  zemSetCustomResultFolder(d.doc, 1, "F:\\x");
  EXPECT_EQ(d.path(d.value(1)), "F:\\x\\flow.dat");
  // A string naming a drive of its own is not placed inside the folder; one with leading backslashes is, without them.
  zemAddString(d.doc, "c:\\own\\a.dat");
  zemAddString(d.doc, "\\\\srv\\b.dat");
  EXPECT_EQ(d.path(d.value(5)), "c:\\own\\a.dat");
  EXPECT_EQ(d.path(d.value(6)), "F:\\x\\srv\\b.dat");

  Reports reports;
  EXPECT_EQ(d.path(nullptr), "untouched");
  EXPECT_EQ(zemGetResultFilename(nullptr), nullptr);
  reports.expect(0, {});
  EXPECT_EQ(d.path(d.value(4)), "untouched");  // an int has no path
  EXPECT_EQ(zemGetResultFilename(d.value(4)), nullptr);
  reports.expect(0, Texts(2, "Function invalid in this context"));
  EXPECT_EQ(d.path(d.doc), "");
  EXPECT_STREQ(zemGetResultFilename(d.doc), "");
  reports.expect(1006, Texts(4, "Invalid zemNode"));

  zemSetCustomResultFolder(d.doc, 1, ("F:\\" + std::string(250, 'f')).c_str());
  EXPECT_EQ(d.path(d.value(1)), "");  // 264 bytes would not fit: refused, never cut
}

TEST(ResultFile, NamesTheFileCouldNotHoldAreBuildingErrors) {
  ResultDocument d;
  Reports reports;
  for (const char* name : {"c:\\x\\a|b", "c:\\cr\r"}) zemAddResultFilename(d.doc, name);
  reports.expect(0, Texts(2, "Invalid character in filename"));
  EXPECT_EQ(zemAddResultFilenameS(d.doc, "/x/a|b"), 2000);
  // A relative name is a quoted string, as zemAddString makes: it holds any text.
  for (const char* name : {"a|b.dat", "line\nend", "it's.dat"}) EXPECT_EQ(zemAddResultFilenameS(d.doc, name), 0);
  void* keyword = zemKeywordByNum(zemTargetByNum(d.doc, 1), 1);
  EXPECT_EQ(zemGetNoParams(keyword), 3);
  EXPECT_STREQ(zemGetString(zemParamByNum(keyword, 2)), "line\nend");
  EXPECT_EQ(zemAddResultFilenameS(zemGetRoot(d.doc), "a.dat"), 1005);
  reports.expect(1005, {});
  zemAddResultFilename(nullptr, "a.dat");
  reports.expect(1005, {"Invalid zemHandle (CzemData)"});
}
