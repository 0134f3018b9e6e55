// The message library: sink routing, placeholder filling and list ownership.
#include <gtest/gtest.h>

#include "vox/vox.h"
#include "vox_capture.hpp"

using Texts = std::vector<std::string>;

namespace {

int calls = 0;
void* lastUser = nullptr;
void countingSink(const char*, int, void* user) {
  ++calls;
  lastUser = user;
}

}  // namespace

TEST(VoxSink, CompleteMessageArrivesOnceWithKindZero) {
  ReportCapture capture;
  voxZemAPE("Invalid zemNode");
  ASSERT_EQ(capture.reports().size(), 1u);
  EXPECT_EQ(capture.reports()[0].text, "Invalid zemNode");
  EXPECT_EQ(capture.reports()[0].kind, 0);
}

TEST(VoxSink, UserPointerIsPassedThroughToTheSink) {
  int marker = 0;
  calls = 0;
  voxSetSink(countingSink, &marker);
  voxZemAPE("a");
  voxZemMsg("b", 17, nullptr);
  voxSetSink(nullptr, nullptr);
  EXPECT_EQ(calls, 2);
  EXPECT_EQ(lastUser, &marker);
}

TEST(VoxSink, NullSinkRestoresTheStandardErrorLine) {
  ReportCapture capture;
  voxSetSink(nullptr, nullptr);
  ::testing::internal::CaptureStderr();
  voxZemAPE("to standard error");
  voxZemMsg("count %", 1, voxInt(3, nullptr));
  const std::string err = ::testing::internal::GetCapturedStderr();
  EXPECT_EQ(err, "to standard error\ncount 3\n");
  EXPECT_TRUE(capture.reports().empty());
}

TEST(VoxMessage, PlaceholdersTakeTheArgumentsOutermostFirst) {
  ReportCapture capture;
  voxZemMsg("Error: %\n in % near line % position %", 1,
            voxString("unexpected token", voxString("/tmp/a.txt", voxInt(12, voxInt(-3, nullptr)))));
  ASSERT_EQ(capture.reports().size(), 1u);
  EXPECT_EQ(capture.reports()[0].text, "Error: unexpected token\n in /tmp/a.txt near line 12 position -3");
  EXPECT_EQ(capture.reports()[0].kind, 1);
  voxZemMsg("%|%", 17, voxInt(-2147483647 - 1, voxInt(2147483647, nullptr)));
  EXPECT_EQ(capture.reports()[1].text, "-2147483648|2147483647");
  EXPECT_EQ(capture.reports()[1].kind, 17);
}

TEST(VoxMessage, PlaceholderWithoutArgumentStaysAndSurplusArgumentsAreFreed) {
  ReportCapture capture;
  voxZemMsg("% and %", 1, voxString("one", nullptr));
  voxZemMsg("no placeholder", 1, voxString("unused", voxInt(7, nullptr)));
  voxZemMsg(nullptr, 1, voxString("freed with a null format", nullptr));
  voxZemMsg("%", 1, voxString(nullptr, nullptr));
  voxZemAPE(nullptr);
  EXPECT_EQ(capture.texts(), (Texts{"one and %", "no placeholder", "", "", ""}));
}

TEST(VoxMessage, TextArgumentsAreCopiedWhenTheListIsBuilt) {
  ReportCapture capture;
  char text[] = "before";
  VoxArg* list = voxString(text, nullptr);
  text[0] = 'X';
  voxZemMsg("%", 1, list);
  EXPECT_EQ(capture.texts(), (Texts{"before"}));
}
