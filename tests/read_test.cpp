// Reading: navigation, counts, names, value texts and the neutral results of invalid arguments.
#include "test_support.hpp"

namespace {

class ReadTree : public testing::Test {
 protected:
  Reports reports;
  Handle handle = loadDocument(
      "[Model]\n  Depth = 7, 2.5, 'text', true\n  [Sub] a = 1 EndSect\n  [sub] EndSect\n"
      "  [SUB] [Deep] EndSect EndSect\n  depth = 1\nEndSect\n[Other] EndSect\n");
  void* root = zemGetRoot(handle);
  void* model = zemTargetByNum(handle, 1);
  void* depth = zemKeywordByNum(model, 1);
};

}  // namespace

TEST_F(ReadTree, NavigatesByNumberAndByNameWithInstances) {
  void* third = zemSectionByNameNum(model, "sub", 3);
  void* second = zemKeywordByNameNum(model, "DEPTH", 2);
  void* value = zemParamByNum(depth, 2);
  EXPECT_EQ((std::vector{zemTargetByNameNum(handle, "MODEL", 1), zemTargetByNameNum(handle, "Model", 2),
                         zemKeywordByNum(model, 2), zemNodeByNum(model, 5), zemNodeByNum(depth, 2)}),
            (std::vector<void*>{model, nullptr, second, second, value}));
  EXPECT_EQ((Texts{zemGetName(zemTargetByNum(handle, 2)), zemGetName(third)}), (Texts{"Other", "SUB"}));
  // Counts, instance numbers, levels from the root down, and which sections are targets.
  EXPECT_EQ(
      (std::vector{zemGetNoTargets(handle), zemGetNoSections(model), zemGetNoKeywords(model), zemGetNoNodes(model),
                   zemGetInstanceNo(third), zemGetNoInstances(third), zemGetNoParams(depth), zemGetNoInstances(value),
                   zemGetLevel(root), zemGetLevel(model), zemGetLevel(depth), zemGetLevel(value), zemIsSection(root),
                   zemIsTarget(root), zemIsTarget(model), zemIsTarget(third), zemGetSyntaxClass(depth)}),
      (std::vector{2, 3, 2, 5, 3, 3, 4, 4, 0, 1, 2, 3, 1, 0, 1, 0, 3}));
  EXPECT_EQ((Texts{zemGetNameGlb(root), zemGetNameGlb(model), zemGetNameGlb(zemSectionByNum(model, 1))}),
            (Texts{"", "Model", "Model.Sub"}));
  // A full name handed out stays valid while it stays the same: asking again does not free it.
  Handle built = createDocument("LongSectionName", "keywordWithALongName");
  void* keyword = zemKeywordByNum(zemTargetByNum(built, 1), 1);
  const char* full = zemGetNameGlb(keyword);
  EXPECT_EQ(zemGetNameGlb(keyword), full);
  EXPECT_STREQ(full, "LongSectionName.keywordWithALongName");
  EXPECT_EQ((std::vector{zemGetParentSection(value), zemGetParentSection(depth), zemGetParentSection(third),
                         zemGetParentSection(model), zemGetParentSection(root)}),
            (std::vector<void*>{model, model, model, root, nullptr}));
  char buffer[8] = "xxxxxxx";
  EXPECT_EQ((std::vector{zemGetName2(depth, buffer, 5), zemGetName2(depth, nullptr, 6), zemGetName2(depth, buffer, 0)}),
            std::vector(3, -1));  // "Depth" needs 6 bytes
  EXPECT_STREQ(buffer, "xxxxxxx");
  EXPECT_EQ(zemGetName2(depth, buffer, 6), 0);
  std::string copied = buffer;
  EXPECT_EQ(zemGetString2(zemParamByNum(depth, 3), buffer, 5), 0);
  EXPECT_EQ(copied + "," + buffer, "Depth,text");
  reports.expect(0, {});
  EXPECT_EQ(zemGetName2(nullptr, buffer, 1), 0);  // the empty text of an invalid node fits any buffer
  EXPECT_STREQ(buffer, "");
  reports.expect(1006, {"Invalid zemNode"});
}

TEST_F(ReadTree, InvalidNodeGivesNeutralResultCode1006AndOneReportPerCall) {
  for (void* p : {static_cast<void*>(nullptr), static_cast<void*>(handle)}) {  // a document handle where a node belongs
    EXPECT_EQ((std::vector{zemSectionByNum(p, 1), zemSectionByNameNum(p, "a", 1), zemKeywordByNum(p, 1),
                           zemKeywordByNameNum(p, "a", 1), zemParamByNum(p, 1), zemNodeByNum(p, 1), zemFindDefault(p),
                           zemGetParentSection(p)}),
              std::vector<void*>(8, nullptr));
    reports.expect(1006, Texts(10, "Invalid zemNode"));  // the parent question asks three questions of the node
    EXPECT_EQ((Texts{zemGetName(p), zemGetNameGlb(p), zemGetString(p)}), Texts(3, ""));
    EXPECT_EQ(std::pair(zemGetFloat(p), zemGetDouble(p)), std::pair(-1.0f, -1.0));
    EXPECT_EQ((std::vector{zemGetInt(p), zemGetNoSections(p), zemGetNoKeywords(p), zemGetNoParams(p), zemGetNoNodes(p),
                           zemGetLevel(p)}),
              std::vector(6, -1));
    reports.expect(1006, Texts(11, "Invalid zemNode"));
    EXPECT_EQ((std::vector{zemGetBool(p), zemGetSyntaxClass(p), zemGetNoInstances(p), zemGetInstanceNo(p),
                           zemIsSection(p), zemIsKeyword(p), zemIsParam(p), zemIsNumeric(p), zemIsInt(p), zemIsFloat(p),
                           zemIsDouble(p), zemIsBool(p), zemIsString(p), zemIsUndefinedPar(p), zemIsDefaultPar(p),
                           zemIsTarget(p), zemNumericIsIntType(p)}),
              std::vector(17, 0));
    reports.expect(1006, Texts(17, "Invalid zemNode"));
  }
}

