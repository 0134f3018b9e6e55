// Parameter values: one object per value in a keyword's list. Numbers keep
// three views (double, float, int), each with a flag telling whether the number
// is representable in it. Ref classes read a caller's variable at every access;
// Def classes are typed placeholders of templates.
#pragma once

#include <string_view>

#include "model/node.hpp"
#include "model/node_arena.hpp"

namespace zem {

class CzemParam : public CzemNode {
 public:
  const Text& valueText() const { return value_; }
  const Text& ownText() const override { return value_; }
  void setValueText(std::string_view text) {
    valueChanged();
    value_.assign(text);
  }
  // The same, keeping a long text in the arena of a loaded tree.
  void setValueText(std::string_view text, NodeArena* arena) {
    valueChanged();
    storeText(value_, text, arena);
  }

  int GetNoInstances() override;
  int IsParam() override { return 1; }
  void CopyFrom(const CzemNode* source) override;
  // arenaOnly for a class whose only memory is its value text and aux text;
  // a caller that knows it holds such a class asks without a virtual call.
  bool textsArenaOnly() const { return arenaAllocated() && !value_.ownsMemory(); }

 protected:
  CzemParam() { setSyntaxClass(kSynParam); }
  explicit CzemParam(std::string_view text) : value_(text) { setSyntaxClass(kSynParam); }
  void writeValueText(OutputStream& out) const;
  // A text kept beside the value text until the next one (see Text::setNote);
  // returns the stored copy.
  const char* setValueNote(std::string_view note) { return value_.setNote(note); }

 private:
  Text value_;
};

class CzemNumeric : public CzemParam {
 public:
  int IsNumeric() override { return 1; }
  int IsFloat() override { return (bits_ & kFloatValid) != 0 ? 1 : 0; }
  int IsDouble() override { return (bits_ & kDoubleValid) != 0 ? 1 : 0; }
  float GetFloat() override;
  double GetDouble() override { return (bits_ & kDoubleValid) != 0 ? number_ : 0.0; }
  void CopyFrom(const CzemNode* source) override;

  // Sets the double and float views from d (the float view is clamped to the
  // float range and flushes subnormal results to zero).
  void setFromDouble(double d);
  // Sets both views from a float: exact in both.
  void setFromFloat(float f);
  // Marks both views not valid with value 0.
  void clearRealViews();

 protected:
  // kFloatExact: the float view is the stored number itself (it was set from
  // a float), not derived from the double by clamping.
  enum : std::uint32_t { kDoubleValid = 1, kFloatValid = 2, kIntValid = 4, kFloatExact = 8 };
  CzemNumeric() = default;
  explicit CzemNumeric(std::string_view text) : CzemParam(text) {}
  // Converts a file token into the double and float views; false on a range error.
  bool convertText(std::string_view text);

  // The one stored number; every view is derived from it, so a value costs a
  // single slot. While the double view is not valid it holds what the int
  // view of an integer answers (its value, or the clamped value of an
  // integer out of range).
  double number_ = 0.0;
};

class CzemInt : public CzemNumeric {
 public:
  // An integer with a value (building, editing): only the int view is valid.
  explicit CzemInt(int value = 0) {
    setSyntaxClass(kSynInt);
    number_ = value;
    bits_ = kIntValid;
  }
  // An integer from file text. `ok` is false when the double conversion failed.
  static CzemInt* fromText(std::string_view text, bool& ok, NodeArena* arena = nullptr);
  // An integer from file text whose digits the reader has already read: at
  // most 18 of them, so `magnitude` is exact.
  static CzemInt* fromDigits(std::string_view text, std::uint64_t magnitude, bool negative, NodeArena* arena);

  bool arenaOnly() const override { return textsArenaOnly(); }
  CzemNode* NewEmpty() const override { return new CzemInt(); }
  int IsInt() override { return (bits_ & kIntValid) != 0 ? 1 : 0; }
  // The number clamped to the 32-bit range: an integer out of range answers
  // the nearest end.
  int GetInt() override;
  void Write(OutputStream& out) override;
  void CopyFrom(const CzemNode* source) override;

