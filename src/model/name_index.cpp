#include "model/name_index.hpp"

#include <cstdlib>
#include <new>

#include "model/named_nodes.hpp"

namespace zem {
namespace {

inline unsigned char foldByte(unsigned char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c + 32) : c;
}

inline std::string_view foldable(std::string_view s) { return s.empty() ? std::string_view(" ") : s; }

std::uint32_t foldedHash(std::string_view name) {
  std::uint32_t h = 2166136261u;
  for (unsigned char c : foldable(name)) h = (h ^ foldByte(c)) * 16777619u;
  return h;
}

}  // namespace

bool sameFoldedName(std::string_view a, std::string_view b) {
  a = foldable(a);
  b = foldable(b);
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (foldByte(static_cast<unsigned char>(a[i])) != foldByte(static_cast<unsigned char>(b[i]))) return false;
  return true;
}

NameIndex::~NameIndex() { freeBlocks(); }

void NameIndex::freeBlocks() {
  if (heapBlocks_ == 0) return;
  for (Group& g : groups_)
    if (g.many() && g.block()->borrowed == 0) std::free(g.block());
  heapBlocks_ = 0;
}

void NameIndex::clear() {
  freeBlocks();
  nameBits_ = 0;
  groups_.clear();
  table_.clear();
}

// Equal folded names fall on the same bit: it depends on the length and the
// first and last bytes, of which only the low five bits count. Folding an
// ASCII capital adds 32, so the case of a letter never moves the bit.
std::uint32_t NameIndex::nameBit(std::string_view name) {
  name = foldable(name);
  const auto first = static_cast<unsigned char>(name.front()), last = static_cast<unsigned char>(name.back());
  return std::uint32_t{1} << ((static_cast<unsigned>(name.size()) * 7 + first + last * 3) & 31);
}

NameIndex::Group* NameIndex::lookup(std::string_view name) const {
  if ((nameBits_ & nameBit(name)) == 0) return nullptr;
  auto matches = [&](const Group& g) { return sameFoldedName(g.data()[0]->name().view(), name); };
  if (table_.empty()) {
    for (const Group& g : groups_)
      if (matches(g)) return const_cast<Group*>(&g);
    return nullptr;
  }
  const std::size_t mask = table_.size() - 1;
  for (std::size_t i = foldedHash(name) & mask;; i = (i + 1) & mask) {
    const std::uint32_t slot = table_[i];
    if (slot == 0) return nullptr;
    const Group& g = groups_[slot - 1];
    if (matches(g)) return const_cast<Group*>(&g);
  }
}

void NameIndex::rehash() {
  std::size_t size = 16;
  while (size < groups_.size() * 2) size *= 2;
  table_.clear();
  table_.reserve(size);
  for (std::size_t i = 0; i < size; ++i) table_.push_back(0);
  const std::size_t mask = size - 1;
  for (std::size_t n = 0; n < groups_.size(); ++n) {
    std::size_t i = foldedHash(groups_[n].data()[0]->name().view()) & mask;
    while (table_[i] != 0) i = (i + 1) & mask;
    table_[i] = static_cast<std::uint32_t>(n + 1);
  }
}

unsigned NameIndex::add(CzemNamedNode* node, NodeArena* arena) {
  const std::string_view name = node->name().view();
  if (Group* g = lookup(name)) {
    const std::uint32_t size = g->size();
    const std::uint32_t room = Group::roomFor(size);
    if (size == room) {
      const std::size_t bytes = sizeof(Block) + sizeof(CzemNamedNode*) * Group::roomFor(size + 1);
      std::size_t granted = 0;
      auto* block = arena != nullptr ? static_cast<Block*>(arena->allocateList(bytes, granted)) : nullptr;
      const bool borrowed = block != nullptr;
      if (block == nullptr) {
        block = static_cast<Block*>(std::malloc(bytes));
        if (block == nullptr) throw std::bad_alloc();
        ++heapBlocks_;
      }
      block->size = size;
      block->borrowed = borrowed ? 1 : 0;
      for (std::uint32_t i = 0; i < size; ++i) block->nodes()[i] = g->data()[i];
      if (g->many()) {
        Block* old = g->block();
        if (old->borrowed == 0) {
          std::free(old);
          --heapBlocks_;
        } else if (arena != nullptr)
          arena->releaseList(old, sizeof(Block) + sizeof(CzemNamedNode*) * room);
      }
      g->one = reinterpret_cast<CzemNamedNode*>(reinterpret_cast<std::uintptr_t>(block) | 1);
    }
    g->block()->nodes()[size] = node;
    ++g->block()->size;
    return size + 1;
  }
  if (groups_.empty() && arena == nullptr) groups_.reserve(kTypicalNames);
  groups_.push_back(Group{node}, arena);
  nameBits_ |= nameBit(name);
  if (groups_.size() > kScanLimit) {
    if (groups_.size() * 2 > table_.size()) {
      rehash();
    } else {
      const std::size_t mask = table_.size() - 1;
      std::size_t i = foldedHash(name) & mask;
      while (table_[i] != 0) i = (i + 1) & mask;
      table_[i] = static_cast<std::uint32_t>(groups_.size());
    }
  }
  return 1;
}

std::span<CzemNamedNode* const> NameIndex::find(std::string_view name) const {
  const Group* g = lookup(name);
  if (g == nullptr) return {};
  return {g->data(), g->size()};
}

}  // namespace zem
