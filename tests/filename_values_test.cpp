#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "model/named_nodes.hpp"
#include "model/value_factory.hpp"
#include "paths/filename.hpp"
#include "paths/path_ops.hpp"
#include "text/output_stream.hpp"
#include "vox/vox.h"
#include "zem/zem.h"

using namespace zem;

namespace {

std::string workOnDriveC() { return "c:\\work"; }

struct CurrentDirectoryOnDriveC {
  CurrentDirectoryOnDriveC() { setCurrentDirectoryProvider(workOnDriveC); }
  ~CurrentDirectoryOnDriveC() { setCurrentDirectoryProvider(nullptr); }
};

// A document root with one section "S" and one keyword "k".
struct Document {
  CzemTargetList root;
  CzemKeyword* keyword = new CzemKeyword("k");

  explicit Document(std::string_view anchor) {
    root.setAnchor(anchor);
    auto* section = new CzemSection("S");
    root.addSection(section);
    section->addKeyword(keyword);
  }
  CzemNode* name(std::string_view text) {
    CzemNode* value = makeFilenameValue(text);
    keyword->addParam(value);
    return value;
  }
  std::string keywordLine() {
    OutputStream out(nullptr);
    keyword->Write(out);
    return out.text();
  }
};

std::string written(CzemNode* value) {
  OutputStream out(nullptr);
  value->Write(out);
  return out.text();
}

struct Reports {
  std::vector<std::string> texts;
  Reports() {
    zemGetErrorGlb();
    voxSetSink(&Reports::collect, this);
  }
  ~Reports() {
    voxSetSink(nullptr, nullptr);
    zemGetErrorGlb();
  }
  static void collect(const char* text, int, void* self) { static_cast<Reports*>(self)->texts.emplace_back(text); }
};

void* handle(CzemNode* node) { return static_cast<CzemBase*>(node); }

}  // namespace

TEST(FilenameValue, ResolvesAgainstAWindowsAnchorOnAnyHost) {
  Document doc("c:\\proj\\model.txt");
  EXPECT_STREQ(doc.name("data\\in.txt")->GetFilename(), "c:\\proj\\data\\in.txt");
  EXPECT_STREQ(doc.name("..\\x.txt")->GetFilename(), "c:\\x.txt");
  EXPECT_STREQ(doc.name("d:\\x.txt")->GetFilename(), "d:\\x.txt");
  EXPECT_STREQ(doc.name("")->GetFilename(), "");
  CzemNode* kept = doc.name("data\\in.txt");
  kept->GetFilename();
  EXPECT_STREQ(kept->GetFilenameString(), "data\\in.txt");
}

TEST(FilenameValue, RelativeOrDriveLessAnchorIsCompletedFromTheCurrentDirectory) {
  CurrentDirectoryOnDriveC cwd;
  Document relative("model.txt");
  EXPECT_EQ(absoluteAnchor("model.txt"), "c:\\work\\model.txt");
  EXPECT_STREQ(relative.name("in.txt")->GetFilename(), "c:\\work\\in.txt");
  Document rooted("\\proj\\model.txt");
  EXPECT_EQ(absoluteAnchor("\\proj\\model.txt"), "c:\\proj\\model.txt");
  EXPECT_STREQ(rooted.name("data\\in.txt")->GetFilename(), "c:\\proj\\data\\in.txt");
}

TEST(FilenameValue, DocumentWithoutAnchorResolvesAgainstTheCurrentDirectory) {
  Document doc("");
  char buffer[4096];
  ASSERT_NE(getcwd(buffer, sizeof buffer), nullptr);
  EXPECT_EQ(std::string(doc.name("in.txt")->GetFilename()), std::string(buffer) + "/in.txt");
}

TEST(FilenameValue, ResolutionFollowsTheAnchorOfTheMoment) {
  Document doc("c:\\proj\\model.txt");
  CzemNode* value = doc.name("in.txt");
  EXPECT_STREQ(value->GetFilename(), "c:\\proj\\in.txt");
  doc.root.setAnchor("e:\\elsewhere\\copy.txt");
  EXPECT_STREQ(value->GetFilename(), "e:\\elsewhere\\in.txt");
}

TEST(FilenameValue, OverLongResolutionLeavesTheNameAsItWas) {
  Document doc("c:\\" + std::string(250, 'a') + "\\model.txt");
  EXPECT_STREQ(doc.name("data\\in.txt")->GetFilename(), "data\\in.txt");
}

TEST(FilenameValue, WritesAbsoluteNamesOnTheAnchorDriveRelativeToTheAnchor) {
  Document doc("c:\\proj\\model.txt");
  EXPECT_EQ(written(doc.name("data\\in.txt")), "|data\\in.txt|");
  EXPECT_EQ(written(doc.name("c:\\proj\\data\\in.txt")), "|.\\data\\in.txt|");
  EXPECT_EQ(written(doc.name("C:\\PROJ\\a.txt")), "|.\\a.txt|");
  EXPECT_EQ(written(doc.name("c:\\other\\x.txt")), "|..\\other\\x.txt|");
  EXPECT_EQ(written(doc.name("d:\\x.txt")), "|d:\\x.txt|");
  EXPECT_EQ(written(doc.name("\\\\srv\\share\\x.txt")), "|\\\\srv\\share\\x.txt|");
  EXPECT_EQ(doc.keywordLine(),
            "   k = |data\\in.txt|, |.\\data\\in.txt|, |.\\a.txt|, |..\\other\\x.txt|, |d:\\x.txt|, "
            "|\\\\srv\\share\\x.txt|\r\n");
}

