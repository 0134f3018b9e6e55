// The pending states of the token reader, used as a stack.
//
// Every open section leaves one (end, body) pair on the stack, so a plain
// stack would grow with the nesting depth of the file. Runs of such pairs are
// kept as a count instead: the stack holds a handful of entries whatever the
// depth, and reading a file takes the same memory however deep it nests.
#pragma once

#include <cstdint>
#include <vector>

namespace zem::tokens {

enum class ReaderState : std::uint8_t {
  kFile,        // before the first section
  kTop,         // after a top-level section
  kBody,        // inside a section: a keyword, subsection or EndSect may come
  kEnd,         // the EndSect of a section is due
  kValue,       // a keyword's value is due
  kAfterValue,  // a comma may introduce another value
};

class StateStack {
 public:
  bool empty() const { return entries_.empty(); }
  void clear() { entries_.clear(); }

  void push(ReaderState state) {
    if (state == ReaderState::kBody && !entries_.empty() && entries_.back().single(ReaderState::kEnd)) {
      entries_.pop_back();
      if (!entries_.empty() && entries_.back().pairs != 0) {
        ++entries_.back().pairs;
      } else {
        entries_.push_back({ReaderState::kBody, 1});
      }
      return;
    }
    entries_.push_back({state, 0});
  }

  // The caller checks empty() first.
  ReaderState pop() {
    Entry& top = entries_.back();
    if (top.pairs == 0) {
      const ReaderState state = top.state;
      entries_.pop_back();
      return state;
    }
    // The body of the top pair goes; its end stays on top.
    if (--top.pairs == 0) entries_.pop_back();
    entries_.push_back({ReaderState::kEnd, 0});
    return ReaderState::kBody;
  }

 private:
  struct Entry {
    ReaderState state;
    std::uint64_t pairs;  // 0: one `state`; n: n (end, body) pairs, body on top
    bool single(ReaderState s) const { return pairs == 0 && state == s; }
  };
  std::vector<Entry> entries_;
};

}  // namespace zem::tokens
