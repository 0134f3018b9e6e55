// Every export of zem.h called with null, with memory that holds no object (a zeroed buffer), with handles and
// nodes of every kind, and always with null out-arguments: no crash, and the checks store their codes whatever
// the out-arguments are.

#include "test_support.hpp"

namespace {

struct Args {
  void* o;        // every handle, node or CLOB argument
  const char* s;  // every text argument
  char* buf;      // every buffer: ZEM_MAX_PATH bytes (size 1 where a size is asked)
  void** pp;      // the handle variable of zemClose; the item out-argument of zemGetClobItemS
};

// The code each export stores when every argument is null: 0 for exports that check no handle or node (texts,
// versions; the token reader keeps its errors).
struct Row {
  int nullCode;
  const char* name;
  void (*call)(const Args&);
};

// clang-format off
#define ROW(code, f, ...) Row{code, #f, [](const Args& a) { (void)a; f(__VA_ARGS__); }}
// A builder export and its quiet variant, which take the same arguments.
#define PAIR(code, f, ...) ROW(code, f, __VA_ARGS__), ROW(code, f##S, __VA_ARGS__)
#define NODE(f) ROW(1006, f, a.o)
#define DATA(f) ROW(1005, f, a.o)
const Row kRows[] = {
    ROW(0, zemGetErrorGlb), ROW(0, zemPeekErrorGlb), ROW(0, zemGetErrorMessageFromErrorCode, 1),
    ROW(1005, zemGetErrorFromZemData, a.o), ROW(0, zemGetVersion), ROW(0, zemGetDLLid), ROW(0, zemGetBuildVersion),
    ROW(0, zemGetVersion2, a.buf, 1), ROW(0, zemGetDLLid2, a.buf, 1), ROW(0, zemGetBuildVersion2, a.buf, 1),
    Row{1001, "zemLoadFile", [](const Args& a) {
          void* made = zemLoadFile(a.s, 1);
          if (made != nullptr) zemClose(&made);
        }},
    ROW(1005, zemClose, a.pp), NODE(zemGetZemFileName), ROW(1005, zemGetSyntaxErr, a.o, nullptr, nullptr, nullptr),
    DATA(zemNoChars), DATA(zemNoLines), DATA(zemNoComments), DATA(zemNoTokens), ROW(1005, zemWrite, a.o, a.s),
    ROW(1005, zemAppend, a.o, a.s), DATA(zemGetRoot), DATA(zemGetNoTargets), ROW(1005, zemTargetByNum, a.o, 1),
    ROW(1005, zemTargetByNameNum, a.o, a.s, 1), ROW(1006, zemSectionByNum, a.o, 1),
    ROW(1006, zemSectionByNameNum, a.o, a.s, 1), ROW(1006, zemKeywordByNum, a.o, 1),
    ROW(1006, zemKeywordByNameNum, a.o, a.s, 1), ROW(1006, zemParamByNum, a.o, 1), ROW(1006, zemNodeByNum, a.o, 1),
    NODE(zemGetSyntaxClass), NODE(zemGetNoSections), NODE(zemGetNoKeywords), NODE(zemGetNoParams), NODE(zemGetNoNodes),
    NODE(zemGetNoInstances), NODE(zemGetInstanceNo), NODE(zemGetLevel), NODE(zemGetName), NODE(zemGetNameGlb),
    NODE(zemGetInt), NODE(zemGetFloat), NODE(zemGetDouble), NODE(zemGetBool), NODE(zemGetString),
    ROW(1006, zemPasGetDoubleProc, a.o, nullptr), ROW(1006, zemPasGetFloatProc, a.o, nullptr),
    ROW(1006, zemGetName2, a.o, a.buf, 1), ROW(1006, zemGetNameGlb2, a.o, a.buf, 1),
    ROW(1006, zemGetString2, a.o, a.buf, 1), NODE(zemIsSection), NODE(zemIsKeyword), NODE(zemIsParam),
    NODE(zemIsNumeric), NODE(zemIsInt), NODE(zemIsFloat), NODE(zemIsDouble), NODE(zemIsBool), NODE(zemIsString),
    NODE(zemIsUndefinedPar), NODE(zemIsDefaultPar), NODE(zemIsTarget), NODE(zemNumericIsIntType),
    NODE(zemGetParentSection), ROW(1005, zemFindSectionByHandle, a.o, a.s), ROW(1006, zemFindSectionByNode, a.o, a.s),
    NODE(zemFindDefault),
    Row{0, "zemCreate", [](const Args&) {
          void* made = zemCreate();
          zemClose(&made);
        }},
    PAIR(1005, zemAddTarget, a.o, a.s), PAIR(1005, zemAddSection, a.o, a.s), PAIR(1005, zemEndSection, a.o),
    PAIR(1005, zemAddKeyword, a.o, a.s), PAIR(1005, zemAddInt, a.o, 1), PAIR(1005, zemAddFloat, a.o, 1),
    PAIR(1005, zemAddDouble, a.o, 1), PAIR(1005, zemAddBool, a.o, 1), PAIR(1005, zemAddString, a.o, a.s),
    PAIR(1005, zemAddFilename, a.o, a.s), PAIR(1005, zemAddUndefinedPar, a.o), PAIR(1005, zemAddIntDef, a.o),
    PAIR(1005, zemAddFloatDef, a.o), PAIR(1005, zemAddDoubleDef, a.o), PAIR(1005, zemAddBoolDef, a.o),
    PAIR(1005, zemAddStringDef, a.o), PAIR(1005, zemAddFilenameDef, a.o),
    PAIR(1005, zemAddKeywordDef, a.o, a.s, a.s, 1, 1, 1), PAIR(1005, zemAddSectionDef, a.o, a.s, 1, 1),
    PAIR(1005, zemAddIntRef, a.o, nullptr), PAIR(1005, zemAddFloatRef, a.o, nullptr),
    PAIR(1005, zemAddDoubleRef, a.o, nullptr), PAIR(1005, zemAddBoolRef, a.o, nullptr),
    PAIR(1005, zemAddStringRef, a.o, nullptr), NODE(zemIsFilename), NODE(zemGetFilename),
    ROW(1006, zemGetFilename2, a.o, a.buf, 1), NODE(zemGetFilenameString), ROW(1006, zemSetFilename, a.o, a.s),
    ROW(1006, zemSetAnchorFilename, a.o, a.s), NODE(zemGetAnchorFilename),
    ROW(1006, zemGetAnchorFilename2, a.o, a.buf, 1), PAIR(1005, zemAddClob, a.o), PAIR(1005, zemAddClobBool, a.o, 1),
    PAIR(1005, zemAddClobInt, a.o, 1), PAIR(1005, zemAddClobFloat, a.o, 1), PAIR(1005, zemAddClobDouble, a.o, 1),
    PAIR(1005, zemAddClobString, a.o, a.s), PAIR(1005, zemAddClobFilename, a.o, a.s), NODE(zemGetClobBool),
    ROW(1006, zemGetClobBoolS, a.o, nullptr), NODE(zemGetClobInt), ROW(1006, zemGetClobIntS, a.o, nullptr),
    NODE(zemGetClobFloat), ROW(1006, zemGetClobFloatS, a.o, nullptr), NODE(zemGetClobDouble),
    ROW(1006, zemGetClobDoubleS, a.o, nullptr), NODE(zemGetClobString), ROW(1006, zemGetClobStringS, a.o, nullptr),
    NODE(zemGetClobFilename), ROW(1006, zemGetClobFilenameS, a.o, nullptr), NODE(zemGetClobItem),
    ROW(1006, zemGetClobItemS, a.o, a.pp), PAIR(1006, zemClobReset, a.o, 1), NODE(zemIsClob), NODE(zemIsClobEnd),
    ROW(1006, zemIsClobEndS, a.o, nullptr), NODE(zemGetErrorFromZemClob), ROW(1012, zemGetValueText, a.o),
    ROW(1009, zemeDeleteKeywordByNum, a.o, 1), ROW(1009, zemeDeleteKeywordByNameNum, a.o, a.s, 1),
    ROW(1011, zemeDeleteSectionByNum, a.o, 1), ROW(1011, zemeDeleteSectionByNameNum, a.o, a.s, 1),
    ROW(1007, zemeDeleteParameter, a.o, 1), ROW(1009, zemeInsertNewKeyword, a.o, a.s, 1),
    ROW(1011, zemeInsertNewSection, a.o, a.s, 1), ROW(1007, zemeInsertNewParameterInt, a.o, 1, 1),
    ROW(1007, zemeInsertNewParameterDouble, a.o, 1, 1), ROW(1007, zemeInsertNewParameterBool, a.o, 1, 1),
    ROW(1007, zemeInsertNewParameterString, a.o, a.s, 1), ROW(1007, zemeInsertNewParameterFileName, a.o, a.s, 1),
    ROW(1007, zemeInsertNewParameterClob, a.o, 1), ROW(1007, zemeInsertNewParameterUndefined, a.o, 1),
    ROW(1009, zemeInsertCopyKeyword, a.o, a.o, 1), ROW(1011, zemeInsertCopySection, a.o, a.o, 1),
    ROW(1007, zemeInsertCopyParameter, a.o, a.o, 1), ROW(1007, zemeModifyKeywordName, a.o, a.s),
    ROW(1009, zemeModifySectionName, a.o, a.s), ROW(1012, zemeModifyParameterInt, a.o, 1),
    ROW(1012, zemeModifyParameterDouble, a.o, 1), ROW(1012, zemeModifyParameterBool, a.o, 1),
    ROW(1012, zemeModifyParameterString, a.o, a.s), ROW(1012, zemeModifyParameterFileName, a.o, a.s),
    ROW(1006, zemInsert, a.o, a.o, 1), ROW(1006, zemCopy, a.o, a.o), ROW(1001, zemFileCopy, a.s, a.s),
    ROW(1006, zemEquivalentExt, a.o, a.o, a.o, 1), ROW(1006, zemEquivalent, a.o, a.o, a.o), ROW(0, zemIsEqvQuiet),
    ROW(1006, zemGetResultFolderPath, a.o, a.buf), ROW(0, zemConstructResultFolderPathName, 1, a.s, a.s, a.s, a.buf),
    ROW(1006, zemGetCustomResultFolder, a.o, nullptr, a.buf), ROW(1005, zemSetCustomResultFolder, a.o, 1, a.s),
    NODE(zemGetProjectResultRoot), ROW(1005, zemSetProjectResultRoot, a.o, a.s),
    PAIR(1005, zemAddResultFilename, a.o, a.s), ROW(0, zemGetResultFilename, a.o),
    ROW(0, zemGetResultFilenamePath, a.o, a.buf), ROW(0, zemtLoadFile, a.s, nullptr), ROW(0, zemtNextToken, nullptr),
    ROW(0, zemtGetTokenString, nullptr), ROW(0, zemtGetError, nullptr, nullptr, nullptr),
    ROW(0, zemtGetTokenPosition, nullptr, nullptr, nullptr), ROW(0, zemtDispose, nullptr),
    ROW(1005, zemExplore, a.o, nullptr), ROW(1006, zemDump, a.o, a.s),
    ROW(1006, zemGetNodeSpan, a.o, nullptr, nullptr, nullptr, nullptr)};
// clang-format on

// A document [A] k = 1, 2.5, 'x', |f.txt|, '<CLOB:1>', a default and a nested section, and its nodes.
struct Kinds {
  Kinds() {
    zemAddInt(doc, 1);
    zemAddDouble(doc, 2.5);
    zemAddString(doc, "x");
    zemAddFilename(doc, "f.txt");
    zemAddClob(doc);
    zemAddClobInt(doc, 1);
    zemAddSection(doc, "B");
    zemEndSection(doc);
    zemEndSection(doc);
  }
  Handle doc = createDocument("A", "k");
  void* section() { return zemTargetByNum(doc, 1); }
  void* keyword() { return zemKeywordByNum(section(), 1); }
  void* param(unsigned n) { return zemParamByNum(keyword(), n); }
};

}  // namespace

