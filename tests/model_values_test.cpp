// Values: locale-free number reading and formatting (agreeing exactly with the C library under the "C" locale),
// the three numeric views of a value with their validity, booleans, values bound to caller variables, and copies.
#include <locale.h>

#include <cerrno>
#include <charconv>
#include <clocale>
#include <cmath>
#include <cstring>
#include <memory>
#include <random>

#include "model/number_text.hpp"
#include "test_support.hpp"

using namespace zem;

namespace {

void expectSameAsStrtod(const std::string& text) {
  static const locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
  errno = 0;
  const double expected = strtod_l(text.c_str(), nullptr, c);
  const DoubleReading r = readDouble(text);
  EXPECT_EQ(std::memcmp(&r.value, &expected, sizeof expected), 0) << text << ": " << r.value << " vs " << expected;
  // Only a result too large for a double is an error; one below the normal
  // range is the nearest double.
  EXPECT_EQ(r.rangeError, errno == ERANGE && std::isinf(expected)) << text;
}

// Decimal texts of every shape the reader meets: signs, leading zeros, long
// mantissas, points anywhere, exponents from tiny to huge.
std::string generatedText(std::mt19937& rng) {
  auto below = [&rng](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
  std::string text = below(4) == 0 ? (below(4) == 0 ? "+" : "-") : "";
  if (below(4) == 0) text.append(static_cast<std::size_t>(below(4)), '0');
  const int length = 1 + below(22), point = below(4) == 0 ? -1 : below(length + 1), exponent = below(681) - 340;
  for (int i = 0; i < length; ++i) text += (i == point ? "." : "") + std::to_string(below(10));
  if (point == length) text.push_back('.');
  const std::string exponents[] = {"", "e" + std::to_string(exponent / 10), "E" + std::to_string(exponent),
                                   "e+" + std::to_string(std::abs(exponent) / 20)};
  return text + exponents[below(4)];
}

template <typename Number>
std::string format(Number value, bool fixedWhenIntegral = true) {
  std::string out;
  if constexpr (std::is_same_v<Number, float>) appendFloat(out, value);
  if constexpr (std::is_same_v<Number, double>) appendDouble(out, value, fixedWhenIntegral);
  return out;
}

constexpr float kFloatMax = 3.4028235e+38f;
constexpr int kIntMin = -2147483647 - 1;

// Expected answers of the three views for a text: converted, validity of the double, float and int views,
// then their values; a value that is not valid reads as stated too.
using Views = std::tuple<const char*, bool, int, int, int, double, float, int>;

void expectViews(CzemNumeric* made, const bool& ok, const Views& v) {
  const std::unique_ptr<CzemNumeric> value(made);
  EXPECT_EQ(Views(std::get<0>(v), ok, value->IsDouble(), value->IsFloat(), value->IsInt(), value->GetDouble(),
                  value->GetFloat(), value->GetInt()),
            v);
  EXPECT_EQ(value->valueText().view(), std::get<0>(v));
}

}  // namespace

TEST(NumberText, ReadingAgreesWithStrtodOnChosenAndGeneratedTexts) {
  // clang-format off
  for (const char* text : {
      "0", "-0", "+0.000", "7", "2.5", "0.1", "0.3", ".5", "5.", "1e22", "1e23", "1e-22", "1e-23", "123456789012345",
      "1234567890123456", "9007199254740993", "0.000000000000000000000001", "4.9e-324", "2.2250738585072014e-308",
      "1.7976931348623157e308", "1.8e308", "1e999", "-1e999", "1e-400", "1e-310", "0e999", "3.4028235e38", "1e",
      "1e+", "12abc", " 12", "", ".", "-", "inf", "nan", "0x10", "+-5", "++1", "+", "1.e5", "-.5e-3", "1e5x",
      "0.0000000000000000000000000000001e30", "123456789012345678901234567890", "2.2250738585072011e-308",
      "9.9999999999999999e307", "-0.0", "+infinity", "1e-2147483649", "00000000000000000000.5"})
    expectSameAsStrtod(text);
  // clang-format on
  std::mt19937 rng(20240611);
  for (int i = 0; i < 3000; ++i) expectSameAsStrtod(generatedText(rng));
}

TEST(NumberText, IntegerReadingClampsToThe32BitRange) {
  // clang-format off
  const std::tuple<const char*, int, bool> cases[] = {
      {"2147483647", 2147483647, false}, {"2147483648", 2147483647, true}, {"-2147483648", -2147483647 - 1, false},
      {"-2147483649", -2147483647 - 1, true}, {"99999999999999999999999999", 2147483647, true}, {"+12", 12, false},
      {"  42", 42, false}, {"12abc", 12, false}, {"0042", 42, false}, {"", 0, false}, {"-", 0, false}};
  // clang-format on
  for (const auto& [text, value, rangeError] : cases)
    EXPECT_EQ(std::pair(readInt(text).value, readInt(text).rangeError), std::pair(value, rangeError)) << text;
}

TEST(NumberText, DoublesWriteFixedWhenIntegralFloatsShortAndBothReadBack) {
  EXPECT_EQ((Texts{format(-2147483648.0), format(2147483648.0), format(1e300), format(5.0, false)}),
            (Texts{"-2147483648.0", "2147483648", "1e+300", "5"}));
  std::mt19937 rng(7);
  for (int i = 0; i < 200; ++i) {
    const DoubleReading r = readDouble(generatedText(rng));
    if (r.rangeError) continue;
    EXPECT_EQ(readDouble(format(r.value)).value, r.value) << r.value;
  }
  for (float f : {3.4028235e+38f, 1.17549435e-38f, 16777217.0f, 0.3f, -123.456f}) {
    const std::string text = format(f);
    float back = 0.0f;
    std::from_chars(text.data(), text.data() + text.size(), back);
    EXPECT_EQ(back, f) << text;
  }
}

TEST(NumberText, CommaLocaleStillReadsAndWritesPoints) {
  bool comma = false;
  for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "nl_NL.UTF-8"})
    if (!comma && std::setlocale(LC_ALL, name) != nullptr)
      comma = std::strcmp(std::localeconv()->decimal_point, ",") == 0;
  if (!comma) {
    std::setlocale(LC_ALL, "C");
    GTEST_SKIP() << "no comma-decimal locale installed";
  }
  for (const char* text : {"2.5", "2.5e-30", "1.2345678901234567"}) expectSameAsStrtod(text);
  EXPECT_EQ((Texts{format(2.5), format(1.25e-30), format(0.5f)}), (Texts{"2.5", "1.25e-30", "0.5"}));
  std::setlocale(LC_ALL, "C");
}

