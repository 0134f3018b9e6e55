// The frame of every export: the error store and its texts, checked access, handle release, the library's
// identity, and the report channel.
#include <regex>

#include "frame/checks.hpp"
#include "frame/error_state.hpp"
#include "frame/identity.hpp"
#include "test_support.hpp"

using namespace zem;

TEST(ErrorState, FirstFailureWinsUntilTheCodeIsTakenAndQuietFailuresDoNotReport) {
  Reports reports;
  zem::failWith(1006, "first", true);
  zem::failWith(1005, "second", false);
  EXPECT_EQ(zemPeekErrorGlb(), 1006);
  reports.expect(1006, {"second"});
  EXPECT_EQ(zemPeekErrorGlb(), 0);
  zem::storeError(1010);
  reports.expect(1010, {});
  reports.expect(0, {});
}

TEST(ErrorState, EveryCodeHasItsExactTextAndOthersAreUnknown) {
  // clang-format off
  const std::pair<int, const char*> table[] = {
      {1000, "Error starting. (ERR_START, 1000)"}, {1001, "Error opening file. (ERR_FILE_OPEN , 1001)"},
      {1002, "Error initialising file. (ERR_FILE_INIT, 1002)"}, {1003, "Error parsing. (ERR_PARSE, 1003)"},
      {1004, "Error initialising parsing. (ERR_PARSER_INIT, 1004)"}, {1005, "Handle error (ERR_HANDLE, 1005)"},
      {1006, "Node error (ERR_NODE, 1006)"}, {1007, "Invalid named node error"}, {1008, "Invalid keyword error"},
      {1009, "Invalid section error"}, {1010, "Invalid index error"}, {1011, "Invalid target list error"},
      {1012, "Invalid parameter error"}, {1013, "Not an independent node error"},
      {1014, "Invalid parameter type error"}};
  // clang-format on
  for (const auto& [code, text] : table) EXPECT_STREQ(zemGetErrorMessageFromErrorCode(code), text) << code;
  for (int code : {0, -1, 999, 1015, 2000, 2002})
    EXPECT_STREQ(zemGetErrorMessageFromErrorCode(code), "unknown error code") << code;
}

namespace {

// Accepted objects pass silently; refused ones fail with `code`, reported only when loud.
template <typename Check>
void expectCheck(Check check, std::initializer_list<CzemBase*> accepted, std::initializer_list<CzemBase*> refused,
                 int code, const char* text) {
  SCOPED_TRACE(text);
  Reports reports;
  for (CzemBase* p : accepted) {
    EXPECT_NE(check(asVoid(p), false), nullptr);
    reports.expect(0, {});
  }
  for (CzemBase* p : refused) {
    EXPECT_EQ(check(asVoid(p), true), nullptr);
    reports.expect(code, {});
    EXPECT_EQ(check(asVoid(p), false), nullptr);
    reports.expect(code, {text});
  }
}

}  // namespace

TEST(Checks, EachCheckAcceptsItsClassesAndRefusesOthersAndNull) {
  CzemCreate handle;
  TreelessDocument loaded;
  CzemTargetList* root = handle.root();
  auto* section = new CzemSection("Model");
  root->addSection(section);
  auto* keyword = new CzemKeyword("Depth");
  section->addKeyword(keyword);
  auto* definition = new CzemDefaultDef("Depth");
  section->addDefaultDef(definition);
  auto* value = new CzemInt(3);
  keyword->addParam(value);
  CzemString text("x");
  CzemDefaultPar placeholder;
  expectCheck(checkData, {&handle, &loaded}, {section, nullptr}, 1005, "Invalid zemHandle (CzemData)");
  expectCheck(checkNode, {root, section, keyword, definition, value}, {&handle, nullptr}, 1006, "Invalid zemNode");
  expectCheck(checkKeyword, {keyword, definition}, {section, root, value, nullptr}, 1007, "Invalid zem named node");
  expectCheck(checkSection, {section}, {root, keyword, &handle, nullptr}, 1009, "Invalid zem section");
  expectCheck(checkTargetList, {root, section}, {keyword, value, nullptr}, 1011, "Invalid zem target list");
  expectCheck(checkParam, {value, &text, &placeholder}, {keyword, section, nullptr}, 1012, "Invalid zem parameter");
  expectCheck(checkClob, {}, {value}, 1006, "Invalid CLOB object");
  expectCheck(checkClob, {}, {&handle, nullptr}, 1006, "Invalid zemNode");
  expectCheck(currentClobOf, {}, {keyword}, 1005, "Invalid zemHandle (CzemData)");

  Reports reports;
  EXPECT_EQ(currentClobOf(asVoid(&handle), false), nullptr);  // a handle without a CLOB is no failure
  reports.expect(0, {});
  checkNode(nullptr, false);
  checkData(asVoid(keyword), false);
  reports.expect(1006, {"Invalid zemNode", "Invalid zemHandle (CzemData)"});
}