TEST(Armour, EveryExportTakesNullAndMemoryWithoutAnObjectAlike) {
  alignas(16) static unsigned char zeroed[4096] = {};
  Reports reports;
  for (const Row& row : kRows) {
    SCOPED_TRACE(row.name);
    row.call(Args{nullptr, nullptr, nullptr, nullptr});
    const int nullCode = zemGetErrorGlb();
    EXPECT_EQ(nullCode, row.nullCode);
    void* zero = zeroed;
    char buffer[ZEM_MAX_PATH] = {};
    // zemClose must not take the zeroed buffer's address for a handle variable it could clear.
    void* scratch = zero;
    row.call(Args{zero, "", buffer, &scratch});
    const std::string name = row.name;
    if (name == "zemGetResultFilename" || name == "zemGetResultFilenamePath") {
      EXPECT_EQ(zemGetErrorGlb(), 1006) << "null is no result file, anything else not a node";
    } else if (name != "zemClose") {
      EXPECT_EQ(zemGetErrorGlb(), nullCode) << "memory without an object fails as null does";
    } else {
      EXPECT_EQ(zemGetErrorGlb(), 1005);
      EXPECT_EQ(scratch, zero);
    }
    for (unsigned char byte : zeroed) ASSERT_EQ(byte, 0) << "nothing is written into it";
  }
  reports.take();
}

