// Editing in place: the position rule, the checks and their codes, renumbering
// after every change, and the building cursor moved off deleted nodes.
#include "test_support.hpp"

namespace {

class Editing : public testing::Test {
 protected:
  // The names of a node's children in child-list order, joined by blanks.
  static std::string childNames(void* node) {
    std::string names;
    for (int i = 1; i <= zemGetNoNodes(node); ++i)
      names += std::string(names.empty() ? "" : " ") + zemGetName(zemNodeByNum(node, i));
    return names;
  }
  void* target(unsigned n) { return zemTargetByNum(handle, n); }

  Reports reports;
  Handle handle = createDocument("A", "k");  // every test starts from [A] k
};

}  // namespace

TEST_F(Editing, BadArgumentsGiveTheirCodesAndOnlyTheReportingChecksReport) {
  zemAddInt(handle, 1);
  void* a = target(1);
  void* k = zemKeywordByNum(a, 1);
  void* v = zemParamByNum(k, 1);
  const Texts section{"Invalid zem section"}, named{"Invalid zem named node"};
  // Each call runs while no code is pending, so the code seen is its own.
  const auto check = [&](int result, int expected, int code, const Texts& texts, int line) {
    EXPECT_EQ(std::tuple(result, zemGetErrorGlb(), reports.take()), std::tuple(expected, code, texts))
        << "line " << line;
  };
  check(zemeDeleteKeywordByNum(k, 1), 1009, 1009, section, __LINE__);
  check(zemeDeleteKeywordByNameNum(nullptr, "k", 1), 1009, 1009, section, __LINE__);
  check(zemeDeleteKeywordByNum(a, 2), 1010, 0, {}, __LINE__);
  check(zemeDeleteSectionByNum(k, 1), 1011, 1011, {}, __LINE__);
  check(zemeDeleteSectionByNameNum(a, "nothing", 1), 1010, 0, {}, __LINE__);
  check(zemeDeleteParameter(a, 1), 1008, 1007, named, __LINE__);
  check(zemeInsertCopyKeyword(a, v, 1), 1008, 1007, {}, __LINE__);
  check(zemeInsertCopyKeyword(v, k, 1), 1009, 1009, section, __LINE__);
  check(zemeInsertCopySection(a, k, 1), 1009, 1009, {}, __LINE__);
  check(zemeInsertCopySection(v, a, 1), 1011, 1011, {}, __LINE__);
  check(zemeInsertCopyParameter(k, a, 1), 1012, 1012, {}, __LINE__);
  check(zemeInsertCopyParameter(v, v, 1), 1008, 1007, named, __LINE__);
  check(zemeModifyKeywordName(a, "x"), 1008, 1007, {}, __LINE__);
  check(zemeModifySectionName(k, "x"), 1009, 1009, {}, __LINE__);
  check(zemeModifyParameterInt(k, 1), 1012, 1012, {}, __LINE__);
  check(zemeModifyParameterDouble(v, 1.0), 1014, 0, {}, __LINE__);
  check(zemeModifyParameterString(v, "x"), 1014, 0, {}, __LINE__);
  check(zemeModifyParameterBool(v, 1), 1014, 0, {}, __LINE__);
  check(zemeModifyParameterFileName(v, "x"), 1014, 0, {}, __LINE__);
  check(zemeInsertNewKeyword(k, "x", 1) != nullptr, 0, 1009, section, __LINE__);
  check(zemeInsertNewSection(k, "x", 1) != nullptr, 0, 1011, {}, __LINE__);
  check(zemeInsertNewParameterInt(a, 1, 1) != nullptr, 0, 1007, named, __LINE__);
  // A parentless keyword takes the name, then fails its parent's check.
  zem::CzemKeyword loose("loose");
  check(zemeModifyKeywordName(asVoid(&loose), "renamed"), 1009, 1009, section, __LINE__);
  EXPECT_STREQ(loose.GetName(), "renamed");
}

