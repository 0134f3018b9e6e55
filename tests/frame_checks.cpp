// Checked access: each check accepts its classes and fails every other object
// and null with its own code and text; the quiet flag suppresses only the report.
#include "frame/checks.hpp"
#include "frame/error_state.hpp"
#include "test_support.hpp"

using namespace zem;
using zem_test::asVoid;
using zem_test::Reports;
using zem_test::Texts;

namespace {

// Accepted objects pass silently; refused ones fail with `code`, reported only when loud.
template <typename Check>
void expectCheck(Check check, std::initializer_list<CzemBase*> accepted, std::initializer_list<CzemBase*> refused,
                 int code, const char* text) {
  for (CzemBase* p : accepted) {
    Reports reports;
    EXPECT_NE(check(asVoid(p), false), nullptr) << text;
    EXPECT_EQ(zemPeekErrorGlb(), 0);
    EXPECT_EQ(reports.take(), Texts{});
  }
  for (CzemBase* p : refused) {
    for (bool quiet : {false, true}) {
      Reports reports;
      EXPECT_EQ(check(asVoid(p), quiet), nullptr) << text;
      EXPECT_EQ(zemGetErrorGlb(), code) << text;
      EXPECT_EQ(reports.take(), quiet ? Texts{} : Texts{text});
    }
  }
}

TEST(Checks, EachCheckAcceptsItsClassesAndRefusesOthersAndNull) {
  CzemCreate handle;
  zem_test::TreelessDocument loaded;
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
  EXPECT_EQ(zemPeekErrorGlb(), 0);
  EXPECT_EQ(checkCreate(asVoid(&handle)), &handle);
  for (void* wrong : {asVoid(&loaded), asVoid(section), static_cast<void*>(nullptr)}) {
    EXPECT_EQ(checkCreate(wrong), nullptr);
    EXPECT_EQ(zemGetErrorGlb(), 1005);
  }
  EXPECT_EQ(reports.take(), Texts(3, "Invalid zemHandle (CzemCreate)"));

  checkNode(nullptr, false);
  checkData(asVoid(keyword), false);
  EXPECT_EQ(reports.take(), (Texts{"Invalid zemNode", "Invalid zemHandle (CzemData)"}));
  EXPECT_EQ(zemGetErrorGlb(), 1006);
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
  EXPECT_EQ(zemGetErrorGlb(), 1005);
  EXPECT_EQ(reports.take(), Texts{});
}

TEST(HandleExports, CloseNullsTheVariableAndRefusesNullsAndNodes) {
  Reports reports;
  zem::storeError(1009);
  void* handle = zemCreate();
  EXPECT_EQ(zemPeekErrorGlb(), 0);  // create clears a pending code
  zemClose(&handle);
  EXPECT_EQ(handle, nullptr);
  EXPECT_EQ(zemPeekErrorGlb(), 0);
  EXPECT_EQ(reports.take(), Texts{});

  zemClose(nullptr);
  EXPECT_EQ(zemGetErrorGlb(), 1005);
  zemClose(&handle);
  EXPECT_EQ(zemGetErrorGlb(), 1005);
  CzemSection section("S");
  void* pointer = asVoid(&section);
  zemClose(&pointer);
  EXPECT_EQ(pointer, asVoid(&section));
  EXPECT_EQ(zemGetErrorGlb(), 1005);
  EXPECT_EQ(reports.take(), Texts(3, "Invalid zemHandle (CzemData)"));
}

}  // namespace
