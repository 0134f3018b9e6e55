// The global error code (first failure wins) and the table of message texts.
#include "frame/error_state.hpp"
#include "test_support.hpp"

TEST(ErrorState, FirstFailureWinsUntilTheCodeIsTakenAndQuietFailuresDoNotReport) {
  Reports reports;
  zem::failWith(1006, "first", true);
  zem::failWith(1005, "second", false);
  EXPECT_EQ(zemPeekErrorGlb(), 1006);
  EXPECT_EQ(zemPeekErrorGlb(), 1006);
  reports.expect(1006, {"second"});
  EXPECT_EQ(zemPeekErrorGlb(), 0);
  zem::storeError(1010);
  reports.expect(1010, {});
  reports.expect(0, {});
}

TEST(ErrorState, EveryCodeHasItsExactTextAndOthersAreUnknown) {
  const std::pair<int, const char*> table[] = {
      {1000, "Error starting. (ERR_START, 1000)"},
      {1001, "Error opening file. (ERR_FILE_OPEN , 1001)"},
      {1002, "Error initialising file. (ERR_FILE_INIT, 1002)"},
      {1003, "Error parsing. (ERR_PARSE, 1003)"},
      {1004, "Error initialising parsing. (ERR_PARSER_INIT, 1004)"},
      {1005, "Handle error (ERR_HANDLE, 1005)"},
      {1006, "Node error (ERR_NODE, 1006)"},
      {1007, "Invalid named node error"},
      {1008, "Invalid keyword error"},
      {1009, "Invalid section error"},
      {1010, "Invalid index error"},
      {1011, "Invalid target list error"},
      {1012, "Invalid parameter error"},
      {1013, "Not an independent node error"},
      {1014, "Invalid parameter type error"},
  };
  for (const auto& [code, text] : table) EXPECT_STREQ(zemGetErrorMessageFromErrorCode(code), text) << code;
  for (int code : {0, -1, 999, 1015, 2000, 2002})
    EXPECT_STREQ(zemGetErrorMessageFromErrorCode(code), "unknown error code") << code;
}
