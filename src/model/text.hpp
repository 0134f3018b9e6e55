// A compact owned byte string: texts of up to 15 bytes live inside the object,
// longer ones on the heap. Names and values of a tree are mostly short, so most
// nodes carry their texts without a separate allocation. A text may carry
// rarely present companions beside it (a node's auxiliary text, the last full
// name handed out for a named node): the texts then move to a small heap
// record, so the common text pays nothing for them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string_view>
#include <utility>

#include "text/byte_words.hpp"

namespace zem {

struct TextWithAux;
struct TextWithNote;

class Text {
 public:
  Text() noexcept { clearInline(); }
  explicit Text(std::string_view s) {
    clearInline();
    assign(s);
  }
  Text(const Text& other) {
    clearInline();
    assign(other.view());
  }
  Text& operator=(const Text& other) {
    if (this != &other) assign(other.view());
    return *this;
  }
  Text(Text&& other) noexcept {
    std::memcpy(raw_, other.raw_, sizeof raw_);
    other.clearInline();
  }
  Text& operator=(Text&& other) noexcept {
    if (this != &other) {
      release();
      std::memcpy(raw_, other.raw_, sizeof raw_);
      other.clearInline();
    }
    return *this;
  }
  ~Text() { release(); }

  void assign(std::string_view s) {
    if (hasRecord()) return assignMain(s);
    if (s.size() <= kInlineMax) {
      char* old = owned() ? heapPtr() : nullptr;
      // s may point into this object's own heap block: it is read whole
      // before anything is stored, and freed after.
      byte_words::copyShort(raw_, s.data(), s.size());
      raw_[s.size()] = 0;
      raw_[kTag] = static_cast<unsigned char>(kInlineMax - s.size());
      // Most texts never had a block: no call for them.
      if (old != nullptr) std::free(old);
      return;
    }
    char* block = static_cast<char*>(std::malloc(s.size() + 1));
    if (block == nullptr) throw std::bad_alloc();
    std::memcpy(block, s.data(), s.size());
    block[s.size()] = '\0';
    release();
    const auto len = static_cast<std::uint32_t>(s.size());
    std::memcpy(raw_, &block, sizeof block);
    std::memcpy(raw_ + 8, &len, sizeof len);
    raw_[kTag] = kHeapTag;
  }
  // Empties the text; an auxiliary text stays.
  void clear() {
    if (hasRecord())
      assignMain({});
    else
      release();
  }

  // Refers to `s` without copying it. `s` must be zero-terminated and outlive
  // this Text (a node arena guarantees both); the Text never frees it.
  void borrow(std::string_view s) noexcept {
    if (hasRecord()) return borrowMain(s);
    release();
    char* p = const_cast<char*>(s.data());
    const auto len = static_cast<std::uint32_t>(s.size());
    std::memcpy(raw_, &p, sizeof p);
    std::memcpy(raw_ + 8, &len, sizeof len);
    raw_[kTag] = kBorrowedTag;
  }

  static constexpr std::size_t kInlineMax = 15;

  const char* c_str() const noexcept {
    if (hasRecord()) return mainCStr();
    return onHeap() ? heapPtr() : reinterpret_cast<const char*>(raw_);
  }
  const char* data() const noexcept { return c_str(); }
  std::size_t size() const noexcept {
    if (hasRecord()) return mainSize();
    if (!onHeap()) return kInlineMax - raw_[kTag];
    std::uint32_t len;
    std::memcpy(&len, raw_ + 8, sizeof len);
    return len;
  }
  bool empty() const noexcept { return size() == 0; }
  std::string_view view() const noexcept { return {c_str(), size()}; }
  // Whether the text holds a heap block that its destruction frees.
  bool ownsMemory() const noexcept { return owned() || hasRecord(); }

  // The auxiliary text: empty when there is none.
  bool hasAux() const noexcept;
  std::string_view aux() const noexcept;
  const char* auxCStr() const noexcept;
  void setAux(std::string_view s);
  void clearAux();

  // A note kept beside the text until it is replaced or cleared (a named
  // node keeps the full name it handed out last); returns the stored copy.
  const char* setNote(std::string_view s);
  void clearNote();

 private:
  // The last byte tags the form. An inline text keeps there how far it falls
  // short of the room, so a text that fills the room ends in the zero that
  // tag is.
  static constexpr std::size_t kTag = 15;
  static constexpr unsigned char kHeapTag = 0xFF;
  static constexpr unsigned char kBorrowedTag = 0xFE;
  static constexpr unsigned char kAuxTag = 0xFD;   // raw_ holds a TextWithAux*
  static constexpr unsigned char kNoteTag = 0xFC;  // raw_ holds a TextWithNote*

