#include "diagnose.hpp"

#include <cctype>

#include "zem/zem.h"

namespace zemtool {
namespace {

enum class Kind { Ident, EndSect, Default, Literal, Char, End };

struct Token {
  Kind kind = Kind::End;
  char c = 0;  // the character of a Kind::Char token
  std::string text;
  int line = 0, column = 0;        // first character
  int endLine = 0, endColumn = 0;  // last character, as the loader stands after it
};

struct Comment {
  std::string text;  // as written, with its // ; /* */ marks
  int line = 0;
  bool afterEndSect = false;  // on the line of an EndSect, right after it
  std::string closed;         // then the name of the section that EndSect closed
};

struct Open {
  std::string what;  // "section 'A'", "string", "comment", "braced text"
  int line = 0, column = 0;
};

// Walks the text as the loader's lexer does, counting lines and columns the
// same way, far enough to tell which token the loader refused and what was
// left open around it.
class Scanner {
 public:
  explicit Scanner(const SourceText& text) : s_(text.bytes()), i_(text.offset(1, 1)) {}

  // The next token; Kind::End at the end of the text or at a token left open
  // (then `unclosed` says what and where).
  Token next() {
    skipBlanksAndComments();
    Token t;
    t.line = line_;
    t.column = column_ + 1;
    const int c = get();
    if (c < 0) {
      t.endLine = line_;
      t.endColumn = column_;
      return t;
    }
    if (std::isalpha(c) != 0) {
      t.text = static_cast<char>(c);
      while (i_ < s_.size() && (std::isalnum(static_cast<unsigned char>(s_[i_])) != 0 || s_[i_] == '_'))
        t.text += static_cast<char>(get());
      t.kind = same(t.text, "endsect") ? Kind::EndSect : same(t.text, "default") ? Kind::Default : Kind::Ident;
      if (same(t.text, "true") || same(t.text, "false")) t.kind = Kind::Literal;
    } else if (c == '\'' || c == '{' || c == '#' || c == '|') {
      const char close = c == '{' ? '}' : static_cast<char>(c);
      const bool lineOnly = c == '#' || c == '|';
      for (;;) {
        const int d = get();
        if (d < 0 || (lineOnly && d == '\n')) {
          unclosed = {c == '\'' ? "string" : c == '{' ? "braced text" : "text", t.line, t.column};
          return Token{};
        }
        if (d == close) {
          if (c == '\'' && i_ < s_.size() && s_[i_] == '\'') {
            get();
            continue;
          }
          break;
        }
      }
      t.kind = Kind::Literal;
    } else if (std::isdigit(c) != 0 ||
               (c == '.' && i_ < s_.size() && std::isdigit(static_cast<unsigned char>(s_[i_])))) {
      while (i_ < s_.size() && (std::isdigit(static_cast<unsigned char>(s_[i_])) != 0 || s_[i_] == '.')) get();
      if (i_ < s_.size() && (s_[i_] == 'e' || s_[i_] == 'E')) {
        get();
        if (i_ < s_.size() && (s_[i_] == '+' || s_[i_] == '-')) get();
        while (i_ < s_.size() && std::isdigit(static_cast<unsigned char>(s_[i_])) != 0) get();
      }
      t.kind = Kind::Literal;
    } else {
      t.kind = Kind::Char;
      t.c = static_cast<char>(c);
    }
    t.endLine = line_;
    t.endColumn = column_;
    return t;
  }

  Open unclosed;
  std::vector<Comment> comments;
  // Set by the caller after each token: the line of an EndSect token (else 0) and the section it closed.
  int endSectLine = 0;
  std::string endSectName;

 private:
  static bool same(const std::string& a, const char* b) {
    std::size_t k = 0;
    for (; k < a.size() && b[k] != '\0'; ++k)
      if (std::tolower(static_cast<unsigned char>(a[k])) != b[k]) return false;
    return k == a.size() && b[k] == '\0';
  }

  int get() {
    if (i_ >= s_.size()) return -1;
    const auto c = static_cast<unsigned char>(s_[i_++]);
    if (c == '\r' && i_ < s_.size() && s_[i_] == '\n') return get();  // CR LF is one line end
    if (c == '\n') {
      ++line_;
      column_ = 0;
    } else {
      ++column_;
    }
    return c;
  }

  void skipBlanksAndComments() {
    for (;;) {
      while (i_ < s_.size() && std::isspace(static_cast<unsigned char>(s_[i_])) != 0) get();
      if (i_ >= s_.size()) return;
      const std::size_t start = i_;
      const int line = line_;
      if (s_[i_] == ';' || s_.compare(i_, 2, "//") == 0) {
        while (i_ < s_.size() && s_[i_] != '\n') get();
      } else if (s_.compare(i_, 2, "/*") == 0) {
        const Open start{"comment", line_, column_ + 1};
        int depth = 0;
        do {
          if (i_ >= s_.size()) {
            unclosed = start;
            return;
          }
          if (s_.compare(i_, 2, "/*") == 0) {
            get(), get(), ++depth;
          } else if (s_.compare(i_, 2, "*/") == 0) {
            get(), get(), --depth;
          } else {
            get();
          }
        } while (depth > 0);
      } else {
        return;
      }
      std::size_t end = i_;
      if (end > start && s_[end - 1] == '\r') --end;
      const bool afterEndSect = endSectLine != 0 && line == endSectLine;
      comments.push_back({s_.substr(start, end - start), line, afterEndSect, afterEndSect ? endSectName : ""});
      endSectLine = 0;
    }
  }