TEST_F(Editing, ModifiersKeepTheValueItsNumberAndItsBinding) {
  int bound = 7;
  zemAddInt(handle, 1);
  zemAddFloat(handle, 1.0f);
  zemAddString(handle, "old");
  zemAddIntRef(handle, &bound);
  zemAddBool(handle, 0);
  zemAddFilename(handle, "a.txt");
  void* k = zemKeywordByNum(target(1), 1);
  const auto at = [&](unsigned n) { return zemParamByNum(k, n); };
  void* text = at(3);
  // A float takes a double; bound values stay bound.
  EXPECT_EQ((std::vector{zemeModifyParameterDouble(at(2), 2.5), zemeModifyParameterString(text, "new"),
                         zemeModifyParameterInt(at(4), 9), zemeModifyParameterBool(at(5), 1),
                         zemeModifyParameterFileName(at(6), "b.txt"), zemeModifyParameterInt(at(1), -4)}),
            std::vector(6, 0));
  EXPECT_EQ(std::tuple(zemGetInt(at(1)), zemGetFloat(at(2)), at(3), zemGetInt(at(4)), zemGetBool(at(5))),
            std::tuple(-4, 2.5f, text, 7, 1));
  EXPECT_EQ((Texts{zemGetString(text), zemGetFilenameString(at(6))}), (Texts{"new", "b.txt"}));
  for (int n = 1; n <= 6; ++n) EXPECT_EQ(zemGetInstanceNo(zemParamByNum(k, n)), n);
}

// Each deletion removes the node holding (or holding below it) a part of the
// cursor; the next building call must fail as usual, never reach freed memory.
TEST_F(Editing, DeletionsMoveTheBuildingCursorOffDestroyedNodes) {
  EXPECT_EQ(zemeDeleteKeywordByNum(target(1), 1), 0);
  zemAddInt(handle, 1);
  reports.expect(0, {"Missing current keyword"});

  zemAddSection(handle, "S");
  zemAddSection(handle, "T");
  zemAddKeyword(handle, "inT");
  EXPECT_EQ(zemeDeleteSectionByNameNum(target(1), "S", 1), 0);  // holds the open section and keyword
  zemAddInt(handle, 1);
  reports.expect(0, {"Missing current keyword"});
  zemAddKeyword(handle, "inA");  // the cursor closed to A, which holds S
  EXPECT_EQ(childNames(target(1)), "inA");

  zemAddSection(handle, "U");
  zemAddKeyword(handle, "inU");
  EXPECT_EQ(zemeDeleteSectionByNum(zemGetRoot(handle), 1), 0);  // the top-level section itself
  zemAddKeyword(handle, "nowhere");
  reports.expect(0, {"Missing current section"});
  zemAddTarget(handle, "B");
  reports.expect(0, {});

  zemAddSection(handle, "V");
  zemAddKeyword(handle, "inV");
  zemAddTarget(handle, "ignored");
  reports.take();
  zemCopy(zemeInsertNewSection(target(1), "W", 0), target(1));  // B's contents replaced: the cursor closes to B
  zemAddKeyword(handle, "inB");
  EXPECT_STREQ(zemGetName(target(1)), "W");  // the destination takes the source's name
  EXPECT_EQ(childNames(target(1)), "inB");
  reports.expect(0, {});

  zemAddClob(handle);
  EXPECT_EQ(zemeDeleteParameter(zemKeywordByNum(target(1), 1), 1), 0);
  EXPECT_EQ((std::pair{zemAddClobIntS(handle, 3), zemGetNoParams(zemKeywordByNum(target(1), 1))}),
            std::pair(1005, 0));  // no current CLOB any more
  reports.expect(1006, {});
}

// Source and destination inside each other: the copy is always taken first.
TEST_F(Editing, CopiesIntoOrOntoThemselvesTakeTheSourceAsItWas) {
  zemAddSection(handle, "S");
  void* a = target(1);
  void* s = zemSectionByNum(a, 1);
  EXPECT_EQ(zemeInsertCopySection(s, a, 0), 0);
  EXPECT_EQ(childNames(zemSectionByNum(s, 1)), "k S");
  zemCopy(a, zemSectionByNum(s, 1));  // onto its own descendant
  EXPECT_EQ(childNames(zemSectionByNum(zemSectionByNum(s, 1), 1)), "A");
  zemCopy(s, a);  // a descendant onto its ancestor
  EXPECT_EQ(zemGetName(target(1)) + (" " + childNames(target(1))), "S A");
}

