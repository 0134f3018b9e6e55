// The parser of parameter files: the lexer, the grammar actions that build the
// node tree, and the bookkeeping that frees a partial tree after a failure.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <memory>
#include <string_view>
#include <vector>

#include "model/node_arena.hpp"
#include "text/engine.hpp"
#include "text/token.hpp"

namespace zem {

class CzemParam;

class CzemNode;
class CzemTargetList;
class CzemSection;
class CzemKeyword;
class CzemDefaultDef;

// Entries of the parse stack. The start takes two, each open section one and
// the deepest construct in a section (a signed number after '=') four, so
// sections nest 144 levels deep.
inline constexpr int kParseStackLimit = 150;

class CzemParser final : public CyyParser {
 public:
  enum Mode : int { kUndecided = 0, kDataFile = 1, kTemplateFile = 2 };
  // How a parse runs. A well-formed file from a source that can start over
  // first goes through the fast reader; anything it does not accept is parsed
  // again from the start by the table engine, which alone reports errors.
  // Both build the same tree and counters; tests compare them.
  enum Path : int { kFastWhenPossible = 0, kEngineOnly = 1 };

  // Takes ownership of `input`.
  explicit CzemParser(CyyInput* input, Path path = kFastWhenPossible);
  ~CzemParser() override;

  // Parses the whole input once: 0 on success, 1 when an error was recorded
  // (no root is set then and the partial tree is gone). keepTokens 0 releases
  // the token texts. The input is released when the parse ends.
  int parse(int keepTokens) override;

  CzemTargetList* root() const { return root_; }
  // Hands the tree to the caller (the load handle), which deletes it from now on.
  CzemTargetList* releaseRoot() {
    CzemTargetList* tree = root_;
    root_ = nullptr;
    return tree;
  }
  int mode() const { return mode_; }
  // Which reader completed the last parse.
  enum Reader : int { kEngine = 0, kFastReader = 1, kFastReaderKeepingLineEnds = 2 };
  Reader reader() const { return reader_; }
  bool fastPathUsed() const { return reader_ != kEngine; }

  // The next token code; texts go to *text. Returns 0 for good once an error
  // is recorded.
  int yylex(TokenText* text);
  // The place of the token yylex returned last, and the end of the one before
  // it: the last token of a keyword line once its look-ahead is read.
  SourcePoint tokenStart() const { return tokenStart_; }
  SourcePoint tokenEnd() const { return tokenEnd_; }

  // Caps the token text buffer: a text that would need more fails as when
  // memory runs out.
  void setTokenLimit(std::size_t bytes) { tokenLimit_ = bytes; }

  // ---- grammar actions; the grammar calls them in rule order ----
  void acceptRoot(CzemTargetList* list);
  CzemTargetList* newTargetList();
  void appendSection(CzemTargetList* parent, CzemSection* section);
  void appendKeyword(CzemSection* section, CzemKeyword* keyword);
  void appendDefaultDef(CzemSection* section, CzemDefaultDef* definition);
  // `at` is the first token of the node's text.
  CzemSection* newSection(TokenText at, TokenText name, std::uint32_t flags);
  // The engine reduces a section when its EndSect is read.
  static void endSection(CzemSection* section, TokenText endSect);
  CzemKeyword* newKeyword(TokenText at, std::string_view name, std::uint32_t flags);
  CzemDefaultDef* newDefaultDef(TokenText at, std::string_view name, std::uint32_t flags);
  // An empty place in a keyword list / a default line.
  void appendUndefined(CzemKeyword* keyword);
  void appendDefaultPar(CzemDefaultDef* definition);
  void appendValue(CzemKeyword* keyword, CzemNode* value);
  static void setAuxText(CzemNode* node, TokenText text);
  CzemNode* newUnknown(TokenText braced);
  CzemNode* newInt(TokenText text);
  CzemNode* newReal(TokenText text);
  CzemNode* newBool(TokenText text);
  CzemNode* newStringOrClob(TokenText text);
  CzemNode* newDateTime(TokenText text);
  CzemNode* newFilename(TokenText text);
  CzemNode* newSubstit(TokenText text);
  static TokenText withSign(char sign, TokenText number);
  // The "()" marker: a data file may not hold it; otherwise the file is a template.
  void templateMarkerCheck();
  // Engine failures: "syntax error" and stack exhaustion.
  void engineError(const char* message);

