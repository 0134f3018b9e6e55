#include "clob/clob.hpp"

#include "model/name_compare.hpp"
#include "model/value_factory.hpp"
#include "paths/filename.hpp"
#include "text/output_stream.hpp"

namespace zem {
namespace {

constexpr std::string_view kClobPrefix = "<CLOB:";

// The name of the highest type bit of a mask, as messages name types.
const char* typeName(int typeMask) {
  static constexpr const char* kNames[] = {"Boolean", "Integer", "Float", "Double", "String", "Filename"};
  for (int bit = 5; bit >= 0; --bit) {
    if ((typeMask & (1 << bit)) != 0) return kNames[bit];
  }
  return "";
}

// Apostrophes doubled: the whole CLOB is written as one single-quoted string.
// A CR right before a LF is written twice: the reader takes a CR LF pair as LF.
void writeEscapingApostrophes(OutputStream& out, std::string_view text) {
  char previous = 0;
  for (char c : text) {
    if (c == '\'' || (c == '\n' && previous == '\r')) out << (c == '\'' ? c : previous);
    out << c;
    previous = c;
  }
}

}  // namespace

// ---- the read cursor --------------------------------------------------------

void CzemClob::read(int typeMask) {
  // The item and message are memory of this value's own.
  valueChanged();
  item_.reset();
  clearMessage();
  ClobLexeme lexeme = lexClobItem(text(), position_);
  atEnd_ = lexeme.outcome == ClobLexeme::kEnd;
  if (lexeme.outcome == ClobLexeme::kEnd) {
    setMessage(kClobEndMessage);
    return;
  }
  if (lexeme.outcome == ClobLexeme::kSyntaxError) {
    setMessage(kClobSyntaxMessage);
    return;
  }
  position_ = lexeme.next;
  if (typeMask != kClobAnyType && (lexeme.itemClass & typeMask) != typeMask) {
    setMessage(std::string("CLOB data parsing failed. ") + typeName(typeMask) + " expected.");
    return;
  }
  item_.reset(makeItem(lexeme, typeMask));
}

CzemNode* CzemClob::makeItem(const ClobLexeme& lexeme, int typeMask) {
  const std::string& text = lexeme.text;
  switch (lexeme.itemClass) {
    case kClobWord:
      if (equalsIgnoringCase(text, "true") || equalsIgnoringCase(text, "false")) return CzemBool::fromText(text);
      setMessage("'" + text + "' is not a valid Boolean value");
      return nullptr;
    case kClobIntegerLiteral:
    case kClobRealLiteral: {
      bool converted = false;
      std::unique_ptr<CzemNumeric> number;
      if (lexeme.itemClass == kClobIntegerLiteral)
        number.reset(CzemInt::fromText(text, converted));
      else
        number.reset(CzemReal::fromText(text, converted));
      // An integer literal too large for the type is refused like a real
      // one: its clamped value would pass for the number that was stored.
      if (typeMask == kClobFloat && number->IsFloat() == 0) {
        setMessage("'" + text + "' is not a valid Float.");
        return nullptr;
      }
      if (typeMask == kClobDouble && number->IsDouble() == 0) {
        setMessage("'" + text + "' is not a valid Double.");
        return nullptr;
      }
      return number.release();
    }
    case kClobQuotedString:
      return new CzemString(text);
    case kClobBarredName: {
      // The name resolves against the CLOB's document, but the CLOB's parent
      // does not list it: it dies with the CLOB's next read.
      CzemNode* name = makeFilenameValue(text);
      name->setParent(parent());
      return name;
    }
    default:
      return nullptr;
  }
}

int CzemClob::GetBool() {
  read(kClobBoolean);
  return item_ ? item_->GetBool() : 0;
}

int CzemClob::GetInt() {
  read(kClobInteger);
  return item_ ? item_->GetInt() : 0;
}

float CzemClob::GetFloat() {
  read(kClobFloat);
  return item_ ? item_->GetFloat() : 0.0f;
}

double CzemClob::GetDouble() {
  read(kClobDouble);
  return item_ ? item_->GetDouble() : 0.0;
}

// ---- building and resetting -------------------------------------------------

void CzemClob::ownItems() {
  if (!inValue_) return;
  ownedText().assign(valueText().view());
  inValue_ = false;
  setValueText({});
}

void CzemClob::append(std::string_view itemText) {
  ownItems();
  std::string& items = ownedText();
  if (!items.empty()) {
    // A cursor with nothing but blanks ahead moves past the new separator, so
    // that the next read finds the new item instead of a stray comma.
    const bool cursorAtEnd = items.find_first_not_of(" \t\n\v\f\r", position_) == std::string::npos;
    items += ',';
    if (cursorAtEnd) position_ = items.size();
  }
  items.append(itemText);
  clearMessage();
  atEnd_ = false;
}

void CzemClob::reset(bool clearText) {
  item_.reset();
  position_ = 0;
  clearMessage();
  if (clearText) {
    // Loaded items are dropped where they are, not moved out first.
    if (inValue_) {
      inValue_ = false;
      setValueText({});
    } else if (owned_) {
      owned_->text.clear();
    }
  }
  atEnd_ = text().empty();
}

void CzemClob::CopyFrom(const CzemNode* source) {
  const auto* from = dynamic_cast<const CzemClob*>(source);
  if (from == nullptr || from == this) return;
  // The value text comes along: the copy keeps its items where the source does.
  CzemParam::CopyFrom(source);
  if (from->owned_ && !from->owned_->text.empty())
    ownedText() = from->owned_->text;
  else if (owned_)
    owned_->text.clear();
  inValue_ = from->inValue_;
  position_ = 0;
  item_.reset();
  atEnd_ = text().empty();
}

// ---- writing ----------------------------------------------------------------

void CzemClob::Write(OutputStream& out) {
  out << "'<CLOB:";
  std::size_t position = 0;  // a private cursor: the read cursor stays put
  bool first = true;
  for (;;) {
    ClobLexeme lexeme = lexClobItem(text(), position);
    if (lexeme.outcome == ClobLexeme::kEnd) break;
    if (!first) out << ',';
    first = false;
    if (lexeme.outcome == ClobLexeme::kSyntaxError) {
      // Text that does not lex (only possible from a file) is kept as it
      // stands, so that writing loses nothing and reading fails at the same item.
      std::string_view rest = text().substr(position);
      while (!rest.empty() && (rest.front() == ' ' || (rest.front() >= '\t' && rest.front() <= '\r')))
        rest.remove_prefix(1);
      writeEscapingApostrophes(out, rest);
      break;
    }
    position = lexeme.next;
    switch (lexeme.itemClass) {
      case kClobQuotedString:
        out << '"';
        for (std::size_t i = 0; i < lexeme.text.size(); ++i) {
          const char c = lexeme.text[i];
          if (c == '"' || c == '\'') out << c;
          if (c == '\n' && i > 0 && lexeme.text[i - 1] == '\r') out << '\r';
          out << c;
        }
        out << '"';
        break;
      case kClobBarredName:
        out << '|';
        writeEscapingApostrophes(out, renderFilename(out, GetAnchorFilename(), lexeme.text));
        out << '|';
        break;
      default:
        out << lexeme.text;
        break;
    }
  }
  out << ">'";
}

// ---- makers -------------------------------------------------------------------

CzemNode* makeClobOrString(std::string_view content, NodeArena* arena) {
  const bool isClob = content.size() > kClobPrefix.size() && content.back() == '>' &&
                      equalsIgnoringCase(content.substr(0, kClobPrefix.size()), kClobPrefix);
  if (isClob) {
    const std::string_view items = content.substr(kClobPrefix.size(), content.size() - kClobPrefix.size() - 1);
    return arena != nullptr ? arena->make<CzemClob>(items, arena) : new CzemClob(items);
  }
  if (arena == nullptr) return new CzemString(content);
  CzemString* value = arena->make<CzemString>();
  value->setValueText(content, arena);
  return value;
}

CzemNode* makeEmptyClob() { return new CzemClob(); }

}  // namespace zem
