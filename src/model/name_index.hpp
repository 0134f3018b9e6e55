// The index of a target list's sections or a section's keywords by folded name.
// Each distinct name owns a group holding its nodes in child-list order; a
// node's instance number is its 1-based place in that group.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "model/node_list.hpp"

namespace zem {

class CzemNamedNode;

// Folded-name equality: ASCII letters compare without case, and the empty name
// is the same as a single blank.
bool sameFoldedName(std::string_view a, std::string_view b);

class NameIndex {
 public:
  NameIndex() = default;
  ~NameIndex();
  NameIndex(const NameIndex&) = delete;
  NameIndex& operator=(const NameIndex&) = delete;

  // Adds `node` at the end of its name's group; returns the group's new
  // length. The loader passes the tree's arena, where the index then grows.
  unsigned add(CzemNamedNode* node, NodeArena* arena = nullptr);
  // The nodes of the name in order; empty when the name is not indexed.
  std::span<CzemNamedNode* const> find(std::string_view name) const;
  void clear();
  // Fits the index's own list to its size once its node has loaded.
  void fitInArena(NodeArena& arena) { groups_.fitInArena(arena); }

 private:
  // One name's nodes. The room of a group follows from its size: one node is
  // kept inline, more live in an array of four, then of the next power of two.
  struct Group {
    std::uint32_t hash;
    std::uint32_t sizeAndFlag;  // top bit: `many` is in an arena
    union {
      CzemNamedNode* one;
      CzemNamedNode** many;
    };
    std::uint32_t size() const { return sizeAndFlag & ~kBorrowed; }
    bool borrowed() const { return (sizeAndFlag & kBorrowed) != 0; }
    static std::uint32_t roomFor(std::uint32_t size) {
      if (size <= 1) return 1;
      std::uint32_t room = 4;
      while (room < size) room *= 2;
      return room;
    }
    CzemNamedNode* const* data() const { return size() <= 1 ? &one : many; }
  };
  static constexpr std::uint32_t kBorrowed = 0x80000000u;
  // Small indexes are scanned; past this many names a hash table is kept.
  static constexpr std::size_t kScanLimit = 8;

  Group* lookup(std::string_view name, std::uint32_t hash) const;
  void rehash();

  CompactArray<Group> groups_;
  std::vector<std::uint32_t> table_;  // group number + 1, 0 for free; open addressing
};

}  // namespace zem
