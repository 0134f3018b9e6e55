/* Compiled as strict C99 and linked against libzem.so: the public headers must
 * need nothing else, and the shared library must answer from its own file. */
#include <stdio.h>
#include <string.h>

#include "vox/vox.h"
#include "zem/zem.h"

static int reports = 0;
static char lastReport[128];
static void keepReports(const char* text, int kind, void* user) {
  (void)kind;
  (void)user;
  ++reports;
  strncpy(lastReport, text, sizeof lastReport - 1);
  lastReport[sizeof lastReport - 1] = '\0';
}

static int failures = 0;
static int checks = 0;
static void check(int ok, const char* what) {
  ++checks;
  if (!ok) {
    ++failures;
    printf("FAILED: %s\n", what);
  }
}

int main(void) {
  char buffer[512];
  void* handle;
  const char* id;
  voxSetSink(keepReports, NULL);

  check(strcmp(zemGetErrorMessageFromErrorCode(1013), "Not an independent node error") == 0, "text of 1013");
  check(strcmp(zemGetErrorMessageFromErrorCode(1001), "Error opening file. (ERR_FILE_OPEN , 1001)") == 0,
        "text of 1001");
  check(strcmp(zemGetErrorMessageFromErrorCode(2000), "unknown error code") == 0, "text of 2000");

  check(strlen(zemGetVersion()) == 20, "build stamp length");
  check(zemGetVersion2(buffer, 20) == -1, "stamp into 20 bytes");
  check(zemGetVersion2(buffer, 21) == 0 && strcmp(buffer, zemGetVersion()) == 0, "stamp into 21 bytes");
  check(zemGetVersion2(NULL, 21) == -1, "stamp into no buffer");

  id = zemGetDLLid();
  check(strstr(id, "libzem.so") != NULL, "identity names the shared library");
  check(id[0] == '/', "identity is an absolute path");
  check(zemGetDLLid2(buffer, (int)sizeof buffer) == 0 && strcmp(buffer, id) == 0, "identity copy");
  check(strcmp(zemGetBuildVersion(), "") == 0, "no host version");

  handle = zemCreate();
  check(handle != NULL, "create");
  check(zemGetErrorFromZemData(handle) != NULL && zemGetErrorFromZemData(handle)[0] == '\0', "fresh builder text");
  zemClose(&handle);
  check(handle == NULL, "close nulls the variable");
  check(reports == 0 && zemPeekErrorGlb() == 0, "clean create and close");

  zemClose(&handle);
  check(zemGetErrorGlb() == 1005 && reports == 1, "closing null fails with 1005");
  check(strcmp(lastReport, "Invalid zemHandle (CzemData)") == 0, "close report text");
  zemClose(NULL);
  check(zemGetErrorGlb() == 1005 && reports == 2, "closing a null address fails with 1005");

  printf("%d passed, %d failed\n", checks - failures, failures);
  return failures == 0 ? 0 : 1;
}