TEST(NumericViews, FileValuesHaveTheViewsTheirNumberFits) {
  // clang-format off
  const Views reals[] = {
      {"7", true, 1, 1, 1, 7.0, 7.0f, 7}, {"2.5", true, 1, 1, 0, 2.5, 2.5f, 0}, {"2.0", true, 1, 1, 1, 2.0, 2.0f, 2},
      {"-3e0", true, 1, 1, 1, -3.0, -3.0f, -3}, {"1e10", true, 1, 1, 0, 1e10, 1e10f, 0},
      {"2147483647", true, 1, 1, 1, 2147483647.0, 2147483648.0f, 2147483647},
      {"2147483648", true, 1, 1, 0, 2147483648.0, 2147483648.0f, 0},
      {"-2147483648", true, 1, 1, 1, -2147483648.0, -2147483648.0f, kIntMin},
      {"1e300", true, 1, 0, 0, 1e300, kFloatMax, 0}, {"-1e300", true, 1, 0, 0, -1e300, -kFloatMax, 0},
      {"3.4028234663852886e+38", true, 1, 1, 0, 3.4028234663852886e+38, kFloatMax, 0},
      {"1e-40", true, 1, 1, 0, 1e-40, 0.0f, 0}, {"4.94e-324", true, 1, 1, 0, 4.94e-324, 0.0f, 0},
      {"-1e-400", true, 1, 1, 1, -0.0, -0.0f, 0}, {"1e999", false, 0, 0, 0, 0.0, 0.0f, 0}};
  // clang-format on
  bool ok = false;
  for (const Views& v : reals) expectViews(CzemReal::fromText(std::get<0>(v), ok), ok, v);
  EXPECT_TRUE(std::signbit(std::unique_ptr<CzemReal>(CzemReal::fromText("-0.0", ok))->GetFloat()));

  const std::string longDigits = "1" + std::string(400, '0');
  // clang-format off
  const Views integers[] = {
      {"7", true, 1, 1, 1, 7.0, 7.0f, 7}, {"-2147483648", true, 1, 1, 1, -2147483648.0, -2147483648.0f, kIntMin},
      {"2147483647", true, 1, 1, 1, 2147483647.0, 2147483648.0f, 2147483647},
      {"2147483648", true, 1, 1, 0, 2147483648.0, 2147483648.0f, 2147483647},
      {"3000000000", true, 1, 1, 0, 3e9, 3e9f, 2147483647}, {"-3000000000", true, 1, 1, 0, -3e9, -3e9f, kIntMin},
      {"9007199254740993", true, 1, 1, 0, 9007199254740992.0, 9007199254740992.0f, 2147483647},
      {"-12345678901234567890123", true, 1, 1, 0, -12345678901234567890123.0, -12345678901234567890123.0f, kIntMin},
      {longDigits.c_str(), false, 0, 0, 0, 0.0, 0.0f, 2147483647}};
  // clang-format on
  for (const Views& v : integers) expectViews(CzemInt::fromText(std::get<0>(v), ok), ok, v);
  EXPECT_TRUE(std::signbit(std::unique_ptr<CzemInt>(CzemInt::fromText("-0", ok))->GetDouble()));
}

