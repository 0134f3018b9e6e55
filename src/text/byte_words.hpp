// Tests on eight characters at once: a character run is read as one 64-bit
// word and each test flags the bytes it holds for in their high bit. Every
// byte is computed on its own (x & 0x7F plus at most 0x7F stays in the byte),
// so no carry reaches a neighbour and every flag is exact.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace zem::byte_words {

inline constexpr std::uint64_t kOnes = 0x0101010101010101ull;
inline constexpr std::uint64_t kHighs = 0x8080808080808080ull;
inline constexpr std::uint64_t kLow7 = 0x7F7F7F7F7F7F7F7Full;
inline constexpr bool kLittleEndian = std::endian::native == std::endian::little;
// The flag of the byte that comes last in memory.
inline constexpr std::uint64_t kLastByteFlag = kLittleEndian ? std::uint64_t{1} << 63 : 0x80;

inline std::uint64_t load(const unsigned char* p) {
  std::uint64_t word;
  std::memcpy(&word, p, sizeof word);
  return word;
}

inline void store(unsigned char* p, std::uint64_t word) { std::memcpy(p, &word, sizeof word); }

// Flags the bytes of x at or above `bound` (1 to 128).
constexpr std::uint64_t atLeast(std::uint64_t x, unsigned bound) {
  return (((x & kLow7) + kOnes * (128 - bound)) | x) & kHighs;
}
// Flags the bytes of x that are zero.
constexpr std::uint64_t zeroBytes(std::uint64_t x) { return ~atLeast(x, 1) & kHighs; }
// Flags the bytes of `word` equal to c.
constexpr std::uint64_t equalBytes(std::uint64_t word, unsigned char c) { return zeroBytes(word ^ (kOnes * c)); }

// The place in memory (0 to 7) of the first flagged byte; `flags` is not zero.
constexpr unsigned firstFlagged(std::uint64_t flags) {
  return static_cast<unsigned>(kLittleEndian ? std::countr_zero(flags) : std::countl_zero(flags)) / 8;
}

// Copies n <= 32 bytes as the first and the last w of them (w the largest
// power of two up to n), loading before storing: the source may overlap the
// target, and nothing outside [from, from + n) is read. Most texts of a
// parameter file are a few bytes long, for which a call of memcpy costs more
// than the copy.
template <std::size_t w>
inline void copyEnds(unsigned char* to, const unsigned char* from, std::size_t n) {
  unsigned char head[w], tail[w];
  std::memcpy(head, from, w);
  std::memcpy(tail, from + n - w, w);
  std::memcpy(to, head, w);
  std::memcpy(to + n - w, tail, w);
}
inline void copyShort(void* target, const void* source, std::size_t n) {
  auto* to = static_cast<unsigned char*>(target);
  const auto* from = static_cast<const unsigned char*>(source);
  if (n >= 16) {
    copyEnds<16>(to, from, n);
  } else if (n >= 8) {
    copyEnds<8>(to, from, n);
  } else if (n >= 4) {
    copyEnds<4>(to, from, n);
  } else if (n != 0) {
    const unsigned char first = from[0], middle = from[n / 2], last = from[n - 1];
    to[0] = first;
    to[n / 2] = middle;
    to[n - 1] = last;
  }
}

}  // namespace zem::byte_words
