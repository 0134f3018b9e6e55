#include "text/zem_parser.hpp"

#include <new>

#include "model/named_nodes.hpp"
#include "model/value_factory.hpp"
#include "model/values.hpp"

namespace zem {

int runGrammar(CzemParser* parser);  // the generated engine (grammar.cpp)

namespace {
// Past this many tracked nodes the attached ones are dropped from the list.
constexpr std::size_t kPruneThreshold = 4096;
}  // namespace

CzemParser::CzemParser(CyyInput* input, Path path)
    : CyyParser(input), path_(path), pruneAt_(kPruneThreshold), arena_(std::make_unique<NodeArena>()) {}

CzemParser::~CzemParser() {
  if (root_ != nullptr) {
    destroyNode(root_);
    root_ = nullptr;
  }
  discardPartialTree();
}

int CzemParser::parse(int keepTokens) {
  int result = 0;
  // A capped token buffer is the engine's own limit: only the engine applies it.
  reader_ = kEngine;
  const bool fast = path_ == kFastWhenPossible && tokenLimit_ == std::numeric_limits<std::size_t>::max() &&
                    in().rewindable() && parseFast();
  if (!fast) {
    try {
      result = runGrammar(this);
    } catch (const std::bad_alloc&) {
      setError("Failed to extend buffer");
      result = 1;
    }
  }
  in().release();
  arena_->endGrowth();
  if (result != 0 || hasError()) {
    // The shortened input may have been accepted: the error still fails the parse.
    root_ = nullptr;
    discardPartialTree();
    result = 1;
  } else if (root_ != nullptr) {
    nodeStack_.clear();
    nodeStack_.shrink_to_fit();
  }
  if (keepTokens == 0) releaseTokenTexts();
  return result;
}

void CzemParser::discardPartialTree() {
  openLine_.clear();
  openLineArenaOnly_ = false;
  // Collect first: deleting one subtree frees nodes listed after it.
  std::vector<CzemNode*> detached;
  for (CzemNode* node : nodeStack_)
    if (node->parent() == nullptr) detached.push_back(node);
  nodeStack_.clear();
  for (CzemNode* node : detached) destroyNode(node);
}

void CzemParser::startOver() {
  if (root_ != nullptr) destroyNode(root_);
  root_ = nullptr;
  discardPartialTree();
  // No node of the first reading is left: its memory goes back at once.
  arena_ = std::make_unique<NodeArena>();
  mode_ = kUndecided;
  nextBuffer_ = 0;
  resetRecord();
}

template <typename T>
T* CzemParser::track(T* node) {
  if (nodeStack_.size() >= pruneAt_) {
    std::erase_if(nodeStack_, [](CzemNode* n) { return n->parent() != nullptr; });
    pruneAt_ = nodeStack_.size() * 2 + kPruneThreshold;
  }
  nodeStack_.push_back(node);
  return node;
}

// ---- structure -------------------------------------------------------------

void CzemParser::acceptRoot(CzemTargetList* list) {
  if (root_ == nullptr && !hasError()) root_ = list;
}

CzemTargetList* CzemParser::makeTargetList() { return arena_->make<CzemTargetList>(); }

CzemTargetList* CzemParser::newTargetList() { return track(makeTargetList()); }

void CzemParser::ambiguityCheck(unsigned instances) {
  if (instances <= 1) return;
  if (mode_ == kTemplateFile)
    setError("Template: ambiguous identifier");
  else if (mode_ == kUndecided)
    mode_ = kDataFile;
}

void CzemParser::templateMarkerCheck() {
  if (mode_ == kDataFile)
    setError("Data: invalid use of ()");
  else if (mode_ == kUndecided)
    mode_ = kTemplateFile;
}

void CzemParser::appendSection(CzemTargetList* parent, CzemSection* section) {
  ambiguityCheck(parent->addSection(section, arena_.get()));
}

void CzemParser::closeLine(CzemKeyword* owner) {
  owner->addParams(openLine_, arena_.get(), openLineArenaOnly_);
  openLine_.clear();
  openLineArenaOnly_ = false;
}

// The engine appends a line once it has read the token after it; the fast
// reader sets the end itself afterwards.
void CzemParser::appendKeyword(CzemSection* section, CzemKeyword* keyword) {
  keyword->setSpanEnd(previousTokenEnd_);
  closeLine(keyword);
  ambiguityCheck(section->addKeyword(keyword, arena_.get()));
}

void CzemParser::appendDefaultDef(CzemSection* section, CzemDefaultDef* definition) {
  definition->setSpanEnd(previousTokenEnd_);
  closeLine(definition);
  section->addDefaultDef(definition, arena_.get());
}

template <typename T>
T* CzemParser::makeNamed(std::string_view name, std::uint32_t flags) {
  T* node = arena_->make<T>(std::string_view(), flags);
  node->setName(name, arena_.get());
  return node;
}

CzemSection* CzemParser::makeSection(std::string_view name, std::uint32_t flags) {
  return makeNamed<CzemSection>(name, flags);
}

CzemKeyword* CzemParser::makeKeyword(std::string_view name, std::uint32_t flags) {
  return makeNamed<CzemKeyword>(name, flags);
}

CzemDefaultDef* CzemParser::makeDefaultDef(std::string_view name, std::uint32_t flags) {
  return makeNamed<CzemDefaultDef>(name, flags);
}

CzemSection* CzemParser::newSection(TokenText at, TokenText name, std::uint32_t flags) {
  CzemSection* section = track(makeSection(name.view(), flags));
  section->setSpanStart(at.start);
  return section;
}

void CzemParser::endSection(CzemSection* section, TokenText endSect) { section->setSpanEnd(endSect.end); }

CzemKeyword* CzemParser::newKeyword(TokenText at, std::string_view name, std::uint32_t flags) {
  CzemKeyword* keyword = track(makeKeyword(name, flags));
  keyword->setSpanStart(at.start);
  return keyword;
}

CzemDefaultDef* CzemParser::newDefaultDef(TokenText at, std::string_view name, std::uint32_t flags) {
  CzemDefaultDef* definition = track(makeDefaultDef(name, flags));
  definition->setSpanStart(at.start);
  return definition;
}

CzemNode* CzemParser::makeUndefined() { return arena_->make<CzemUndefinedPar>(); }

CzemNode* CzemParser::makeDefaultPar() { return arena_->make<CzemDefaultPar>(); }

// Only one keyword or default line is open at a time: a line ends before
// anything else can start in its section.
void CzemParser::appendUndefined(CzemKeyword*) { openLine_.push_back(track(makeUndefined())); }

void CzemParser::appendDefaultPar(CzemDefaultDef*) { openLine_.push_back(track(makeDefaultPar())); }

void CzemParser::appendValue(CzemKeyword*, CzemNode* value) { openLine_.push_back(value); }

void CzemParser::setAuxText(CzemNode* node, TokenText text) { node->setAuxText(text.view()); }

// ---- values ----------------------------------------------------------------

CzemNode* CzemParser::makeUnknown(std::string_view braced) {
  CzemNode* value = arena_->make<CzemUnknown>();
  value->setAuxText(braced);
  return value;
}

CzemParam* CzemParser::makeInt(std::string_view text, bool& ok) { return CzemInt::fromText(text, ok, arena_.get()); }

CzemParam* CzemParser::makeReal(std::string_view text, bool& ok) { return CzemReal::fromText(text, ok, arena_.get()); }

CzemParam* CzemParser::makeInt(std::string_view text, std::uint64_t magnitude, bool negative) {
  return CzemInt::fromDigits(text, magnitude, negative, arena_.get());
}

CzemParam* CzemParser::makeReal(std::string_view text, double number) {
  return CzemReal::fromValue(text, number, arena_.get());
}

CzemParam* CzemParser::makeBool(std::string_view text) { return CzemBool::fromText(text, arena_.get()); }

CzemNode* CzemParser::makeStringOrClob(std::string_view text) { return makeClobOrString(text, arena_.get()); }

CzemNode* CzemParser::makeFilename(std::string_view text) { return makeFilenameValue(text, arena_.get()); }

template <typename T>
T* CzemParser::makeText(std::string_view text) {
  T* value = arena_->make<T>();
  value->setValueText(text, arena_.get());
  return value;
}

CzemParam* CzemParser::makeDateTime(std::string_view text) { return makeText<CzemDateTime>(text); }

CzemParam* CzemParser::makeSubstit(std::string_view text) { return makeText<CzemSubstit>(text); }

CzemNode* CzemParser::newUnknown(TokenText braced) { return track(makeUnknown(braced.view())); }

CzemNode* CzemParser::newInt(TokenText text) {
  bool ok = true;
  CzemNode* value = track(makeInt(text.view(), ok));
  if (!ok) setError("Double overflow (integer)");
  return value;
}

CzemNode* CzemParser::newReal(TokenText text) {
  bool ok = true;
  CzemNode* value = track(makeReal(text.view(), ok));
  if (!ok) setError("Double overflow (real)");
  return value;
}

CzemNode* CzemParser::newBool(TokenText text) { return track(makeBool(text.view())); }

CzemNode* CzemParser::newStringOrClob(TokenText text) { return track(makeStringOrClob(text.view())); }

CzemNode* CzemParser::newDateTime(TokenText text) { return track(makeDateTime(text.view())); }

CzemNode* CzemParser::newFilename(TokenText text) { return track(makeFilename(text.view())); }

CzemNode* CzemParser::newSubstit(TokenText text) { return track(makeSubstit(text.view())); }

TokenText CzemParser::withSign(char sign, TokenText number) {
  // Every token text has a writable byte in front of it.
  number.data[-1] = sign;
  return {number.data - 1, number.size + 1, number.start, number.end};
}

void CzemParser::engineError(const char* message) { setError(message); }

}  // namespace zem
