// Load, write and load again: the corpus comes back as the same tree, with
// only the differences of the text format (notes lost, a note alone becomes an
// empty place, integers take their value as text, file names are relative to
// the written file).
#include <gtest/gtest.h>

#include <regex>
#include <set>
#include <string>

#include "api_test_support.hpp"
#include "model/named_nodes.hpp"
#include "model/values.hpp"

using zem_test::Reports;
using zem_test::Texts;

namespace {

namespace fs = std::filesystem;
using zem::CzemNode;

CzemNode* asNode(void* p) { return static_cast<CzemNode*>(static_cast<zem::CzemBase*>(p)); }

std::vector<fs::path> corpusFiles() {
  std::vector<fs::path> files;
  for (const auto& entry : fs::directory_iterator(fs::path(ZEM_TEST_DATA) / "corpus"))
    if (entry.path().extension() == ".txt") files.push_back(entry.path());
  std::sort(files.begin(), files.end());
  return files;
}

std::string valueText(CzemNode* node) { return std::string(static_cast<zem::CzemParam*>(node)->valueText().view()); }

std::string resolved(CzemNode* node) {
  const char* name = node->GetFilename();
  return name != nullptr ? name : "";
}

// Compares a parameter as loaded with the same parameter after a write and a load.
void expectSameValue(CzemNode* before, CzemNode* after, const std::string& where) {
  if (before->GetSyntaxClass() == zem::kSynUnknown) {
    EXPECT_EQ(after->IsUndefinedPar(), 1) << where;
    return;
  }
  ASSERT_EQ(before->GetSyntaxClass(), after->GetSyntaxClass()) << where;
  ASSERT_EQ(before->IsClob(), after->IsClob()) << where;
  ASSERT_EQ(before->IsFilename(), after->IsFilename()) << where;
  if (before->IsClob() != 0) {
    EXPECT_STREQ(before->GetString(), after->GetString()) << where;
  } else if (before->IsFilename() != 0) {
    const bool sameText = std::string(before->GetFilenameString()) == after->GetFilenameString();
    EXPECT_TRUE(sameText || resolved(before) == resolved(after))
        << where << ": " << before->GetFilenameString() << " / " << after->GetFilenameString();
  } else if (before->GetSyntaxClass() == zem::kSynInt && before->IsInt() != 0) {
    EXPECT_EQ(after->IsInt(), 1) << where;
    EXPECT_EQ(before->GetInt(), after->GetInt()) << where;
  } else if (before->IsBool() != 0) {
    EXPECT_EQ(before->GetBool(), after->GetBool()) << where;
  } else if (before->IsString() != 0) {
    EXPECT_STREQ(before->GetString(), after->GetString()) << where;
  } else {
    EXPECT_EQ(valueText(before), valueText(after)) << where;
  }
}

void expectSameTree(CzemNode* before, CzemNode* after, const std::string& where) {
  if (before->IsParam() != 0) {
    expectSameValue(before, after, where);
    return;
  }
  ASSERT_EQ(before->GetSyntaxClass(), after->GetSyntaxClass()) << where;
  auto* a = static_cast<zem::CzemNamedNode*>(before);
  auto* b = static_cast<zem::CzemNamedNode*>(after);
  EXPECT_EQ(a->name().view(), b->name().view()) << where;
  EXPECT_EQ(a->flags() & zem::kMayRepeat, b->flags() & zem::kMayRepeat) << where;
  EXPECT_EQ(a->GetNoKeywords(), b->GetNoKeywords()) << where;
  EXPECT_EQ(a->GetNoSections(), b->GetNoSections()) << where;
  ASSERT_EQ(a->children().size(), b->children().size()) << where;
  for (std::size_t i = 0; i < a->children().size(); ++i)
    expectSameTree(a->children()[i], b->children()[i], where + "/" + std::string(a->children()[i]->GetName()));
}

// Loads a file that must load cleanly.
void* load(const fs::path& file) {
  void* handle = zemLoadFile(file.string().c_str(), 0);
  EXPECT_NE(handle, nullptr) << file;
  EXPECT_EQ(zemGetErrorGlb(), 0) << file;
  return handle;
}

std::string withoutCreationLine(const std::string& text) {
  return std::regex_replace(text, std::regex("^// Created     : [^\r]*"), "", std::regex_constants::format_first_only);
}

class WriteRoundTrip : public testing::Test {
 protected:
  void SetUp() override { dir = zem_test::scratchDir(); }
  Reports reports;
  fs::path dir;
};

TEST_F(WriteRoundTrip, LoadWriteLoadGivesTheSameTree) {
  for (const fs::path& source : corpusFiles()) {
    SCOPED_TRACE(source.filename().string());
    void* original = load(source);
    ASSERT_NE(zemGetRoot(original), nullptr);
    const fs::path copy = dir / source.filename();
    zemWrite(original, copy.string().c_str());
    void* reread = load(copy);
    if (reread != nullptr && zemGetRoot(reread) != nullptr)
      expectSameTree(asNode(zemGetRoot(original)), asNode(zemGetRoot(reread)), source.filename().string());
    EXPECT_EQ(reports.take(), Texts{});
    zemClose(&reread);
    zemClose(&original);
  }
}

TEST_F(WriteRoundTrip, WrittenTextIsStableUnderASecondRoundTrip) {
  for (const fs::path& source : corpusFiles()) {
    SCOPED_TRACE(source.filename().string());
    void* original = load(source);
    const fs::path first = dir / ("first_" + source.filename().string());
    const fs::path second = dir / ("second_" + source.filename().string());
    zemWrite(original, first.string().c_str());
    void* reread = load(first);
    zemWrite(reread, second.string().c_str());
    EXPECT_EQ(withoutCreationLine(zem_test::readFile(first)), withoutCreationLine(zem_test::readFile(second)));
    zemClose(&reread);
    zemClose(&original);
  }
}

TEST_F(WriteRoundTrip, CorpusUsesEveryKindOfNodeAndValue) {
  std::set<int> classes;
  bool clob = false, filename = false, dateTime = false, templateMark = false, repeated = false;
  for (const fs::path& source : corpusFiles()) {
    void* handle = load(source);
    if (handle == nullptr || zemGetRoot(handle) == nullptr) continue;
    zem::Visitor visitor{
        [](CzemNode* node, void* seen) { static_cast<std::vector<CzemNode*>*>(seen)->push_back(node); }, nullptr};
    std::vector<CzemNode*> nodes;
    visitor.context = &nodes;
    asNode(zemGetRoot(handle))->Visit(visitor);
    for (CzemNode* node : nodes) {
      classes.insert(node->GetSyntaxClass());
      clob |= node->IsClob() != 0;
      filename |= node->IsFilename() != 0;
      dateTime |= node->GetSyntaxClass() == zem::kSynFilename && node->IsFilename() == 0;
      if (auto* named = dynamic_cast<zem::CzemNamedNode*>(node))
        templateMark |= (named->flags() & zem::kMayRepeat) != 0;
      repeated |= node->IsParam() == 0 && node->GetNoInstances() > 1;
    }
    zemClose(&handle);
  }
  for (int expected : {2, 3, 4, 6, 7, 8, 9, 10, 11, 12, 14, 15}) EXPECT_TRUE(classes.count(expected)) << expected;
  EXPECT_TRUE(clob);
  EXPECT_TRUE(filename);
  EXPECT_TRUE(dateTime);
  EXPECT_TRUE(templateMark);
  EXPECT_TRUE(repeated);
}

}  // namespace