 protected:
  explicit CzemInt(std::string_view text) : CzemNumeric(text) { setSyntaxClass(kSynInt); }

 private:
  void setFromMagnitude(std::uint64_t magnitude, bool negative);
};

class CzemReal : public CzemNumeric {
 public:
  CzemReal() { setSyntaxClass(kSynReal); }
  // A real from file text. `ok` is false when the double conversion failed.
  static CzemReal* fromText(std::string_view text, bool& ok, NodeArena* arena = nullptr);
  // A real from file text whose value the reader has already found.
  static CzemReal* fromValue(std::string_view text, double number, NodeArena* arena);

  bool arenaOnly() const override { return textsArenaOnly(); }
  CzemNode* NewEmpty() const override { return new CzemReal(); }
  int IsInt() override { return (bits_ & kIntValid) != 0 ? 1 : 0; }
  int GetInt() override { return (bits_ & kIntValid) != 0 ? static_cast<int>(number_) : 0; }
  void Write(OutputStream& out) override { writeValueText(out); }
  void CopyFrom(const CzemNode* source) override;

  // Derives the int view from the double view: valid for exact 32-bit integers.
  void deriveIntView();

 protected:
  explicit CzemReal(std::string_view text) : CzemNumeric(text) { setSyntaxClass(kSynReal); }
};

class CzemFloat : public CzemReal {
 public:
  CzemFloat() = default;
  explicit CzemFloat(float value) {
    setFromFloat(value);
    deriveIntView();
  }
  CzemNode* NewEmpty() const override { return new CzemFloat(); }
  void Write(OutputStream& out) override;
};

class CzemDouble : public CzemReal {
 public:
  CzemDouble() = default;
  explicit CzemDouble(double value) {
    setFromDouble(value);
    deriveIntView();
  }
  CzemNode* NewEmpty() const override { return new CzemDouble(); }
  void Write(OutputStream& out) override;
};

class CzemIntDef : public CzemInt {
 public:
  CzemNode* NewEmpty() const override { return new CzemIntDef(); }
  int IsInt() override { return 1; }
};

class CzemFloatDef : public CzemFloat {
 public:
  CzemNode* NewEmpty() const override { return new CzemFloatDef(); }
  int IsFloat() override { return 1; }
};

class CzemDoubleDef : public CzemDouble {
 public:
  CzemNode* NewEmpty() const override { return new CzemDoubleDef(); }
  int IsDouble() override { return 1; }
};

class CzemIntRef : public CzemInt {
 public:
  explicit CzemIntRef(int* variable = nullptr) : variable_(variable) {}
  CzemNode* NewEmpty() const override { return new CzemIntRef(); }
  int IsInt() override { return variable_ != nullptr ? 1 : 0; }
  int GetInt() override { return variable_ != nullptr ? *variable_ : CzemInt::GetInt(); }
  void CopyFrom(const CzemNode* source) override;

 private:
  int* variable_;
};

class CzemFloatRef : public CzemFloat {
 public:
  explicit CzemFloatRef(float* variable = nullptr) : variable_(variable) {}
  CzemNode* NewEmpty() const override { return new CzemFloatRef(); }
  int IsFloat() override { return variable_ != nullptr ? 1 : 0; }
  float GetFloat() override { return variable_ != nullptr ? *variable_ : CzemFloat::GetFloat(); }
  bool unwritableNumber() override;
  void CopyFrom(const CzemNode* source) override;

 private:
  float* variable_;
};

class CzemDoubleRef : public CzemDouble {
 public:
  explicit CzemDoubleRef(double* variable = nullptr) : variable_(variable) {}
  CzemNode* NewEmpty() const override { return new CzemDoubleRef(); }
  int IsDouble() override { return variable_ != nullptr ? 1 : 0; }
  double GetDouble() override { return variable_ != nullptr ? *variable_ : CzemDouble::GetDouble(); }
  bool unwritableNumber() override;
  void CopyFrom(const CzemNode* source) override;

 private:
  double* variable_;
};

class CzemBool : public CzemParam {
 public:
  explicit CzemBool(int value = 0) {
    setSyntaxClass(kSynBool);
    setValue(value);
  }
  // A boolean from file text: true exactly when the text is "true" in any case.
  static CzemBool* fromText(std::string_view text, NodeArena* arena = nullptr);