  bool hasRecord() const noexcept { return raw_[kTag] == kAuxTag || raw_[kTag] == kNoteTag; }
  bool hasNoteRecord() const noexcept { return raw_[kTag] == kNoteTag; }
  TextWithNote* noteRecord() const noexcept;
  // Gives the record's main text back to this text and frees the record.
  void dropRecord() noexcept;

  // Heap and borrowed texts both keep a pointer and a length.
  bool onHeap() const noexcept { return raw_[kTag] >= kBorrowedTag; }
  TextWithAux* record() const noexcept {
    TextWithAux* r;
    std::memcpy(&r, raw_, sizeof r);
    return r;
  }
  void assignMain(std::string_view s);
  void borrowMain(std::string_view s) noexcept;
  const char* mainCStr() const noexcept;
  std::size_t mainSize() const noexcept;
  bool owned() const noexcept { return raw_[kTag] == kHeapTag; }
  char* heapPtr() const noexcept {
    char* p;
    std::memcpy(&p, raw_, sizeof p);
    return p;
  }
  void clearInline() noexcept {
    raw_[0] = 0;
    raw_[kTag] = kInlineMax;
  }
  void release() noexcept;

  unsigned char raw_[16];
};

static_assert(sizeof(Text) == 16);

struct TextWithAux {
  Text main;
  Text aux;
};

// The record once a note is kept: the auxiliary text may then be absent.
struct TextWithNote : TextWithAux {
  Text note;
  bool auxPresent = false;  // an empty auxiliary text is one too
};

inline TextWithNote* Text::noteRecord() const noexcept { return static_cast<TextWithNote*>(record()); }

inline void Text::release() noexcept {
  if (owned()) std::free(heapPtr());
  if (hasNoteRecord())
    delete noteRecord();
  else if (hasRecord())
    delete record();
  clearInline();
}
inline void Text::assignMain(std::string_view s) { record()->main.assign(s); }
inline void Text::borrowMain(std::string_view s) noexcept { record()->main.borrow(s); }
inline const char* Text::mainCStr() const noexcept { return record()->main.c_str(); }
inline std::size_t Text::mainSize() const noexcept { return record()->main.size(); }
inline bool Text::hasAux() const noexcept { return hasNoteRecord() ? noteRecord()->auxPresent : hasRecord(); }
inline std::string_view Text::aux() const noexcept { return hasRecord() ? record()->aux.view() : std::string_view(); }
inline const char* Text::auxCStr() const noexcept { return hasRecord() ? record()->aux.c_str() : ""; }

inline void Text::dropRecord() noexcept {
  TextWithAux* r = record();
  const bool note = hasNoteRecord();
  std::memcpy(raw_, r->main.raw_, sizeof raw_);
  r->main.clearInline();
  if (note)
    delete static_cast<TextWithNote*>(r);
  else
    delete r;
}

inline void Text::setAux(std::string_view s) {
  // s may be this text itself, which a new record is about to take over.
  Text copy(s);
  if (hasNoteRecord()) {
    noteRecord()->aux = std::move(copy);
    noteRecord()->auxPresent = true;
    return;
  }
  if (hasRecord()) {
    record()->aux = std::move(copy);
    return;
  }
  // The present text moves into the record with its storage (a borrowed
  // text stays borrowed).
  auto* r = new TextWithAux;
  r->aux = std::move(copy);
  std::memcpy(r->main.raw_, raw_, sizeof raw_);
  std::memcpy(raw_, &r, sizeof r);
  raw_[kTag] = kAuxTag;
}

inline void Text::clearAux() {
  if (hasNoteRecord()) {
    TextWithNote* r = noteRecord();
    r->aux.clear();
    r->auxPresent = false;
    if (r->note.empty()) dropRecord();
  } else if (hasRecord()) {
    dropRecord();
  }
}

inline const char* Text::setNote(std::string_view s) {
  // The same note again keeps its place: a text handed out stays valid.
  if (hasNoteRecord() && noteRecord()->note.view() == s) return noteRecord()->note.c_str();
  // s may be this text itself, which the record is about to take over.
  Text copy(s);
  if (!hasNoteRecord()) {
    auto* r = new TextWithNote;
    if (hasRecord()) {
      TextWithAux* old = record();
      std::memcpy(r->main.raw_, old->main.raw_, sizeof raw_);
      old->main.clearInline();
      r->aux = std::move(old->aux);
      r->auxPresent = true;
      delete old;
    } else {
      std::memcpy(r->main.raw_, raw_, sizeof raw_);
    }
    TextWithAux* base = r;
    std::memcpy(raw_, &base, sizeof base);
    raw_[kTag] = kNoteTag;
  }
  noteRecord()->note = std::move(copy);
  return noteRecord()->note.c_str();
}

inline void Text::clearNote() {
  if (!hasNoteRecord()) return;
  TextWithNote* r = noteRecord();
  r->note.clear();
  if (!r->auxPresent) dropRecord();
}

}  // namespace zem