 private:
  friend class FastParse;

  // Texts alive at once: a look-ahead token and at most two shifted tokens
  // whose rule has not been reduced yet (DEFAULT ( IDENT, or IDENT before a
  // braced text). Each text token takes the next buffer, so four buffers never
  // overwrite a text still in use.
  static constexpr std::size_t kTextBuffers = 4;

  template <typename T>
  T* track(T* node);

  // ---- node makers of both readers; the nodes are not tracked ----
  template <typename T>
  T* makeNamed(std::string_view name, std::uint32_t flags);
  template <typename T>
  T* makeText(std::string_view text);
  CzemTargetList* makeTargetList();
  CzemSection* makeSection(std::string_view name, std::uint32_t flags);
  CzemKeyword* makeKeyword(std::string_view name, std::uint32_t flags);
  CzemDefaultDef* makeDefaultDef(std::string_view name, std::uint32_t flags);
  CzemParam* makeDateTime(std::string_view text);
  CzemParam* makeSubstit(std::string_view text);
  CzemNode* makeUnknown(std::string_view braced);
  // `ok` turns false when the number is out of the double range.
  CzemParam* makeInt(std::string_view text, bool& ok);
  CzemParam* makeReal(std::string_view text, bool& ok);
  // Numbers whose digits the reader has already read (see CzemInt::fromDigits).
  CzemParam* makeInt(std::string_view text, std::uint64_t magnitude, bool negative);
  CzemParam* makeReal(std::string_view text, double number);
  CzemParam* makeBool(std::string_view text);
  CzemNode* makeStringOrClob(std::string_view text);
  CzemNode* makeFilename(std::string_view text);
  CzemNode* makeUndefined();
  CzemNode* makeDefaultPar();

  // Runs the fast reader; true when it built the whole tree.
  bool parseFast();
  // Puts the parser back to its state before a parse, for the engine to
  // start over after the fast reader gave up.
  void startOver();
  // A repeated name makes a file a data file; a template may not hold one.
  void ambiguityCheck(unsigned instances);
  // Frees every created node that never got a parent, with its subtree.
  void discardPartialTree();
  // Gives the values of the ended line to `owner` (a keyword or a default definition).
  void closeLine(CzemKeyword* owner);
  TokenBuffer& nextTextBuffer();
  int readToken(TokenText* text);
  SourcePoint here() const { return {input().line(), input().column() + 1}; }
  int lexText(int c, TokenText* text);
  int lexNumber(int c, TokenBuffer& buffer);
  template <typename InRun>
  bool takeRun(TokenBuffer& buffer, InRun inRun);
  int takeDelimited(TokenBuffer& buffer, unsigned char close, bool newlineEnds, bool dropNewlines);
  int bufferFailed();  // records the failure; returns the end token

  int mode_ = kUndecided;
  SourcePoint tokenStart_{};
  SourcePoint tokenEnd_{};
  SourcePoint previousTokenEnd_{};
  Path path_;
  Reader reader_ = kEngine;
  CzemTargetList* root_ = nullptr;
  // Every node an action created and that may still lack a parent, in order
  // of creation. Attached nodes are pruned from time to time: nodes never
  // lose their parent during a parse.
  std::vector<CzemNode*> nodeStack_;
  std::size_t pruneAt_;
  // Values of the keyword or default line being read. They join their line
  // when it ends, so each value list is sized once; they are on the node
  // stack until then.
  std::vector<CzemNode*> openLine_;
  // Set by the fast reader while every value of the open line holds nothing
  // but its place in the arena (it knows the class of each value it makes):
  // closing the line then asks no value for it.
  bool openLineArenaOnly_ = false;
  std::array<TokenBuffer, kTextBuffers> textBuffers_;
  std::size_t nextBuffer_ = 0;
  std::size_t tokenLimit_ = std::numeric_limits<std::size_t>::max();
  // Holds every node and long text of the tree; it outlives the tree, which
  // the parser or the load handle deletes first.
  std::unique_ptr<NodeArena> arena_;
};

// The lexer under a name the generated engine does not rename.
inline int lexToken(CzemParser* parser, TokenText* text) { return parser->yylex(text); }

}  // namespace zem
