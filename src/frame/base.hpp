// The root of every object a caller can hold through an untyped pointer. The
// checked accesses recover the expected class from it by a run-time type test.
#pragma once

namespace zem {

class CzemBase {
 public:
  virtual ~CzemBase() = default;
  CzemBase(const CzemBase&) = delete;
  CzemBase& operator=(const CzemBase&) = delete;

 protected:
  CzemBase() = default;
};

}  // namespace zem