TEST_F(Editing, InsertAndCopyRefuseWithTheirMessagesAndLeaveTheTree) {
  zemAddInt(handle, 1);
  zemAddSection(handle, "S");
  zemEndSection(handle);
  zemEndSection(handle);
  zemAddTarget(handle, "B");
  void* a = target(1);
  void* k = zemKeywordByNum(a, 1);
  void* s = zemSectionByNum(a, 1);
  void* v = zemParamByNum(k, 1);
  const std::vector<std::tuple<void*, void*, Texts>> refusals = {
      {v, a, {"zemInsert inconsistency"}},
      {a, v, {"zemInsert inconsistency"}},
      {a, k, {"zemInsert: pending section relative to keyword"}},
      {k, k, {"zemInsert: pending keyword insertion"}},
      {k, s, {"zemInsert: pending keyword insertion"}},
      {k, a, {"zemInsert:\nrelative specifier is neither keyword nor pure section"}},
      {a, zemGetRoot(handle), {"zemInsert inconsistency"}},
  };
  for (const auto& [pending, relative, texts] : refusals) {
    zemInsert(pending, relative, 1);
    reports.expect(0, texts);
  }
  zemInsert(a, nullptr, 0);
  reports.expect(1006, {"Invalid zemNode"});
  // A root takes no section's keywords, nor a section a root's missing name.
  for (auto [source, destination] :
       {std::pair(a, k), std::pair(a, zemGetRoot(handle)), std::pair(zemGetRoot(handle), a)}) {
    zemCopy(source, destination);
    reports.expect(0, {"zemCopy:\n\tsection/section or\n\tkeyword/keyword required"});
  }
  zemCopy(a, a);
  EXPECT_EQ(childNames(a) + "|" + childNames(zemGetRoot(handle)), "k S|A B");

  zemInsert(a, target(2), 0);  // after B: a second A, numbered by document order
  zemInsert(target(2), a, 1);  // a copy of B before the first section
  EXPECT_EQ(childNames(zemGetRoot(handle)), "B A B A");
  EXPECT_EQ(std::pair(zemGetInstanceNo(target(1)), zemGetInstanceNo(target(4))), std::pair(1, 2));
  EXPECT_EQ(childNames(target(4)), "k S");
  zemCopy(target(1), target(4));
  EXPECT_EQ(std::pair(zemTargetByNameNum(handle, "B", 3), zemGetNoNodes(target(4))), std::pair(target(4), 0));
  zemCopy(zemKeywordByNum(a, 1), zemeInsertNewKeyword(zemSectionByNum(a, 1), "other", 0));
  EXPECT_EQ(zemGetInt(zemParamByNum(zemKeywordByNameNum(zemSectionByNum(a, 1), "k", 1), 1)), 1);
}

TEST(FileCopy, WritesAbsoluteFileNamesAndFailsWithoutTouchingTheTarget) {
  Reports reports;
  const auto dir = scratchDir();
  writeFile(dir / "in.txt", "[A]\r\n   f = |data/x.txt|\r\nEndSect\r\n");
  const std::string out = (dir / "out.txt").string();
  EXPECT_EQ(zemFileCopy((dir / "in.txt").c_str(), out.c_str()), 1);
  EXPECT_NE(readFile(out).find("f = |./data/x.txt|"), std::string::npos) << readFile(out);
  reports.expect(0, {});

  writeFile(dir / "bad.txt", "[A]\r\n   f = 1 2\r\nEndSect\r\n");
  EXPECT_EQ((std::pair{zemFileCopy((dir / "bad.txt").c_str(), (dir / "never.txt").c_str()), zemGetErrorGlb()}),
            std::pair(0, 1003));
  EXPECT_FALSE(std::filesystem::exists(dir / "never.txt"));
  reports.take();

  // A target in a folder that does not exist: 0, the write's code and report, no file left.
  const std::string lost = (dir / "missing" / "out.txt").string();
  EXPECT_EQ(zemFileCopy((dir / "in.txt").c_str(), lost.c_str()), 0);
  reports.expect(1001, {"Open error: " + lost});
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), {}), 3);
}
