// A C++ program built against an installed zem: the installed zem.hpp and the library's overloads.
#include <zem/zem.hpp>

int main() {
  zem::document doc = zem::document::create();
  zemAddTarget(doc.handle(), "A");
  if (zemPutParam(doc.handle(), "k", 2) != 1) return 1;
  return doc.find("A").get<int>("k").value_or(0) == 2 ? 0 : 2;
}
