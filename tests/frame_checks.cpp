// Checked access: each check accepts its classes and fails every other object
// and null with its own code and text; the quiet flag suppresses only the report.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "frame/checks.hpp"
#include "frame/document.hpp"
#include "frame/error_state.hpp"
#include "model/named_nodes.hpp"
#include "model/values.hpp"
#include "vox_capture.hpp"
#include "zem/zem.h"

using namespace zem;

namespace {

using Texts = std::vector<std::string>;

// A document handle that is not a building handle, as a load handle is.
class OtherHandle : public CzemData {
 public:
  OtherHandle() : CzemData(nullptr) {}
};

void* asVoid(CzemBase* p) { return p; }

class Checks : public ::testing::Test {
 protected:
  Checks() {
    auto* target = new CzemSection("Model");
    root_->addSection(target);
    keyword_ = new CzemKeyword("Depth");
    target->addKeyword(keyword_);
    definition_ = new CzemDefaultDef("Depth");
    target->addDefaultDef(definition_);
    value_ = new CzemInt(3);
    keyword_->addParam(value_);
    section_ = target;
  }

  // Runs a failing check loud and quiet and verifies code and report.
  template <typename Check>
  void expectFailure(Check check, void* argument, int code, const char* text) {
    {
      ReportCapture capture;
      EXPECT_EQ(check(argument, false), nullptr);
      EXPECT_EQ(zemGetErrorGlb(), code);
      EXPECT_EQ(capture.texts(), (Texts{text}));
    }
    {
      ReportCapture capture;
      EXPECT_EQ(check(argument, true), nullptr);
      EXPECT_EQ(zemGetErrorGlb(), code);
      EXPECT_TRUE(capture.reports().empty());
    }
  }

  template <typename Check>
  void expectAccepted(Check check, void* argument) {
    ReportCapture capture;
    EXPECT_NE(check(argument, false), nullptr);
    EXPECT_EQ(zemPeekErrorGlb(), 0);
    EXPECT_TRUE(capture.reports().empty());
  }

  CzemCreate handle_;
  CzemTargetList* root_ = handle_.root();
  CzemSection* section_;
  CzemKeyword* keyword_;
  CzemDefaultDef* definition_;
  CzemInt* value_;
};

}  // namespace

TEST_F(Checks, DocumentHandleCheckAcceptsHandlesAndRefusesNodes) {
  OtherHandle other;
  expectAccepted(checkData, asVoid(&handle_));
  expectAccepted(checkData, asVoid(&other));
  expectFailure(checkData, asVoid(section_), 1005, "Invalid zemHandle (CzemData)");
  expectFailure(checkData, nullptr, 1005, "Invalid zemHandle (CzemData)");
}

TEST_F(Checks, BuildingHandleCheckAlwaysReports) {
  OtherHandle other;
  EXPECT_EQ(checkCreate(asVoid(&handle_)), &handle_);
  for (void* wrong : {asVoid(&other), asVoid(section_), static_cast<void*>(nullptr)}) {
    ReportCapture capture;
    EXPECT_EQ(checkCreate(wrong), nullptr);
    EXPECT_EQ(zemGetErrorGlb(), 1005);
    EXPECT_EQ(capture.texts(), (Texts{"Invalid zemHandle (CzemCreate)"}));
  }
}

TEST_F(Checks, NodeCheckAcceptsEveryNodeButNoHandle) {
  for (CzemBase* node : std::initializer_list<CzemBase*>{root_, section_, keyword_, definition_, value_})
    expectAccepted(checkNode, asVoid(node));
  expectFailure(checkNode, asVoid(&handle_), 1006, "Invalid zemNode");
  expectFailure(checkNode, nullptr, 1006, "Invalid zemNode");
}

TEST_F(Checks, KeywordCheckAcceptsKeywordsAndDefinitionsOnly) {
  expectAccepted(checkKeyword, asVoid(keyword_));
  expectAccepted(checkKeyword, asVoid(definition_));
  for (void* wrong : {asVoid(section_), asVoid(root_), asVoid(value_), static_cast<void*>(nullptr)})
    expectFailure(checkKeyword, wrong, 1007, "Invalid zem named node");
}

TEST_F(Checks, SectionCheckRefusesTheRootList) {
  expectAccepted(checkSection, asVoid(section_));
  for (void* wrong : {asVoid(root_), asVoid(keyword_), asVoid(&handle_), static_cast<void*>(nullptr)})
    expectFailure(checkSection, wrong, 1009, "Invalid zem section");
}

TEST_F(Checks, TargetListCheckAcceptsRootAndSections) {
  expectAccepted(checkTargetList, asVoid(root_));
  expectAccepted(checkTargetList, asVoid(section_));
  for (void* wrong : {asVoid(keyword_), asVoid(value_), static_cast<void*>(nullptr)})
    expectFailure(checkTargetList, wrong, 1011, "Invalid zem target list");
}