  const std::string& s_;
  std::size_t i_;
  int line_ = 1, column_ = 0;
};

// The token reader's message when it fails on the loader's line, "" otherwise.
Note tokenReaderNote(const SourceText& text, const std::string& path, int line) {
  CzemTokenReader* reader = nullptr;
  if (zemtLoadFile(path.c_str(), &reader) != 0) return {};
  int code;
  while ((code = zemtNextToken(reader)) > 0) {
  }
  Note note;
  int errLine = 0, errColumn = 0;
  const char* message = zemtGetError(reader, &errLine, &errColumn);
  if (code < 0 && message != nullptr && *message != '\0' && errLine == line) {
    text.pointAtCharacter(errLine, errColumn);
    note = {errLine, errColumn, message};
  }
  zemtDispose(&reader);
  return note;
}

bool sameText(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) return false;
  return true;
}

std::string trimmed(const std::string& t) {
  const std::size_t from = t.find_first_not_of(" \t");
  if (from == std::string::npos) return "";
  return t.substr(from, t.find_last_not_of(" \t") - from + 1);
}

}  // namespace

int droppedComments(const SourceText& text) {
  Scanner scanner(text);
  std::vector<std::string> sections;
  bool afterBracket = false;
  for (Token t = scanner.next(); t.kind != Kind::End; t = scanner.next()) {
    if (afterBracket && t.kind == Kind::Ident) sections.push_back(t.text);
    afterBracket = t.kind == Kind::Char && t.c == '[';
    scanner.endSectLine = 0;
    if (t.kind == Kind::EndSect && !sections.empty()) {
      scanner.endSectLine = t.line;
      scanner.endSectName = sections.back();
      sections.pop_back();
    }
  }
  // The writer makes its header and the "EndSect  // Name" labels again.
  static const char* const kHeader[] = {"// Created     :", "// DLL         :", "// Version     :"};
  int dropped = 0;
  std::size_t header = 0;
  for (const Comment& c : scanner.comments) {
    const bool headerLine =
        header < 3 && c.line == static_cast<int>(header) + 1 && c.text.rfind(kHeader[header], 0) == 0;
    header = headerLine ? header + 1 : 3;
    const bool label = c.afterEndSect && c.text.rfind("//", 0) == 0 && sameText(trimmed(c.text.substr(2)), c.closed);
    if (!headerLine && !label) ++dropped;
  }
  return dropped;
}

std::vector<Note> loadErrorNotes(const SourceText& text, const std::string& path, const std::string& message, int line,
                                 int column) {
  Scanner scanner(text);
  std::vector<Open> sections;
  Token refused, previous, beforeRefused;
  bool afterBracket = false, atEnd = false;
  for (;;) {
    Token t = scanner.next();
    if (t.kind == Kind::End) {
      refused = t;
      atEnd = true;
      break;
    }
    if (afterBracket && t.kind == Kind::Ident)
      sections.push_back({"section '" + t.text + "'", previous.line, previous.column});
    if (t.kind == Kind::EndSect && !sections.empty()) sections.pop_back();
    afterBracket = t.kind == Kind::Char && t.c == '[';
    beforeRefused = previous;
    previous = t;
    // The loader stands just after the token that no rule accepts; at the
    // end of a file without a last line end the end itself stands there too.
    if (t.endLine == line && t.endColumn == column) {
      refused = t;
      atEnd = scanner.next().kind == Kind::End && scanner.unclosed.what.empty();
      break;
    }
  }

  std::vector<Note> notes;
  const Open& open = scanner.unclosed;
  if (!open.what.empty() && (message == "Bad string" || message == "Bad comment" || message == "Missing }" ||
                             message == "Missing #" || message == "Missing |")) {
    notes.push_back({open.line, open.column, "the " + open.what + " that is not closed begins here"});
    return notes;
  }
  if (message != "syntax error") return notes;
  if (refused.kind == Kind::Ident && sections.empty()) {
    notes.push_back({refused.line, refused.column,
                     "'" + refused.text + "' stands outside any section: keywords must stand inside a section"});
  } else if (refused.kind == Kind::Default && sections.empty()) {
    notes.push_back({refused.line, refused.column, "default lines must stand inside a section"});
  } else if (refused.kind == Kind::EndSect && sections.empty()) {
    notes.push_back({refused.line, refused.column, "this EndSect closes no section"});
  } else if (refused.kind == Kind::Literal && beforeRefused.kind == Kind::Literal && !atEnd) {
    notes.push_back({refused.line, refused.column, "values of a keyword are separated by commas"});
  }
  if (notes.empty()) {
    Note reader = tokenReaderNote(text, path, line);
    if (!reader.text.empty()) notes.push_back(reader);
  }
  if (atEnd && !sections.empty())
    notes.push_back(
        {sections.back().line, sections.back().column, sections.back().what + " opened here has no EndSect"});
  return notes;
}

}  // namespace zemtool