TEST(HandleExports, CloseNullsTheVariableAndRefusesNullsAndNodes) {
  Reports reports;
  zem::storeError(1009);
  void* handle = zemCreate();
  EXPECT_EQ(zemPeekErrorGlb(), 0);  // create clears a pending code
  zemClose(&handle);
  EXPECT_EQ(handle, nullptr);
  zemClose(nullptr);
  reports.expect(1005, {"Invalid zemHandle (CzemData)"});
  zemClose(&handle);
  reports.expect(1005, {"Invalid zemHandle (CzemData)"});
  CzemSection section("S");
  void* pointer = asVoid(&section);
  zemClose(&pointer);
  EXPECT_EQ(pointer, asVoid(&section));
  reports.expect(1005, {"Invalid zemHandle (CzemData)"});
  EXPECT_EQ(zemGetErrorFromZemData(pointer), nullptr);  // the builder text of an invalid handle is quiet
  EXPECT_EQ(zemGetErrorFromZemData(nullptr), nullptr);
  reports.expect(1005, {});
}

TEST(Identity, VersionAndIdentityAreCopiedOnlyWithRoomForTheZeroByte) {
  const std::regex stamp(
      "(Jan|Feb|Mar|Apr|May|Jun|Jul|Aug|Sep|Oct|Nov|Dec) [ 123][0-9] [0-9]{4} [0-2][0-9]:[0-5][0-9]:[0-5][0-9]");
  EXPECT_TRUE(std::regex_match(zemGetVersion(), stamp)) << zemGetVersion();
  char buffer[32] = "untouched";
  EXPECT_EQ((std::vector{zemGetVersion2(buffer, 20), zemGetVersion2(nullptr, 32), zemGetVersion2(buffer, 0),
                         zemGetVersion2(buffer, -5), zemGetDLLid2(nullptr, 300), zemGetBuildVersion2(buffer, 0),
                         zem::copyText(nullptr, buffer, 32)}),
            (std::vector{-1, -1, -1, -1, -1, -1, -2}));
  EXPECT_STREQ(buffer, "untouched");
  EXPECT_EQ(zemGetVersion2(buffer, 21), 0);
  EXPECT_STREQ(buffer, zemGetVersion());
  // The tests link the library code into their own executable.
  const std::string id = zemGetDLLid();
  EXPECT_TRUE(id == "Unknown" || (id.front() == '/' && id.find("zem_tests") != std::string::npos)) << id;
  char copy[300];
  EXPECT_EQ(std::pair(zemGetDLLid2(copy, static_cast<int>(id.size())), zemGetDLLid2(copy, sizeof copy)),
            std::pair(-1, 0));
  EXPECT_EQ(id, copy);
  EXPECT_EQ(zemGetBuildVersion2(buffer, 1), 0);
  EXPECT_EQ(std::string(zemGetBuildVersion()) + buffer, "");  // no version resources here
}

TEST(Identity, RelativeLoaderNamesAreCompletedFromTheCurrentDirectory) {
  char cwd[4096];
  ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
  const std::string folder = std::string(cwd) == "/" ? "/" : std::string(cwd) + "/";
  EXPECT_EQ((Texts{fullModulePath("build/libzem.so.0"), fullModulePath("./libzem.so.0"),
                   fullModulePath("././lib/libzem.so"), fullModulePath("/usr/lib/libzem.so.0"), fullModulePath("")}),
            (Texts{folder + "build/libzem.so.0", folder + "libzem.so.0", folder + "lib/libzem.so",
                   "/usr/lib/libzem.so.0", ""}));
}

TEST(VoxSink, ReportsReachTheSinkWithTheirKindAndUserPointerElseStandardError) {
  static std::vector<std::tuple<std::string, int, void*>> seen;
  int marker = 0;
  voxSetSink([](const char* text, int kind, void* user) { seen.emplace_back(text, kind, user); }, &marker);
  voxZemAPE("Invalid zemNode");
  voxZemMsg("b", 17, nullptr);
  EXPECT_EQ(seen, (decltype(seen){{"Invalid zemNode", 0, &marker}, {"b", 17, &marker}}));
  voxSetSink(nullptr, nullptr);
  testing::internal::CaptureStderr();
  voxZemAPE("to standard error");
  voxZemMsg("count %", 1, voxInt(3, nullptr));
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "to standard error\ncount 3\n");
}

TEST(VoxMessage, PlaceholdersTakeTheArgumentsOutermostFirstAndListsAreCopiedAndFreed) {
  Reports reports;
  voxZemMsg("Error: %\n in % near line % position %", 1,
            voxString("unexpected token", voxString("/tmp/a.txt", voxInt(12, voxInt(-3, nullptr)))));
  voxZemMsg("%|%", 17, voxInt(-2147483647 - 1, voxInt(2147483647, nullptr)));
  voxZemMsg("% and %", 1, voxString("one", nullptr));
  voxZemMsg("no placeholder", 1, voxString("unused", voxInt(7, nullptr)));
  voxZemMsg(nullptr, 1, voxString("freed with a null format", nullptr));
  voxZemMsg("%", 1, voxString(nullptr, nullptr));
  voxZemAPE(nullptr);
  char text[] = "before";
  VoxArg* list = voxString(text, nullptr);
  text[0] = 'X';
  voxZemMsg("%", 1, list);
  EXPECT_EQ(reports.take(), (Texts{"Error: unexpected token\n in /tmp/a.txt near line 12 position -3",
                                   "-2147483648|2147483647", "one and %", "no placeholder", "", "", "", "before"}));
}