  bool arenaOnly() const override { return textsArenaOnly(); }
  CzemNode* NewEmpty() const override { return new CzemBool(); }
  int IsBool() override { return 1; }
  int GetBool() override { return boolValue(); }
  void setValue(int value) { value_ = value; }
  void Write(OutputStream& out) override;
  void CopyFrom(const CzemNode* source) override;

 protected:
  int boolValue() const { return value_; }

 private:
  // Any int a caller stores is kept unchanged.
  int value_ = 0;
};

class CzemBoolRef : public CzemBool {
 public:
  explicit CzemBoolRef(int* variable = nullptr) : variable_(variable) {}
  CzemNode* NewEmpty() const override { return new CzemBoolRef(); }
  int GetBool() override { return variable_ != nullptr ? *variable_ : boolValue(); }
  void CopyFrom(const CzemNode* source) override;

 private:
  int* variable_;
};

class CzemString : public CzemParam {
 public:
  CzemString() { setSyntaxClass(kSynString); }
  explicit CzemString(std::string_view text) : CzemParam(text) { setSyntaxClass(kSynString); }
  bool arenaOnly() const override { return textsArenaOnly(); }
  CzemNode* NewEmpty() const override { return new CzemString(); }
  int IsString() override { return 1; }
  const char* GetString() override { return valueText().c_str(); }
  void Write(OutputStream& out) override;
  void CopyFrom(const CzemNode* source) override;
};

class CzemStringRef : public CzemString {
 public:
  explicit CzemStringRef(const char** variable = nullptr) : variable_(variable) {}
  // A copy is a plain string: the binding is not duplicated by NewEmpty.
  CzemNode* NewEmpty() const override { return new CzemString(); }
  bool arenaOnly() const override { return false; }  // its last read text is its own
  const char* GetString() override;
  void CopyFrom(const CzemNode* source) override;
  // The text the binding points at now; empty while unbound or bound to null.
  std::string_view boundText() const {
    return variable_ != nullptr && *variable_ != nullptr ? std::string_view(*variable_) : std::string_view();
  }

 private:
  const char** variable_;
  Text lastRead_;
};

class CzemUndefinedPar : public CzemParam {
 public:
  CzemUndefinedPar() { setSyntaxClass(kSynUndefinedPar); }
  bool arenaOnly() const override { return textsArenaOnly(); }
  CzemNode* NewEmpty() const override { return new CzemUndefinedPar(); }
  int IsUndefinedPar() override { return 1; }
  void Write(OutputStream& out) override { writeValueText(out); }
};

class CzemDateTime : public CzemParam {
 public:
  explicit CzemDateTime(std::string_view text = {}) : CzemParam(text) { setSyntaxClass(kSynFilename); }
  bool arenaOnly() const override { return textsArenaOnly(); }
  CzemNode* NewEmpty() const override { return new CzemDateTime(); }
  void Write(OutputStream& out) override;
};

class CzemSubstit : public CzemParam {
 public:
  explicit CzemSubstit(std::string_view text = {}) : CzemParam(text) { setSyntaxClass(kSynSubstit); }
  bool arenaOnly() const override { return textsArenaOnly(); }
  CzemNode* NewEmpty() const override { return new CzemSubstit(); }
  void Write(OutputStream& out) override;
};

class CzemDefaultPar : public CzemParam {
 public:
  CzemDefaultPar() { setSyntaxClass(kSynDefaultPar); }
  bool arenaOnly() const override { return textsArenaOnly(); }
  CzemNode* NewEmpty() const override { return new CzemDefaultPar(); }
  int IsDefaultPar() override { return 1; }
  void Write(OutputStream& out) override { writeValueText(out); }
};

class CzemUnknown : public CzemParam {
 public:
  CzemUnknown() { setSyntaxClass(kSynUnknown); }
  bool arenaOnly() const override { return textsArenaOnly(); }
  CzemNode* NewEmpty() const override { return new CzemUnknown(); }
  void Write(OutputStream& out) override;
};

}  // namespace zem
