// The three numeric views of a value (double, float, int) with their validity,
// booleans from their tokens, and values bound to caller variables.
#include <cmath>
#include <memory>

#include "test_support.hpp"

using namespace zem;

namespace {

constexpr float kFloatMax = 3.4028235e+38f;
constexpr int kIntMin = -2147483647 - 1;

// Expected answers of the three views; a value that is not valid reads as stated too.
struct Views {
  const char* text;
  bool converted;
  int isDouble;
  double asDouble;
  int isFloat;
  float asFloat;
  int isInt;
  int asInt;
};

void expectViews(CzemNumeric& value, bool ok, const Views& v) {
  SCOPED_TRACE(v.text);
  EXPECT_EQ(ok, v.converted);
  EXPECT_EQ(value.IsDouble(), v.isDouble);
  EXPECT_EQ(value.GetDouble(), v.asDouble);
  EXPECT_EQ(value.IsFloat(), v.isFloat);
  EXPECT_EQ(value.GetFloat(), v.asFloat);
  EXPECT_EQ(value.IsInt(), v.isInt);
  EXPECT_EQ(value.GetInt(), v.asInt);
  EXPECT_EQ(value.valueText().view(), v.text);
}

TEST(NumericViews, FileValuesHaveTheViewsTheirNumberFits) {
  const Views reals[] = {
      {"7", true, 1, 7.0, 1, 7.0f, 1, 7},
      {"2.5", true, 1, 2.5, 1, 2.5f, 0, 0},
      {"2.0", true, 1, 2.0, 1, 2.0f, 1, 2},
      {"-3e0", true, 1, -3.0, 1, -3.0f, 1, -3},
      {"1e10", true, 1, 1e10, 1, 1e10f, 0, 0},
      {"2147483647", true, 1, 2147483647.0, 1, 2147483648.0f, 1, 2147483647},
      {"2147483648", true, 1, 2147483648.0, 1, 2147483648.0f, 0, 0},
      {"-2147483648", true, 1, -2147483648.0, 1, -2147483648.0f, 1, kIntMin},
      {"1e300", true, 1, 1e300, 0, kFloatMax, 0, 0},
      {"-1e300", true, 1, -1e300, 0, -kFloatMax, 0, 0},
      {"3.4028234663852886e+38", true, 1, 3.4028234663852886e+38, 1, kFloatMax, 0, 0},
      {"1e-40", true, 1, 1e-40, 1, 0.0f, 0, 0},
      {"1e999", false, 0, 0.0, 0, 0.0f, 0, 0},
  };
  for (const Views& v : reals) {
    bool ok = false;
    std::unique_ptr<CzemReal> value(CzemReal::fromText(v.text, ok));
    expectViews(*value, ok, v);
  }
  bool ok = false;
  EXPECT_TRUE(std::signbit(std::unique_ptr<CzemReal>(CzemReal::fromText("-0.0", ok))->GetFloat()));

  const std::string longDigits = "1" + std::string(400, '0');
  const Views integers[] = {
      {"7", true, 1, 7.0, 1, 7.0f, 1, 7},
      {"-2147483648", true, 1, -2147483648.0, 1, -2147483648.0f, 1, kIntMin},
      {"3000000000", true, 1, 3e9, 1, 3e9f, 0, 2147483647},
      {"-3000000000", true, 1, -3e9, 1, -3e9f, 0, kIntMin},
      {"9007199254740993", true, 1, 9007199254740992.0, 1, 9007199254740992.0f, 0, 2147483647},
      {"-12345678901234567890123", true, 1, -12345678901234567890123.0, 1, -12345678901234567890123.0f, 0, kIntMin},
      {longDigits.c_str(), false, 0, 0.0, 0, 0.0f, 0, 2147483647},
  };
  for (const Views& v : integers) {
    std::unique_ptr<CzemInt> value(CzemInt::fromText(v.text, ok));
    expectViews(*value, ok, v);
  }
  EXPECT_TRUE(std::signbit(std::unique_ptr<CzemInt>(CzemInt::fromText("-0", ok))->GetDouble()));
}

TEST(NumericViews, BuiltValuesHaveOnlyTheViewsTheirValueGives) {
  CzemInt seven(7);
  expectViews(seven, true, {"", true, 0, 0.0, 0, 0.0f, 1, 7});
  CzemDouble two(2.0);
  EXPECT_EQ(two.IsInt() + two.IsFloat(), 2);
  EXPECT_EQ(two.GetInt(), 2);
  CzemDouble big(1e300);
  EXPECT_EQ(big.IsFloat(), 0);
  EXPECT_EQ(big.GetFloat(), kFloatMax);
  CzemFloat quarter(0.25f);
  EXPECT_EQ(quarter.GetDouble(), 0.25);
  EXPECT_EQ(quarter.IsDouble(), 1);
  EXPECT_EQ(quarter.IsInt(), 0);
  CzemDouble empty;
  EXPECT_EQ(empty.IsDouble() + empty.IsFloat() + empty.IsInt(), 0);
}

TEST(NumericViews, BooleanTokensCompareWithoutCase) {
  for (const char* token : {"True", "TRUE", "true", "tRuE"}) {
    std::unique_ptr<CzemBool> value(CzemBool::fromText(token));
    EXPECT_EQ(value->GetBool(), 1) << token;
    EXPECT_EQ(value->valueText().view(), token);
  }
  for (const char* token : {"false", "False", "FALSE", "yes", "truee", "tru", ""})
    EXPECT_EQ(std::unique_ptr<CzemBool>(CzemBool::fromText(token))->GetBool(), 0) << token;
}

TEST(NumericViews, RefValuesReadTheVariableAtEveryAccessAndAreInvalidUnbound) {
  int number = 1;
  CzemIntRef intRef(&number);
  EXPECT_EQ(intRef.IsInt() + intRef.IsDouble(), 1);
  float single = 1.5f;
  CzemFloatRef floatRef(&single);
  single = 2.5f;
  EXPECT_EQ(floatRef.GetFloat(), 2.5f);
  EXPECT_EQ(floatRef.IsFloat() - CzemFloatRef().IsFloat(), 1);
  double real = 0.5;
  CzemDoubleRef doubleRef(&real);
  real = 1e300;
  EXPECT_EQ(doubleRef.GetDouble(), 1e300);
  EXPECT_EQ(doubleRef.IsDouble() - CzemDoubleRef().IsDouble(), 1);

  const char* text = nullptr;
  CzemStringRef ref(&text);
  EXPECT_STREQ(ref.GetString(), "");
  std::string changing = "a text longer than the inline storage";
  text = changing.c_str();
  const char* read = ref.GetString();
  changing.assign("gone");
  EXPECT_STREQ(read, "a text longer than the inline storage");
  EXPECT_STREQ(CzemStringRef().GetString(), "");
}

}  // namespace
