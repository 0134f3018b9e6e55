/* Compiled as strict C99: the public headers must need nothing else. */
#include <stdio.h>
#include <string.h>

#include "vox/vox.h"
#include "zem/zem.h"

static int reports = 0;
static void countReports(const char* text, int kind, void* user) {
  (void)text;
  (void)kind;
  (void)user;
  ++reports;
}

int main(void) {
  char buffer[64];
  void* handle;
  voxSetSink(countReports, NULL);
  if (strcmp(zemGetErrorMessageFromErrorCode(1013), "Not an independent node error") != 0) return 1;
  if (zemGetVersion2(buffer, (int)sizeof buffer) != 0) return 2;
  handle = zemCreate();
  if (handle == NULL) return 3;
  zemClose(&handle);
  if (handle != NULL) return 4;
  zemClose(&handle);
  if (zemGetErrorGlb() != 1005 || reports != 1) return 5;
  puts("1 passed, 0 failed");
  return 0;
}