TEST_F(ReadTree, HandleLookupsReportAnInvalidHandleButTheRootQuestionIsQuiet) {
  EXPECT_EQ(
      (std::tuple{zemGetNoTargets(model), zemGetErrorGlb(), zemTargetByNum(nullptr, 1), zemGetErrorGlb(),
                  zemTargetByNameNum(model, "Model", 1), zemGetErrorGlb(), zemFindSectionByHandle(model, "Model")}),
      std::tuple(0, 1005, nullptr, 1005, nullptr, 1005, nullptr));
  reports.expect(1005, Texts(4, "Invalid zemHandle (CzemData)"));
  EXPECT_EQ(zemGetRoot(model), nullptr);
  reports.expect(1005, {});
  TreelessDocument loaded;  // without a tree the lookups find an invalid node
  void* treeless = asVoid(&loaded);
  EXPECT_EQ((std::tuple{zemGetRoot(treeless), zemGetErrorGlb(), zemGetNoTargets(treeless), zemGetErrorGlb()}),
            std::tuple(nullptr, 0, 0, 1006));
  EXPECT_EQ((std::vector{zemTargetByNum(treeless, 1), zemTargetByNameNum(treeless, "A", 1),
                         zemFindSectionByHandle(treeless, "A/B")}),
            std::vector<void*>(3, nullptr));
  reports.expect(1006, Texts(4, "Invalid zemNode"));
}

TEST_F(ReadTree, SectionPathsSplitAtSlashesAndPointsWithOptionalInstances) {
  void* secondSub = zemSectionByNameNum(model, "Sub", 2);
  void* deep = zemSectionByNameNum(zemSectionByNameNum(model, "Sub", 3), "Deep", 1);
  const std::pair<const char*, void*> paths[] = {{"Model/Sub:2", secondSub},
                                                 {"model.SUB:2", secondSub},
                                                 {"/Model//Sub:3/Deep/", deep},
                                                 {"Model.Sub:3.Deep", deep},
                                                 {"Model/Sub:x", zemSectionByNum(model, 1)},
                                                 {"Model/Missing/Sub", nullptr},
                                                 {"Model/Sub:0", nullptr},
                                                 {"Model/Sub:-1", nullptr},
                                                 {"", nullptr}};
  for (const auto& [path, found] : paths) EXPECT_EQ(zemFindSectionByHandle(handle, path), found) << path;
  EXPECT_EQ(zemFindSectionByHandle(handle, nullptr), nullptr);
  EXPECT_EQ((std::vector{zemFindSectionByNode(model, "Sub:3/Deep"), zemFindSectionByNode(model, ""),
                         zemFindSectionByNode(model, "Deep")}),
            (std::vector<void*>{deep, model, nullptr}));
  EXPECT_EQ(zemFindSectionByNode(root, "Other"), zemTargetByNum(handle, 2));
  // A path of separators only names no segment, yet its handle or node is still checked.
  EXPECT_EQ((std::vector{zemFindSectionByNode(model, "/."), zemFindSectionByNode(handle, "/."),
                         zemFindSectionByHandle(model, "//")}),
            (std::vector<void*>{model, nullptr, nullptr}));
  reports.expect(1006, {"Invalid zemNode", "Invalid zemHandle (CzemData)"});
}

TEST(ReadValues, GettersAndValueTextsPassEachValueViewOn) {
  Reports reports;
  int number = 5;
  const char* bound = "first";
  Handle h = createDocument("A", "k");
  zemAddInt(h, 7);
  zemAddDouble(h, 2.5);
  zemAddBoolRef(h, &number);
  zemAddIntRef(h, &number);
  zemAddStringRef(h, &bound);
  zemAddClob(h);
  zemAddClobInt(h, 4);
  zemAddClobString(h, "b");
  void* k = zemKeywordByNum(zemTargetByNum(h, 1), 1);
  void* integer = zemParamByNum(k, 1);
  void* real = zemParamByNum(k, 2);
  // A built integer has only its integer view.
  EXPECT_EQ(std::tuple(zemGetInt(integer), zemGetDouble(integer), std::string(zemGetValueText(integer)),
                       zemNumericIsIntType(integer), zemNumericIsIntType(real), zemGetBool(zemParamByNum(k, 3))),
            std::tuple(7, 0.0, "", 1, 0, 5));
  number = 6;
  EXPECT_EQ(zemGetInt(zemParamByNum(k, 4)), 6);
  std::string texts = zemGetValueText(zemParamByNum(k, 5));
  bound = nullptr;
  texts.append("|")
      .append(zemGetValueText(zemParamByNum(k, 5)))
      .append("|")
      .append(zemGetValueText(zemParamByNum(k, 6)));
  EXPECT_EQ(texts, "first||4,\"b\"");
  reports.expect(0, {});
  EXPECT_STREQ(zemGetValueText(k), "");
  reports.expect(1012, {"Invalid zem parameter"});

  double d = 0;
  float f = 0;
  zemPasGetDoubleProc(real, &d);
  zemPasGetFloatProc(real, &f);
  EXPECT_EQ(std::pair(d, f), std::pair(2.5, 2.5f));
  zemPasGetDoubleProc(nullptr, &d);
  zemPasGetFloatProc(k, nullptr);  // no out-argument: nothing happens
  EXPECT_EQ(d, -1.0);
  reports.expect(1006, {"Invalid zemNode"});
}