TEST(Armour, EveryExportTakesEveryKindOfHandleAndNode) {
  Reports reports;
  using Pick = void* (*)(Kinds&);
  const Pick picks[] = {
      [](Kinds& k) -> void* { return k.doc; }, [](Kinds& k) { return zemGetRoot(k.doc); },
      [](Kinds& k) { return k.section(); },    [](Kinds& k) { return k.keyword(); },
      [](Kinds& k) { return k.param(1); },     [](Kinds& k) { return k.param(2); },
      [](Kinds& k) { return k.param(5); },     [](Kinds& k) { return zemSectionByNum(k.section(), 1); },
  };
  for (const Row& row : kRows) {
    SCOPED_TRACE(row.name);
    for (Pick pick : picks) {
      Kinds kinds;
      void* object = pick(kinds);
      void* handleVariable = object;
      char buffer[ZEM_MAX_PATH] = {};
      row.call(Args{object, "/nonexistent/x", buffer, &handleVariable});
      // zemClose given the document closes it.
      if (object == kinds.doc && handleVariable == nullptr) kinds.doc.release();
      zemGetErrorGlb();
    }
  }
  reports.take();
}

TEST(Armour, NodeChecksStoreTheirCodeAlsoWithoutOutArguments) {
  Reports reports;
  zemPasGetDoubleProc(nullptr, nullptr);
  reports.expect(1006, {"Invalid zemNode"});
  zemPasGetFloatProc(nullptr, nullptr);
  reports.expect(1006, {"Invalid zemNode"});
  Kinds kinds;
  zemPasGetDoubleProc(kinds.param(2), nullptr);
  reports.expect(0, {});
  EXPECT_EQ(zemGetClobIntS(kinds.param(1), nullptr), 1015);
  reports.expect(1006, {});
  EXPECT_EQ(zemIsClobEndS(nullptr, nullptr), 1015);
  reports.expect(1006, {});
  zemGetSyntaxErr(kinds.doc, nullptr, nullptr, nullptr);
  reports.expect(1005, {"Invalid zemHandle (CzemLoad)"});
}
