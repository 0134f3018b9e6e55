// Dump and explore: the listing of every node kind, and bad arguments.
#include "test_support.hpp"

namespace {

std::vector<void*> visited;
void record(void* node) { visited.push_back(node); }

std::string dumpOf(void* target) {
  const auto file = scratchDir() / "dump.txt";
  zemDump(target, file.string().c_str());
  return readFile(file);
}

}  // namespace

TEST(Dump, ListsEveryNodeWithItsLevelClassInstancesAndValue) {
  Reports reports;
  Handle doc = loadDocument("[A]\r\n   k = 1, 'x'\r\n   k = 2.5, true, %s\r\n   [S]\r\n   EndSect\r\nEndSect\r\n");
  ASSERT_NE(doc, nullptr);
  EXPECT_EQ(dumpOf(doc),
            "(2) [A]   (1 sections   2 keywords)   <A>\r\n"
            "   (3) <2,1> k =    (2 params)   <A.k>\r\n"
            "      (6) <2,1> Float: 1   Double: 1   Int: 1   \r\n"
            "      (9) <2,2> String: x\r\n"
            "   (3) <2,2> k =    (3 params)   <A.k>\r\n"
            "      (7) <3,1> Float: 2.5   Double: 2.5   \r\n"
            "      (8) <3,2> Boolean: true\r\n"
            "      (12) <3,3> Parameter ...\r\n"
            "   (2) [S]   (0 sections   0 keywords)   <A.S>\r\n");
  void* k = zemKeywordByNum(zemTargetByNum(doc, 1), 1);
  EXPECT_EQ(dumpOf(k),
            "   (3) <2,1> k =    (2 params)   <A.k>\r\n"
            "      (6) <2,1> Float: 1   Double: 1   Int: 1   \r\n"
            "      (9) <2,2> String: x\r\n");
  reports.expect(0, {});
  visited.clear();
  zemExplore(doc, record);
  EXPECT_EQ(visited.size(), 9u);
  EXPECT_EQ(visited[1], k);
}

TEST(Dump, BadArgumentsAndFilesDoNothingHarmful) {
  Reports reports;
  const auto dir = scratchDir();
  zemDump(nullptr, (dir / "a.txt").c_str());
  reports.expect(1006, {"zemDump: bad argument"});
  Handle treeless = asVoid(new TreelessDocument());
  zemDump(treeless, (dir / "b.txt").c_str());
  reports.expect(1006, {"zemDump: bad argument"});
  EXPECT_FALSE(std::filesystem::exists(dir / "a.txt"));
  Handle doc = zemCreate();
  zemDump(doc, nullptr);
  zemDump(doc, (dir / "no" / "such" / "folder").c_str());
  reports.expect(0, {});
  zemExplore(doc, nullptr);
  zemExplore(nullptr, record);
  reports.expect(1005, {"Invalid zemHandle (CzemData)"});
  zemExplore(treeless, record);
  reports.expect(1006, {"Invalid zemNode"});
  visited.clear();
  zemExplore(doc, record);
  EXPECT_TRUE(visited.empty());
}
