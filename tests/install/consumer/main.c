/* A program built against an installed zem through find_package. */
#include <string.h>
#include <vox/vox.h>
#include <zem/zem.h>

int main(void) {
  void* handle = zemCreate();
  zemAddTarget(handle, "A");
  zemEndSection(handle);
  if (zemGetNoTargets(handle) != 1) return 1;
  zemClose(&handle);
  return strlen(zemGetVersion()) == 20 ? 0 : 2;
}
