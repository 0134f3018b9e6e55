// Checked access: each check accepts its classes and fails every other object
// and null with its own code and text; the quiet flag suppresses only the report.
#include "frame/checks.hpp"
#include "frame/error_state.hpp"
#include "test_support.hpp"

using namespace zem;

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
  EXPECT_EQ(checkCreate(asVoid(&handle)), &handle);
  reports.expect(0, {});
  for (void* wrong : {asVoid(&loaded), asVoid(section), static_cast<void*>(nullptr)}) {
    EXPECT_EQ(checkCreate(wrong), nullptr);
    reports.expect(1005, {"Invalid zemHandle (CzemCreate)"});
  }
  checkNode(nullptr, false);
  checkData(asVoid(keyword), false);
  reports.expect(1006, {"Invalid zemNode", "Invalid zemHandle (CzemData)"});
}

TEST(HandleExports, BuilderErrorTextIsEmptyWhenFreshAndNullForAnInvalidHandle) {
  Reports reports;
  void* handle = zemCreate();
  EXPECT_STREQ(zemGetErrorFromZemData(handle), "");
  auto* data = static_cast<CzemData*>(static_cast<CzemBase*>(handle));
  data->setSilent();
  data->buildingError("Missing current keyword");
  EXPECT_STREQ(zemGetErrorFromZemData(handle), "Missing current keyword");
  zemClose(&handle);
  CzemKeyword keyword("k");
  EXPECT_EQ(zemGetErrorFromZemData(asVoid(&keyword)), nullptr);
  EXPECT_EQ(zemGetErrorFromZemData(nullptr), nullptr);
  reports.expect(1005, {});
}

TEST(HandleExports, CloseNullsTheVariableAndRefusesNullsAndNodes) {
  Reports reports;
  zem::storeError(1009);
  void* handle = zemCreate();
  EXPECT_EQ(zemPeekErrorGlb(), 0);  // create clears a pending code
  zemClose(&handle);
  EXPECT_EQ(handle, nullptr);
  reports.expect(0, {});
  zemClose(nullptr);
  reports.expect(1005, {"Invalid zemHandle (CzemData)"});
  zemClose(&handle);
  reports.expect(1005, {"Invalid zemHandle (CzemData)"});
  CzemSection section("S");
  void* pointer = asVoid(&section);
  zemClose(&pointer);
  EXPECT_EQ(pointer, asVoid(&section));
  reports.expect(1005, {"Invalid zemHandle (CzemData)"});
}

}  // namespace