TEST(NumericViews, RefValuesReadTheVariableAtEveryAccessAndAreInvalidUnbound) {
  float single = 1.5f;
  double real = 0.5;
  CzemFloatRef floatRef(&single);
  CzemDoubleRef doubleRef(&real);
  std::tie(single, real) = std::tuple(2.5f, 1e300);
  EXPECT_EQ(std::tuple(floatRef.GetFloat(), doubleRef.GetDouble(), floatRef.IsFloat(), CzemFloatRef().IsFloat(),
                       doubleRef.IsDouble(), CzemDoubleRef().IsDouble()),
            std::tuple(2.5f, 1e300, 1, 0, 1, 0));
  const char* text = nullptr;
  CzemStringRef ref(&text);
  const std::string unbound = std::string(ref.GetString()) + CzemStringRef().GetString();
  std::string changing = "a text longer than the inline storage";
  text = changing.c_str();
  const char* read = ref.GetString();
  changing.assign("gone");
  EXPECT_EQ(unbound + read, "a text longer than the inline storage");
}

TEST(Copy, SourceOfAnotherClassChangesNothingAnIntegerCopiesViewsAndTextsButNotPlace) {
  CzemInt integer(7);
  CzemDouble real(2.5);
  CzemSection section("S");
  integer.CopyFrom(&real);
  real.CopyFrom(&integer);
  section.CopyFrom(&integer);
  EXPECT_EQ(std::tuple(integer.GetInt(), integer.IsDouble(), real.GetDouble(), std::string(section.GetName())),
            std::tuple(7, 0, 2.5, "S"));

  bool ok = false;
  std::unique_ptr<CzemInt> source(CzemInt::fromText("42", ok));
  source->setAuxText("{note}");
  CzemKeyword to("to");
  to.addParam(new CzemInt(1));
  auto* target = new CzemInt(3);
  to.addParam(target);
  target->CopyFrom(source.get());
  EXPECT_EQ(
      std::tuple(target->GetInt(), target->GetDouble(), target->IsInt() + target->IsDouble() + target->IsFloat(),
                 std::string(target->valueText().view()), target->auxText(), target->GetInstanceNo(), target->parent()),
      std::tuple(42, 42.0, 3, "42", "{note}", 0u, &to));
  CzemInt built(5);  // a built integer brings its missing views along
  target->CopyFrom(&built);
  EXPECT_EQ(std::tuple(target->GetInt(), target->IsDouble() + target->IsFloat(), target->valueText().empty()),
            std::tuple(5, 0, true));
}

