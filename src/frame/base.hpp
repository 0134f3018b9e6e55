// The root of every object a caller can hold through an untyped pointer. The
// checked accesses recover the expected class from it by a run-time type test.
#pragma once

#include <cstdint>

namespace zem {

class CzemData;

class CzemBase {
 public:
  virtual ~CzemBase() = default;
  // The run-time type test of the handle check: a single virtual call rather
  // than a search of the class tree.
  virtual CzemData* asData() { return nullptr; }
  CzemBase(const CzemBase&) = delete;
  CzemBase& operator=(const CzemBase&) = delete;

  // Whether this object is a tree node. Every getter asks it of the pointer it
  // is given, so the answer is read from the object rather than asked of its
  // class.
  bool isNode() const { return (state_ & kNodeMark) != 0; }

 protected:
  CzemBase() = default;

  // The word beside the class word. A tree node keeps its instance number and
  // its state marks here, kNodeMark among them; every other object leaves it
  // zero.
  static constexpr std::uint32_t kNodeMark = 0x10000000u;
  std::uint32_t state_ = 0;
};

}  // namespace zem
