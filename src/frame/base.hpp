// The root of every object a caller can hold through an untyped pointer. The
// checked accesses recover the expected class from it by a run-time type test.
#pragma once

namespace zem {

class CzemNode;
class CzemData;

class CzemBase {
 public:
  virtual ~CzemBase() = default;
  // The run-time type tests of the checked access: every export asks one, so
  // they are single virtual calls rather than searches of the class tree.
  virtual CzemNode* asNode() { return nullptr; }
  virtual CzemData* asData() { return nullptr; }
  CzemBase(const CzemBase&) = delete;
  CzemBase& operator=(const CzemBase&) = delete;

 protected:
  CzemBase() = default;
};

}  // namespace zem
