/* Compiled as strict C99 and linked against libzem.so: the public headers must
 * need nothing else, and the shared library must answer from its own file. */
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

static int failures = 0;
static void check(int ok, const char* what) {
  if (!ok) {
    ++failures;
    printf("FAILED: %s\n", what);
  }
}

int main(void) {
  char buffer[512];
  void* handle = zemCreate();
  const char* id = zemGetDLLid();
  voxSetSink(countReports, NULL);
  check(id[0] == '/' && strstr(id, "libzem.so") != NULL, "identity is the full path of the shared library");
  check(zemGetDLLid2(buffer, (int)sizeof buffer) == 0 && strcmp(buffer, id) == 0, "identity copy");
  zemClose(&handle);
  check(handle == NULL && reports == 0 && zemPeekErrorGlb() == 0, "create and close");
  {
    CzemTokenReader* reader = NULL;
    check(zemtLoadFile(id, &reader) == 0 && zemtNextToken(reader) == -1, "the token reader opens any file");
    zemtDispose(&reader);
    check(reader == NULL && zemtNextToken(reader) == -2, "a disposed token reader is null");
  }
  printf("%d failed\n", failures);
  return failures == 0 ? 0 : 1;
}
