// Closing a loaded document does not visit the subtrees that hold nothing but
// places in its arena. A change deep inside such a subtree must make the close
// visit it again: under the leak checker, a node skipped after it came to own
// memory fails these tests.
#include <gtest/gtest.h>
#include <zem/zem.h>

#include <functional>
#include <string>

#include "test_support.hpp"

namespace {

constexpr const char* kDeepTree =
    "[Outer]\n  [Middle]\n    [Inner]\n      Data = |a.dat|, 1\n      Level = 2\n    EndSect\n  EndSect\n"
    "  [Beside]\n    Count = 3\n  EndSect\nEndSect\n";
constexpr const char* kLongText = "a text far longer than any text kept inside its node";

// A built document whose section Added holds a keyword with a long text.
void* builtSource() {
  void* doc = zemCreate();
  zemAddTarget(doc, "Source");
  zemAddSection(doc, "Added");
  zemAddKeyword(doc, "Note");
  zemAddString(doc, kLongText);
  return doc;
}

TEST(LoadedTeardown, ChangesDeepInsideALoadedTreeAreFreedAtClose) {
  const std::function<void(void* doc, void* inner)> changes[] = {
      [](void*, void* inner) { zemGetNameGlb(zemKeywordByNum(inner, 1)); },
      [](void*, void* inner) { zemGetNameGlb(inner); },
      [](void*, void* inner) { zemSetFilename(zemParamByNum(zemKeywordByNum(inner, 1), 1), kLongText); },
      [](void*, void* inner) {
        void* source = builtSource();
        zemCopy(zemKeywordByNum(zemFindSectionByHandle(source, "Source/Added"), 1), zemKeywordByNum(inner, 2));
        zemClose(&source);
      },
      [](void*, void* inner) {
        void* source = builtSource();
        zemInsert(zemFindSectionByHandle(source, "Source/Added"), inner, 1);
        zemClose(&source);
      },
      [](void* doc, void*) {
        void* source = builtSource();
        zemCopy(zemFindSectionByHandle(source, "Source/Added"), zemFindSectionByHandle(doc, "Outer/Beside"));
        zemClose(&source);
      },
  };
  int n = 0;
  for (const auto& change : changes) {
    SCOPED_TRACE("change " + std::to_string(++n));
    void* doc = loadDocument(kDeepTree);
    ASSERT_EQ(zemPeekErrorGlb(), 0);
    void* inner = zemFindSectionByHandle(doc, "Outer/Middle/Inner");
    ASSERT_NE(inner, nullptr);
    change(doc, inner);
    zemClose(&doc);
  }
}

}  // namespace
