// Typed getters and predicates on built values and on values as read from a file.
#include <gtest/gtest.h>

#include "api_test_support.hpp"
#include "model/named_nodes.hpp"
#include "model/values.hpp"

using zem_test::Reports;
using zem_test::Texts;

namespace {

class Values : public testing::Test {
 protected:
  void SetUp() override {
    handle = zemCreate();
    zemAddTarget(handle, "A");
    zemAddKeyword(handle, "k");
    zemAddInt(handle, 7);
    zemAddDouble(handle, 2.5);
    zemAddFloat(handle, 3.0f);
    zemAddString(handle, "text");
    zemAddBool(handle, 1);
    zemAddIntRef(handle, &intVariable);
    zemAddBoolRef(handle, &boolVariable);
    zemAddDoubleRef(handle, &doubleVariable);
    zemAddFloatRef(handle, &floatVariable);
    zemAddStringRef(handle, &textVariable);
    keyword = zemKeywordByNum(zemTargetByNum(handle, 1), 1);
  }
  void TearDown() override { zemClose(&handle); }
  void* param(unsigned n) { return zemParamByNum(keyword, n); }

  Reports reports;
  void* handle = nullptr;
  void* keyword = nullptr;
  int intVariable = 5;
  int boolVariable = 5;
  double doubleVariable = 0.25;
  float floatVariable = 1.5f;
  const char* textVariable = "bound";
};

TEST_F(Values, BuiltIntegersHaveOnlyTheirIntegerView) {
  void* integer = param(1);
  EXPECT_EQ(zemGetInt(integer), 7);
  EXPECT_EQ(zemIsInt(integer), 1);
  EXPECT_EQ(zemIsNumeric(integer), 1);
  EXPECT_EQ(zemIsDouble(integer), 0);
  EXPECT_EQ(zemIsFloat(integer), 0);
  EXPECT_EQ(zemGetDouble(integer), 0.0);
  EXPECT_EQ(zemNumericIsIntType(integer), 1);
  EXPECT_EQ(zemIsParam(integer), 1);
  EXPECT_EQ(zemIsKeyword(integer), 0);
  EXPECT_EQ(zemIsSection(integer), 0);
}

TEST_F(Values, RealsAnswerTheirViews) {
  void* real = param(2);
  EXPECT_EQ(zemGetDouble(real), 2.5);
  EXPECT_EQ(zemGetFloat(real), 2.5f);
  EXPECT_EQ(zemIsInt(real), 0);
  EXPECT_EQ(zemGetInt(real), 0);
  EXPECT_EQ(zemNumericIsIntType(real), 0);
  EXPECT_EQ(zemGetSyntaxClass(real), 7);
  void* integral = param(3);
  EXPECT_EQ(zemIsInt(integral), 1);
  EXPECT_EQ(zemGetInt(integral), 3);
  EXPECT_EQ(zemNumericIsIntType(integral), 0);

  double d = 0;
  float f = 0;
  zemPasGetDoubleProc(real, &d);
  zemPasGetFloatProc(real, &f);
  EXPECT_EQ(d, 2.5);
  EXPECT_EQ(f, 2.5f);
  zemPasGetDoubleProc(nullptr, &d);
  zemPasGetFloatProc(handle, &f);
  EXPECT_EQ(d, -1.0);
  EXPECT_EQ(f, -1.0f);
  EXPECT_EQ(reports.take(), Texts(2, "Invalid zemNode"));
  zemPasGetDoubleProc(real, nullptr);
  zemPasGetFloatProc(nullptr, nullptr);
  EXPECT_EQ(reports.take(), Texts{});
}

TEST_F(Values, GettersOfAnotherKindReportAndYieldZero) {
  reports.take();
  EXPECT_EQ(zemGetInt(param(4)), 0);
  EXPECT_EQ(zemGetDouble(param(4)), 0.0);
  EXPECT_STREQ(zemGetString(param(1)), "");
  EXPECT_EQ(zemGetBool(param(1)), 0);
  EXPECT_EQ(zemGetInt(keyword), 0);
  EXPECT_EQ(reports.take(), Texts(5, "Function invalid in this context"));
  EXPECT_EQ(zemGetErrorGlb(), 0);
  EXPECT_STREQ(zemGetString(param(4)), "text");
  EXPECT_EQ(zemIsString(param(4)), 1);
  EXPECT_EQ(zemIsBool(param(5)), 1);
  EXPECT_EQ(zemGetBool(param(5)), 1);
}

TEST_F(Values, BoundValuesReadTheVariableAtEachAccess) {
  EXPECT_EQ(zemGetInt(param(6)), 5);
  intVariable = 6;
  EXPECT_EQ(zemGetInt(param(6)), 6);
  EXPECT_EQ(zemIsInt(param(6)), 1);
  EXPECT_EQ(zemGetBool(param(7)), 5);
  EXPECT_EQ(zemGetDouble(param(8)), 0.25);
  doubleVariable = -4;
  EXPECT_EQ(zemGetDouble(param(8)), -4.0);
  EXPECT_EQ(zemIsDouble(param(8)), 1);
  EXPECT_EQ(zemGetFloat(param(9)), 1.5f);
  EXPECT_EQ(zemIsFloat(param(9)), 1);
  EXPECT_STREQ(zemGetString(param(10)), "bound");
  textVariable = "changed";
  EXPECT_STREQ(zemGetString(param(10)), "changed");
}

TEST(ValuesFromText, ViewsFollowTheTextAsRead) {
  Reports reports;
  void* handle = zemCreate();
  zemAddTarget(handle, "A");
  zemAddKeyword(handle, "k");
  void* keyword = zemKeywordByNum(zemTargetByNum(handle, 1), 1);
  auto* model = static_cast<zem::CzemKeyword*>(static_cast<zem::CzemBase*>(keyword));
  bool ok = false;
  model->addParam(zem::CzemInt::fromText("7", ok));
  model->addParam(zem::CzemReal::fromText("2.0", ok));
  model->addParam(zem::CzemReal::fromText("1e300", ok));
  model->addParam(zem::CzemInt::fromText("9999999999", ok));
  void* seven = zemParamByNum(keyword, 1);
  EXPECT_EQ(zemGetInt(seven), 7);
  EXPECT_EQ(zemGetDouble(seven), 7.0);
  EXPECT_EQ(zemGetFloat(seven), 7.0f);
  EXPECT_EQ(zemIsInt(seven) + zemIsDouble(seven) + zemIsFloat(seven), 3);
  EXPECT_EQ(zemIsInt(zemParamByNum(keyword, 2)), 1);
  EXPECT_EQ(zemGetInt(zemParamByNum(keyword, 2)), 2);
  EXPECT_EQ(zemNumericIsIntType(zemParamByNum(keyword, 2)), 0);
  EXPECT_EQ(zemIsFloat(zemParamByNum(keyword, 3)), 0);
  EXPECT_EQ(zemGetFloat(zemParamByNum(keyword, 3)), 3.4028235e+38f);
  EXPECT_EQ(zemIsInt(zemParamByNum(keyword, 4)), 0);
  EXPECT_EQ(zemNumericIsIntType(zemParamByNum(keyword, 4)), 1);
  EXPECT_EQ(reports.take(), Texts{});
  zemClose(&handle);
}

}  // namespace
