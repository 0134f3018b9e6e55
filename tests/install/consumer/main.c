/* A program built against an installed zem through find_package. */
#include <stdio.h>
#include <string.h>
#include <vox/vox.h>
#include <zem/zem.h>

int main(void) {
  void* handle = zemCreate();
  zemAddTarget(handle, "A");
  zemEndSection(handle);
  if (zemGetNoTargets(handle) != 1) return 1;
  zemClose(&handle);
  if (strlen(zemGetVersion()) != 20) return 2;
  puts("installed zem works");
  return 0;
}