TEST_F(Checks, ParameterCheckAcceptsEveryValueClass) {
  CzemString text("x");
  CzemDefaultPar placeholder;
  for (CzemBase* value : std::initializer_list<CzemBase*>{value_, &text, &placeholder})
    expectAccepted(checkParam, asVoid(value));
  for (void* wrong : {asVoid(keyword_), asVoid(section_), static_cast<void*>(nullptr)})
    expectFailure(checkParam, wrong, 1012, "Invalid zem parameter");
}

TEST_F(Checks, ClobCheckTellsNonNodesFromOtherNodes) {
  expectFailure(checkClob, asVoid(value_), 1006, "Invalid CLOB object");
  expectFailure(checkClob, asVoid(&handle_), 1006, "Invalid zemNode");
  expectFailure(checkClob, nullptr, 1006, "Invalid zemNode");
}

TEST_F(Checks, CurrentClobOfAHandleWithoutOneIsNullWithoutError) {
  {
    ReportCapture capture;
    EXPECT_EQ(currentClobOf(asVoid(&handle_), false), nullptr);
    EXPECT_EQ(zemPeekErrorGlb(), 0);
    EXPECT_TRUE(capture.reports().empty());
  }
  expectFailure(currentClobOf, asVoid(keyword_), 1005, "Invalid zemHandle (CzemData)");
}

TEST_F(Checks, SecondFailedCheckReportsItsOwnTextButKeepsTheFirstCode) {
  ReportCapture capture;
  checkNode(nullptr, false);
  checkData(asVoid(keyword_), false);
  EXPECT_EQ(capture.texts(), (Texts{"Invalid zemNode", "Invalid zemHandle (CzemData)"}));
  EXPECT_EQ(zemGetErrorGlb(), 1006);
}

TEST(HandleExports, BuilderErrorTextIsEmptyForAFreshHandle) {
  ReportCapture capture;
  void* handle = zemCreate();
  ASSERT_NE(handle, nullptr);
  EXPECT_STREQ(zemGetErrorFromZemData(handle), "");
  auto* data = static_cast<CzemData*>(static_cast<CzemBase*>(handle));
  data->setSilent();
  data->buildingError("Missing current keyword");
  EXPECT_STREQ(zemGetErrorFromZemData(handle), "Missing current keyword");
  EXPECT_TRUE(capture.reports().empty());
  zemClose(&handle);
}

TEST(HandleExports, BuilderErrorTextOfAnInvalidHandleIsNullAndQuiet) {
  ReportCapture capture;
  CzemKeyword keyword("k");
  EXPECT_EQ(zemGetErrorFromZemData(asVoid(&keyword)), nullptr);
  EXPECT_EQ(zemGetErrorGlb(), 1005);
  EXPECT_EQ(zemGetErrorFromZemData(nullptr), nullptr);
  EXPECT_EQ(zemGetErrorGlb(), 1005);
  EXPECT_TRUE(capture.reports().empty());
}

TEST(HandleExports, CloseDestroysTheHandleAndNullsTheVariable) {
  ReportCapture capture;
  void* handle = zemCreate();
  ASSERT_NE(handle, nullptr);
  zemClose(&handle);
  EXPECT_EQ(handle, nullptr);
  EXPECT_EQ(zemPeekErrorGlb(), 0);
  EXPECT_TRUE(capture.reports().empty());
}

TEST(HandleExports, CloseOfANullAddressOrANullHandleFailsWithoutCrash) {
  ReportCapture capture;
  zemClose(nullptr);
  EXPECT_EQ(zemGetErrorGlb(), 1005);
  void* handle = nullptr;
  zemClose(&handle);
  EXPECT_EQ(zemGetErrorGlb(), 1005);
  EXPECT_EQ(capture.texts(), (Texts{"Invalid zemHandle (CzemData)", "Invalid zemHandle (CzemData)"}));
}

TEST(HandleExports, CloseOfANodeLeavesNodeAndVariableAlone) {
  ReportCapture capture;
  CzemSection section("S");
  void* pointer = asVoid(&section);
  zemClose(&pointer);
  EXPECT_EQ(pointer, asVoid(&section));
  EXPECT_EQ(zemGetErrorGlb(), 1005);
  EXPECT_EQ(capture.texts(), (Texts{"Invalid zemHandle (CzemData)"}));
}

TEST(HandleExports, CreateClearsAPendingCode) {
  ReportCapture capture;
  zem::storeError(1009);
  void* handle = zemCreate();
  EXPECT_EQ(zemPeekErrorGlb(), 0);
  zemClose(&handle);
}
