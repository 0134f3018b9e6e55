// The message library: sink routing, placeholder filling and list ownership.
#include "test_support.hpp"

TEST(VoxSink, ReportsReachTheSinkWithTheirKindAndUserPointerElseStandardError) {
  static std::vector<std::pair<std::string, int>> seen;
  static int marker = 0;
  voxSetSink(
      [](const char* text, int kind, void* user) {
        if (user == &marker) seen.emplace_back(text, kind);
      },
      &marker);
  voxZemAPE("Invalid zemNode");
  voxZemMsg("b", 17, nullptr);
  EXPECT_EQ(seen, (std::vector<std::pair<std::string, int>>{{"Invalid zemNode", 0}, {"b", 17}}));
  voxSetSink(nullptr, nullptr);
  testing::internal::CaptureStderr();
  voxZemAPE("to standard error");
  voxZemMsg("count %", 1, voxInt(3, nullptr));
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "to standard error\ncount 3\n");
}

TEST(VoxMessage, PlaceholdersTakeTheArgumentsOutermostFirstAndListsAreCopiedAndFreed) {
  Reports reports;
  voxZemMsg("Error: %\n in % near line % position %", 1,
            voxString("unexpected token", voxString("/tmp/a.txt", voxInt(12, voxInt(-3, nullptr)))));
  voxZemMsg("%|%", 17, voxInt(-2147483647 - 1, voxInt(2147483647, nullptr)));
  voxZemMsg("% and %", 1, voxString("one", nullptr));
  voxZemMsg("no placeholder", 1, voxString("unused", voxInt(7, nullptr)));
  voxZemMsg(nullptr, 1, voxString("freed with a null format", nullptr));
  voxZemMsg("%", 1, voxString(nullptr, nullptr));
  voxZemAPE(nullptr);
  char text[] = "before";
  VoxArg* list = voxString(text, nullptr);
  text[0] = 'X';
  voxZemMsg("%", 1, list);
  EXPECT_EQ(reports.take(), (Texts{"Error: unexpected token\n in /tmp/a.txt near line 12 position -3",
                                   "-2147483648|2147483647", "one and %", "no placeholder", "", "", "", "before"}));
}
