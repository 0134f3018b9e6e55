// The message library: sink routing, placeholder filling and list ownership.
#include "test_support.hpp"

using zem_test::Reports;
using zem_test::Texts;

TEST(VoxSink, ReportsReachTheSinkWithTheirKindAndUserPointer) {
  Reports reports;
  voxZemAPE("Invalid zemNode");
  EXPECT_EQ(reports.take(), Texts{"Invalid zemNode"});
  EXPECT_EQ(reports.lastKind(), 0);
  voxZemMsg("b", 17, nullptr);
  EXPECT_EQ(reports.lastKind(), 17);

  static void* seen = nullptr;
  int marker = 0;
  voxSetSink([](const char*, int, void* user) { seen = user; }, &marker);
  voxZemAPE("a");
  EXPECT_EQ(seen, &marker);

  voxSetSink(nullptr, nullptr);
  testing::internal::CaptureStderr();
  voxZemAPE("to standard error");
  voxZemMsg("count %", 1, voxInt(3, nullptr));
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "to standard error\ncount 3\n");
}

TEST(VoxMessage, PlaceholdersTakeTheArgumentsOutermostFirst) {
  Reports reports;
  voxZemMsg("Error: %\n in % near line % position %", 1,
            voxString("unexpected token", voxString("/tmp/a.txt", voxInt(12, voxInt(-3, nullptr)))));
  voxZemMsg("%|%", 17, voxInt(-2147483647 - 1, voxInt(2147483647, nullptr)));
  EXPECT_EQ(reports.take(),
            (Texts{"Error: unexpected token\n in /tmp/a.txt near line 12 position -3", "-2147483648|2147483647"}));
}

TEST(VoxMessage, MissingArgumentsLeavePlaceholdersAndListsAreCopiedAndFreed) {
  Reports reports;
  voxZemMsg("% and %", 1, voxString("one", nullptr));
  voxZemMsg("no placeholder", 1, voxString("unused", voxInt(7, nullptr)));
  voxZemMsg(nullptr, 1, voxString("freed with a null format", nullptr));
  voxZemMsg("%", 1, voxString(nullptr, nullptr));
  voxZemAPE(nullptr);
  char text[] = "before";
  VoxArg* list = voxString(text, nullptr);
  text[0] = 'X';
  voxZemMsg("%", 1, list);
  EXPECT_EQ(reports.take(), (Texts{"one and %", "no placeholder", "", "", "", "before"}));
}