TEST(FilenameValue, RealLinuxPathResolvesToAFileThatOpensAndWritesBackRelative) {
  namespace fs = std::filesystem;
  const fs::path project = fs::path(testing::TempDir()) / "filename_values_proj";
  fs::create_directories(project / "data");
  const std::string target = (project / "data" / "in.txt").string();
  std::FILE* file = std::fopen(target.c_str(), "w");
  ASSERT_NE(file, nullptr);
  std::fputs("x", file);
  std::fclose(file);

  Document doc((project / "model.txt").string());
  const char* resolved = doc.name("data\\in.txt")->GetFilename();
  EXPECT_EQ(std::string(resolved), target);
  std::FILE* opened = std::fopen(resolved, "r");
  EXPECT_NE(opened, nullptr);
  if (opened != nullptr) std::fclose(opened);

  EXPECT_EQ(written(doc.name(target)), "|./data/in.txt|");
  EXPECT_EQ(written(doc.name((project.parent_path() / "other.txt").string())), "|../other.txt|");
  EXPECT_EQ(written(doc.name("c:\\x.txt")), "|c:\\x.txt|");
  fs::remove_all(project);
}

TEST(FilenameValue, IsAParameterOfSyntaxClass10ThatCopiesItsText) {
  CzemFilename value("a\\b.txt");
  EXPECT_EQ(value.IsFilename(), 1);
  EXPECT_EQ(value.IsParam(), 1);
  EXPECT_EQ(value.GetSyntaxClass(), 10);
  std::unique_ptr<CzemNode> copy(value.NewEmpty());
  EXPECT_EQ(copy->IsFilename(), 1);
  EXPECT_STREQ(copy->GetFilenameString(), "");
  copy->CopyFrom(&value);
  EXPECT_STREQ(copy->GetFilenameString(), "a\\b.txt");
  EXPECT_EQ(copy->parent(), nullptr);
}

TEST(FilenameExports, InvalidNodeStores1006AndGivesNeutralResults) {
  Reports reports;
  EXPECT_EQ(zemIsFilename(nullptr), 0);
  EXPECT_STREQ(zemGetFilename(nullptr), "");
  EXPECT_STREQ(zemGetFilenameString(nullptr), "");
  EXPECT_STREQ(zemGetAnchorFilename(nullptr), "");
  zemSetFilename(nullptr, "x");
  zemSetAnchorFilename(nullptr, "x");
  EXPECT_EQ(zemGetErrorGlb(), 1006);
  EXPECT_EQ(reports.texts, std::vector<std::string>(6, "Invalid zemNode"));
}

TEST(FilenameExports, WrongKindReportsAndGivesNull) {
  Document doc("c:\\proj\\model.txt");
  Reports reports;
  char buffer[8] = "keep";
  void* keyword = handle(doc.keyword);
  EXPECT_EQ(zemIsFilename(keyword), 0);
  EXPECT_EQ(zemGetFilename(keyword), nullptr);
  EXPECT_EQ(zemGetFilenameString(keyword), nullptr);
  EXPECT_EQ(zemGetFilename2(keyword, buffer, sizeof buffer), -2);
  EXPECT_STREQ(buffer, "keep");
  zemSetFilename(keyword, "x");
  EXPECT_EQ(zemGetErrorGlb(), 0);
  EXPECT_EQ(reports.texts, std::vector<std::string>(3, "Function invalid in this context"));
}

TEST(FilenameExports, GetSetAndCopyTheName) {
  Document doc("c:\\proj\\model.txt");
  void* value = handle(doc.name("in.txt"));
  EXPECT_EQ(zemIsFilename(value), 1);
  zemSetFilename(value, "data\\x.txt");
  EXPECT_STREQ(zemGetFilenameString(value), "data\\x.txt");
  EXPECT_STREQ(zemGetFilename(value), "c:\\proj\\data\\x.txt");

  const std::size_t length = std::strlen("c:\\proj\\data\\x.txt");
  char buffer[64] = "";
  EXPECT_EQ(zemGetFilename2(value, buffer, static_cast<int>(length)), -1);
  EXPECT_STREQ(buffer, "");
  EXPECT_EQ(zemGetFilename2(value, buffer, static_cast<int>(length + 1)), 0);
  EXPECT_STREQ(buffer, "c:\\proj\\data\\x.txt");
  EXPECT_EQ(zemGetFilename2(value, nullptr, 64), -1);
}

TEST(FilenameExports, AnchorIsSetOnTheTreeTopAndReadOnlyFromTargetLists) {
  Document doc("");
  void* value = handle(doc.name("in.txt"));
  zemSetAnchorFilename(value, "c:\\proj\\model.txt");
  EXPECT_STREQ(zemGetAnchorFilename(handle(&doc.root)), "c:\\proj\\model.txt");
  EXPECT_STREQ(zemGetAnchorFilename(handle(doc.keyword)), "");
  EXPECT_STREQ(zemGetAnchorFilename(handle(doc.root.SectionByNum(1))), "");
  EXPECT_STREQ(zemGetFilename(value), "c:\\proj\\in.txt");

  char buffer[32];
  EXPECT_EQ(zemGetAnchorFilename2(handle(&doc.root), buffer, 17), -1);
  EXPECT_EQ(zemGetAnchorFilename2(handle(&doc.root), buffer, 18), 0);
  EXPECT_STREQ(buffer, "c:\\proj\\model.txt");

  CzemFilename detached("x");
  zemSetAnchorFilename(handle(&detached), "ignored");
  EXPECT_STREQ(detached.GetAnchorFilename(), "");
}
