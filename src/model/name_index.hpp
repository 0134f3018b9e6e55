// The index of a target list's sections or a section's keywords by folded name.
// Each distinct name owns a group holding its nodes in child-list order; a
// node's instance number is its 1-based place in that group.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

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
  bool ownsMemory() const { return groups_.ownsMemory() || table_.ownsMemory() || heapBlocks_ != 0; }

 private:
  // One name's nodes in a word: a single node's address, or that of a block
  // holding the count and the nodes, marked by its low bit. A block with
  // room for r nodes takes 8(r + 1) bytes, a power of two (r = 3, 7, 15, ...).
  struct Block {
    std::uint32_t size;
    std::uint32_t borrowed;  // the block lives in a node arena
    CzemNamedNode** nodes() { return reinterpret_cast<CzemNamedNode**>(this + 1); }
  };
  static_assert(sizeof(Block) == sizeof(CzemNamedNode*));
  struct Group {
    CzemNamedNode* one;
    bool many() const { return (reinterpret_cast<std::uintptr_t>(one) & 1) != 0; }
    Block* block() const {
      return reinterpret_cast<Block*>(reinterpret_cast<std::uintptr_t>(one) & ~std::uintptr_t{1});
    }
    std::uint32_t size() const { return many() ? block()->size : 1; }
    CzemNamedNode* const* data() const { return many() ? block()->nodes() : &one; }
    static std::uint32_t roomFor(std::uint32_t size) {
      if (size <= 1) return 1;
      std::uint32_t room = 3;
      while (room < size) room = room * 2 + 1;
      return room;
    }
  };
  // Small indexes are scanned; past this many names a hash table is kept. A
  // scan compares lengths first, so it stays quick well past a handful of
  // names, and most sections then do without a table.
  static constexpr std::size_t kScanLimit = 16;
  // The room a built index starts with.
  static constexpr std::size_t kTypicalNames = 8;

  // A bit of the 32 that names fall on (see nameBit): most names a section
  // adds are new to it, and a name whose bit is clear needs no search.
  static std::uint32_t nameBit(std::string_view name);
  Group* lookup(std::string_view name) const;
  void rehash();
  void freeBlocks();

  CompactArray<Group> groups_;
  CompactArray<std::uint32_t> table_;  // group number + 1, 0 for free; open addressing
  // Blocks on the heap rather than in a node arena: a loaded index has none,
  // and its teardown then need not look at its groups.
  std::uint32_t heapBlocks_ = 0;
  // The bits of every indexed name; it fills the padding after the count.
  std::uint32_t nameBits_ = 0;
};

}  // namespace zem
