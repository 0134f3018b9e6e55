#include "model/values.hpp"

#include <cstdint>
#include <string>

#include "frame/writable.hpp"
#include "model/named_nodes.hpp"
#include "model/number_text.hpp"
#include "text/output_stream.hpp"

namespace zem {
namespace {

constexpr double kFloatMax = 3.4028234663852886e+38;
constexpr double kFloatMinNormal = 1.1754943508222875e-38;

// Whether `text`, the sign and digits of an integer as read, is the form the
// integer formatter writes for its value: no plus, no leading zero, no "-0".
bool isWrittenIntegerForm(std::string_view text) {
  const std::size_t first = text[0] == '-' ? 1 : 0;
  return first < text.size() && (text[first] != '0' ? text[first] != '+' : text.size() == 1);
}

// A value of class T with a file text, in the arena of a loaded tree when
// there is one.
template <typename T>
T* withText(std::string_view text, NodeArena* arena) {
  T* value = arena != nullptr ? arena->make<T>() : new T();
  value->setValueText(text, arena);
  return value;
}

}  // namespace

// ---- CzemParam -------------------------------------------------------------

int CzemParam::GetNoInstances() { return parent() != nullptr ? parent()->GetNoParams() : 0; }

void CzemParam::CopyFrom(const CzemNode* source) {
  const auto* from = dynamic_cast<const CzemParam*>(source);
  if (from == nullptr || from == this) return;
  CzemNode::CopyFrom(source);
  value_ = from->value_;
}

void CzemParam::writeValueText(OutputStream& out) const { out << value_.view(); }

// ---- CzemNumeric -----------------------------------------------------------

void CzemNumeric::setFromDouble(double d) {
  number_ = d;
  bits_ = (bits_ & ~kFloatExact) | kDoubleValid | kFloatValid;
  const double magnitude = d < 0 ? -d : d;
  if (magnitude > kFloatMax) bits_ &= ~kFloatValid;
}

void CzemNumeric::setFromFloat(float f) {
  number_ = f;
  bits_ |= kDoubleValid | kFloatValid | kFloatExact;
}

void CzemNumeric::clearRealViews() {
  number_ = 0.0;
  bits_ &= ~(kDoubleValid | kFloatValid | kFloatExact);
}

float CzemNumeric::GetFloat() {
  if ((bits_ & kDoubleValid) == 0) return 0.0f;
  const double d = number_;
  if ((bits_ & kFloatExact) != 0) return static_cast<float>(d);
  const double magnitude = d < 0 ? -d : d;
  if (magnitude > kFloatMax) return d > 0 ? 3.4028235e+38f : -3.4028235e+38f;
  if (d == 0) return static_cast<float>(d);
  if (magnitude < kFloatMinNormal) return 0.0f;
  return static_cast<float>(d);  // a not-a-number takes this branch too
}

bool CzemNumeric::convertText(std::string_view text) {
  const DoubleReading r = readDouble(text);
  if (r.rangeError) {
    clearRealViews();
    return false;
  }
  setFromDouble(r.value);
  return true;
}

void CzemNumeric::CopyFrom(const CzemNode* source) {
  const auto* from = dynamic_cast<const CzemNumeric*>(source);
  if (from == nullptr || from == this) return;
  CzemParam::CopyFrom(source);
  constexpr std::uint32_t views = kDoubleValid | kFloatValid | kFloatExact;
  bits_ = (bits_ & ~views) | (from->bits_ & views);
  number_ = from->number_;
}

// ---- CzemInt ---------------------------------------------------------------

CzemInt* CzemInt::fromText(std::string_view text, bool& ok, NodeArena* arena) {
  CzemInt* value = withText<CzemInt>(text, arena);
  value->bits_ = 0;
  std::size_t i = (!text.empty() && (text[0] == '+' || text[0] == '-')) ? 1 : 0;
  if (text.size() > i && text.size() - i <= 18) {
    std::int64_t magnitude = 0;
    std::size_t j = i;
    for (; j < text.size() && text[j] >= '0' && text[j] <= '9'; ++j) magnitude = magnitude * 10 + (text[j] - '0');
    if (j == text.size()) {
      ok = true;
      value->setFromMagnitude(static_cast<std::uint64_t>(magnitude), text[0] == '-');
      return value;
    }
  }
  ok = value->convertText(text);
  const IntReading r = readInt(text);
  if (!ok) value->number_ = r.value;  // the int view keeps the clamped integer
  if (!r.rangeError) value->bits_ |= kIntValid;
  return value;
}

CzemInt* CzemInt::fromDigits(std::string_view text, std::uint64_t magnitude, bool negative, NodeArena* arena) {
  CzemInt* value = withText<CzemInt>(text, arena);
  value->bits_ = 0;
  value->setFromMagnitude(magnitude, negative);
  return value;
}

// A magnitude of at most 18 digits is exact in 64 bits, and converting that
// integer to a double rounds exactly as reading its digits would.
void CzemInt::setFromMagnitude(std::uint64_t magnitude, bool negative) {
  const auto signedMagnitude = static_cast<std::int64_t>(magnitude);
  const std::int64_t number = negative ? -signedMagnitude : signedMagnitude;
  // "-0" reads as a negative zero, as the digits would.
  setFromDouble(magnitude == 0 && negative ? -0.0 : static_cast<double>(number));
  if (number >= INT32_MIN && number <= INT32_MAX) bits_ |= kIntValid;
}

int CzemInt::GetInt() {
  const double d = number_;
  if (d >= 2147483647.0) return INT32_MAX;
  if (d <= -2147483648.0) return INT32_MIN;
  return static_cast<int>(d);
}

void CzemInt::Write(OutputStream& out) {
  // Only a loaded integer has digits of its own (built and bound ones have
  // none). One outside the 32-bit range keeps its digits instead of the
  // clamped number, so a write does not change the stored value; one in range
  // whose digits are already in written form goes out as they stand.
  const std::string_view text = valueText().view();
  if (!text.empty() && ((bits_ & kIntValid) != 0 ? isWrittenIntegerForm(text) : IsInt() == 0)) {
    out << text;
    return;
  }
  out.commit(formatInt(out.reserve(kIntRoom), GetInt()));
}

void CzemInt::CopyFrom(const CzemNode* source) {
  const auto* from = dynamic_cast<const CzemInt*>(source);
  if (from == nullptr || from == this) return;
  CzemNumeric::CopyFrom(source);
  bits_ = (bits_ & ~kIntValid) | (from->bits_ & kIntValid);
  number_ = from->number_;
}

// ---- CzemReal --------------------------------------------------------------

CzemReal* CzemReal::fromText(std::string_view text, bool& ok, NodeArena* arena) {
  CzemReal* value = withText<CzemReal>(text, arena);
  ok = value->convertText(text);
  value->deriveIntView();
  return value;
}

CzemReal* CzemReal::fromValue(std::string_view text, double number, NodeArena* arena) {
  CzemReal* value = withText<CzemReal>(text, arena);
  value->setFromDouble(number);
  value->deriveIntView();
  return value;
}

void CzemReal::deriveIntView() {
  const double x = GetDouble();
  bits_ &= ~kIntValid;
  if ((bits_ & kDoubleValid) != 0 && x >= -2147483648.0 && x <= 2147483647.0) {
    const auto i = static_cast<int>(x);
    if (x == static_cast<double>(i)) bits_ |= kIntValid;
  }
}

void CzemReal::CopyFrom(const CzemNode* source) {
  const auto* from = dynamic_cast<const CzemReal*>(source);
  if (from == nullptr || from == this) return;
  CzemNumeric::CopyFrom(source);
  bits_ = (bits_ & ~kIntValid) | (from->bits_ & kIntValid);
  // A built double has no text; a copy made as a plain real needs one to write.
  if (dynamic_cast<const CzemDouble*>(source) != nullptr && IsDouble() != 0 && valueText().empty()) {
    std::string text;
    appendDouble(text, GetDouble());
    setValueText(text);
  }
}

// ---- CzemFloat, CzemDouble and the bound variants --------------------------

// A bound variable may hold a number without a written form: the whole text
// is then refused.
void CzemFloat::Write(OutputStream& out) {
  const float value = GetFloat();
  if (!isWritableNumber(value) && unwritableNumber()) {
    out.refuse();
    return;
  }
  out.commit(formatFloat(out.reserve(kFloatRoom), value));
}

void CzemDouble::Write(OutputStream& out) {
  const double value = GetDouble();
  if (!isWritableNumber(value) && unwritableNumber()) {
    out.refuse();
    return;
  }
  const bool fixed = IsDouble() != 0;
  out.commit(formatDouble(out.reserve(kDoubleRoom), value, fixed));
}

bool CzemFloatRef::unwritableNumber() { return !isWritableNumber(GetFloat()); }
bool CzemDoubleRef::unwritableNumber() { return !isWritableNumber(GetDouble()); }

void CzemIntRef::CopyFrom(const CzemNode* source) {
  const auto* from = dynamic_cast<const CzemIntRef*>(source);
  if (from == nullptr || from == this) return;
  CzemInt::CopyFrom(source);
  variable_ = from->variable_;
}

void CzemFloatRef::CopyFrom(const CzemNode* source) {
  const auto* from = dynamic_cast<const CzemFloatRef*>(source);
  if (from == nullptr || from == this) return;
  CzemFloat::CopyFrom(source);
  variable_ = from->variable_;
}

void CzemDoubleRef::CopyFrom(const CzemNode* source) {
  const auto* from = dynamic_cast<const CzemDoubleRef*>(source);
  if (from == nullptr || from == this) return;
  CzemDouble::CopyFrom(source);
  variable_ = from->variable_;
}

// ---- CzemBool --------------------------------------------------------------

CzemBool* CzemBool::fromText(std::string_view text, NodeArena* arena) {
  CzemBool* value = withText<CzemBool>(text, arena);
  static constexpr char kTrue[] = "true";
  bool isTrue = text.size() == 4;
  for (std::size_t i = 0; isTrue && i < 4; ++i) {
    char c = text[i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
    isTrue = c == kTrue[i];
  }
  value->setValue(isTrue ? 1 : 0);
  return value;
}

void CzemBool::Write(OutputStream& out) {
  out << (GetBool() != 0 ? std::string_view("true") : std::string_view("false"));
}

void CzemBool::CopyFrom(const CzemNode* source) {
  const auto* from = dynamic_cast<const CzemBool*>(source);
  if (from == nullptr || from == this) return;
  CzemParam::CopyFrom(source);
  setValue(from->boolValue());
}

void CzemBoolRef::CopyFrom(const CzemNode* source) {
  const auto* from = dynamic_cast<const CzemBoolRef*>(source);
  if (from == nullptr || from == this) return;
  CzemBool::CopyFrom(source);
  variable_ = from->variable_;
}

// ---- Strings and the text-only values --------------------------------------

void CzemString::Write(OutputStream& out) {
  // A text read from a file may hold a NUL byte: all of it is written, so it
  // does not come back cut short (or as a CLOB when the rest looked like one).
  const char* text = GetString();
  out.writeQuoted(text == valueText().c_str() ? valueText().view() : std::string_view(text), '\'');
}

void CzemString::CopyFrom(const CzemNode* source) {
  CzemParam::CopyFrom(source);
  // A copy of a bound string is a plain string (see NewEmpty). The binding's
  // text is in no value text, so the copy takes the text it points at now;
  // otherwise copying a built tree would empty every bound string in it.
  const auto* bound = dynamic_cast<const CzemStringRef*>(source);
  if (bound != nullptr && dynamic_cast<const CzemStringRef*>(this) == nullptr) setValueText(bound->boundText());
}

void CzemUnknown::Write(OutputStream& out) {
  // A braced text alone in its place is written back in braces, so it reads
  // back as the same note instead of an empty place.
  out << '{' << auxText() << '}';
}

const char* CzemStringRef::GetString() {
  // A binding to a null pointer (or a null text) reads as an empty text.
  lastRead_.assign(boundText());
  return lastRead_.c_str();
}

void CzemStringRef::CopyFrom(const CzemNode* source) {
  const auto* from = dynamic_cast<const CzemStringRef*>(source);
  if (from == nullptr || from == this) return;
  CzemString::CopyFrom(source);
  variable_ = from->variable_;
}

void CzemDateTime::Write(OutputStream& out) {
  out << '#';
  writeValueText(out);
  out << '#';
}

void CzemSubstit::Write(OutputStream& out) {
  out << '%';
  writeValueText(out);
}

}  // namespace zem