TEST(Copy, BuiltDoubleGetsAValueText) {
  const std::pair<double, const char*> cases[] = {{5.0, "5.0"}, {0.1, "0.1"}, {1e10, "10000000000"}, {-0.25, "-0.25"}};
  for (const auto& [value, text] : cases) {
    CzemDouble source(value), intoDouble;
    CzemReal intoReal;
    intoDouble.CopyFrom(&source);
    intoReal.CopyFrom(&source);
    EXPECT_EQ((Texts{std::string(intoDouble.valueText().view()), std::string(intoReal.valueText().view())}),
              Texts(2, text))
        << value;
  }
  CzemFloat fromFloat(2.5f);
  CzemReal real;
  real.CopyFrom(&fromFloat);
  EXPECT_EQ(std::pair(real.valueText().empty(), real.GetDouble()), std::pair(true, 2.5));
}

// A plain copy keeps the text bound at the time of copying; a bound copy
// follows the variable.
TEST(Copy, StringRefCopiesAreUnboundPlainStringsHoldingTheBoundText) {
  const char* text = "abc";
  CzemStringRef boundText(&text);
  std::unique_ptr<CzemNode> freshText(boundText.NewEmpty());
  EXPECT_EQ(typeid(*freshText), typeid(CzemString));
  freshText->CopyFrom(&boundText);
  CzemStringRef other;
  other.CopyFrom(&boundText);
  text = "changed";
  EXPECT_EQ(std::pair(std::string(freshText->GetString()), std::string(other.GetString())),
            std::pair(std::string("abc"), std::string("changed")));
}

TEST(Copy, NamedNodeCopiesAreDeepAndRenumbered) {
  CzemKeyword source("Depth", kMayRepeat);
  source.addParam(new CzemInt(1));
  source.addParam(new CzemString("two"));
  CzemKeyword copy("old");
  copy.addParam(new CzemInt(99));  // replaced and destroyed by the copy
  copy.CopyFrom(&source);
  ASSERT_EQ(std::tuple(std::string(copy.GetName()), copy.flags(), copy.GetNoParams()),
            std::tuple("Depth", kMayRepeat, 2));
  EXPECT_NE(copy.NodeByNum(1), source.NodeByNum(1));
  EXPECT_EQ(std::pair(copy.NodeByNum(1)->parent(), copy.NodeByNum(2)->GetInstanceNo()),
            std::pair(static_cast<CzemNamedNode*>(&copy), 2u));

  CzemSection section("S");  // a copied section lists its default definitions as keywords
  section.addKeyword(new CzemKeyword("a"));
  section.addDefaultDef(new CzemDefaultDef("a"));
  section.addKeyword(new CzemKeyword("b"));
  CzemSection sectionCopy;
  sectionCopy.CopyFrom(&section);
  EXPECT_EQ((std::vector{section.GetNoKeywords(), section.GetNoNodes(), sectionCopy.GetNoKeywords(),
                         sectionCopy.GetNoNodes()}),
            (std::vector{2, 3, 3, 3}));
  EXPECT_EQ(std::pair(sectionCopy.KeywordByNameNum("A", 2)->IsDefaultDef(), sectionCopy.KeywordByNum(3)->parent()),
            std::pair(1, static_cast<CzemNamedNode*>(&sectionCopy)));

  CzemTargetList list;  // a target list copy takes the anchor but not the result settings
  list.setAnchor("/p/a.txt");
  list.setResultRoot("/results");
  list.setUseCustom(1);
  list.addSection(new CzemSection("T"));
  CzemTargetList listCopy;
  listCopy.CopyFrom(&list);
  EXPECT_EQ(std::tuple(std::string(listCopy.GetAnchorFilename()), listCopy.resultRoot().empty(), listCopy.useCustom(),
                       listCopy.GetNoSections()),
            std::tuple("/p/a.txt", true, 0, 1));
}
