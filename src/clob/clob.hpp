// CLOB values: a list of typed items packed into one string, read item by
// item through a cursor kept in the value. Each read materialises the item as
// an ordinary value node, which the CLOB owns until its next read.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

#include "clob/clob_lexer.hpp"
#include "model/values.hpp"

namespace zem {

class CzemClob : public CzemParam {
 public:
  CzemClob() = default;
  // A CLOB holding `text`, the items without "<CLOB:" and ">".
  explicit CzemClob(std::string_view text) : atEnd_(text.empty()) {
    if (!text.empty()) ownedText().assign(text);
  }
  // A loaded CLOB: its items stay in the value text, in the arena of the
  // tree, until the first change; closing the document then frees them.
  CzemClob(std::string_view text, NodeArena* arena) : inValue_(true), atEnd_(text.empty()) {
    setValueText(text, arena);
  }

  CzemNode* NewEmpty() const override { return new CzemClob(); }
  int IsClob() override { return 1; }
  const char* GetString() override { return inValue_ ? valueText().c_str() : owned_ ? owned_->text.c_str() : ""; }
  bool arenaOnly() const override { return inValue_ && textsArenaOnly() && item_ == nullptr && owned_ == nullptr; }
  // Each reads the next item with its own type.
  int GetBool() override;
  int GetInt() override;
  float GetFloat() override;
  double GetDouble() override;
  void Write(OutputStream& out) override;
  void CopyFrom(const CzemNode* source) override;

  // Reads the next item that serves every type of `typeMask` (kClobAnyType:
  // any item). Afterwards item(), message() and atEnd() tell the outcome.
  // A mismatched or invalid item is consumed; at a syntax error or the end
  // the cursor stays where it was.
  void read(int typeMask);
  // Appends one item text (see clob_item_forms.hpp); the cursor stays.
  void append(std::string_view itemText);
  // Back to the first item; with `clearText`, the CLOB becomes empty.
  void reset(bool clearText);

  // The node made by the last read; null after a failed read.
  CzemNode* item() const { return item_.get(); }
  // Why the last read failed; empty after a success, an append or a reset.
  const std::string& message() const { return owned_ ? owned_->message : kNoMessage; }
  void clearMessage() {
    if (owned_) owned_->message.clear();
  }
  // True while the text is empty after creation, reset or copy, and after a
  // read that found no further item.
  bool atEnd() const { return atEnd_; }
  std::string_view text() const {
    return inValue_ ? valueText().view() : owned_ ? std::string_view(owned_->text) : std::string_view();
  }

 private:
  // Makes the item of a lexed `lexeme` for a read with `typeMask`, or sets
  // the message and returns null when its value is not valid for the type.
  CzemNode* makeItem(const ClobLexeme& lexeme, int typeMask);
  // Moves loaded items out of the value text before a change.
  void ownItems();

  // What a CLOB holds of its own once it is built, changed or read with a
  // failure: a loaded CLOB that is only read item by item carries none of it.
  struct Owned {
    std::string text;  // the items, unless inValue_
    std::string message;
  };
  Owned& owned() {
    if (!owned_) owned_ = std::make_unique<Owned>();
    return *owned_;
  }
  std::string& ownedText() { return owned().text; }
  void setMessage(std::string message) { owned().message = std::move(message); }
  static inline const std::string kNoMessage;

  std::size_t position_ = 0;  // byte index where the next read starts
  std::unique_ptr<CzemNode> item_;
  std::unique_ptr<Owned> owned_;
  bool inValue_ = false;
  bool atEnd_ = true;
};

// The CLOB behind a node that answers IsClob: only CzemClob does.
inline CzemClob* asClob(CzemNode* node) { return static_cast<CzemClob*>(node); }

}  // namespace zem
