// Load, write and load again: the corpus comes back as the same tree, with
// only the differences of the text format (notes lost, a note alone becomes an
// empty place, integers take their value as text, file names are relative to
// the written file), and a second round trip writes the same text.
#include <regex>

#include "test_support.hpp"

using zem::CzemNode;

namespace {

namespace fs = std::filesystem;

std::string valueText(CzemNode* node) { return std::string(static_cast<zem::CzemParam*>(node)->valueText().view()); }
std::string resolved(CzemNode* node) { return node->GetFilename() != nullptr ? node->GetFilename() : ""; }

// Compares a parameter as loaded with the same parameter after a write and a load.
void expectSameValue(CzemNode* before, CzemNode* after) {
  if (before->GetSyntaxClass() == zem::kSynUnknown) {
    EXPECT_EQ(after->IsUndefinedPar(), 1);
    return;
  }
  ASSERT_EQ(before->GetSyntaxClass(), after->GetSyntaxClass());
  ASSERT_EQ(before->IsClob(), after->IsClob());
  ASSERT_EQ(before->IsFilename(), after->IsFilename());
  if (before->IsClob() != 0 || before->IsString() != 0) {
    EXPECT_STREQ(before->GetString(), after->GetString());
  } else if (before->IsFilename() != 0) {
    const bool sameText = std::string(before->GetFilenameString()) == after->GetFilenameString();
    EXPECT_TRUE(sameText || resolved(before) == resolved(after)) << before->GetFilenameString();
  } else if (before->GetSyntaxClass() == zem::kSynInt && before->IsInt() != 0) {
    EXPECT_EQ(after->IsInt(), 1);
    EXPECT_EQ(before->GetInt(), after->GetInt());
  } else if (before->IsBool() != 0) {
    EXPECT_EQ(before->GetBool(), after->GetBool());
  } else {
    EXPECT_EQ(valueText(before), valueText(after));
  }
}

void expectSameTree(CzemNode* before, CzemNode* after, const std::string& where) {
  SCOPED_TRACE(where);
  if (before->IsParam() != 0) return expectSameValue(before, after);
  ASSERT_EQ(before->GetSyntaxClass(), after->GetSyntaxClass());
  auto* a = static_cast<zem::CzemNamedNode*>(before);
  auto* b = static_cast<zem::CzemNamedNode*>(after);
  EXPECT_EQ(a->name().view(), b->name().view());
  EXPECT_EQ(a->flags() & zem::kMayRepeat, b->flags() & zem::kMayRepeat);
  EXPECT_EQ(a->GetNoKeywords(), b->GetNoKeywords());
  EXPECT_EQ(a->GetNoSections(), b->GetNoSections());
  ASSERT_EQ(a->children().size(), b->children().size());
  for (std::size_t i = 0; i < a->children().size(); ++i)
    expectSameTree(a->children()[i], b->children()[i], where + "/" + a->children()[i]->GetName());
}

// Loads a file that must load cleanly.
void* load(const fs::path& file) {
  void* handle = zemLoadFile(file.string().c_str(), 0);
  EXPECT_NE(zemGetRoot(handle), nullptr) << file;
  EXPECT_EQ(zemGetErrorGlb(), 0) << file;
  return handle;
}

std::string withoutCreationLine(const fs::path& file) {
  return std::regex_replace(readFile(file), std::regex("^// Created     : [^\r]*"), "",
                            std::regex_constants::format_first_only);
}

TEST(WriteRoundTrip, LoadWriteLoadGivesTheSameTreeAndAStableText) {
  Reports reports;
  const fs::path dir = scratchDir();
  for (const auto& entry : fs::directory_iterator(fs::path(ZEM_TEST_DATA) / "corpus")) {
    const fs::path& source = entry.path();
    SCOPED_TRACE(source.filename().string());
    void* original = load(source);
    const fs::path first = dir / ("first_" + source.filename().string());
    const fs::path second = dir / ("second_" + source.filename().string());
    zemWrite(original, first.string().c_str());
    void* reread = load(first);
    if (zemGetRoot(original) != nullptr && zemGetRoot(reread) != nullptr)
      expectSameTree(asNode(zemGetRoot(original)), asNode(zemGetRoot(reread)), "");
    zemWrite(reread, second.string().c_str());
    EXPECT_EQ(withoutCreationLine(first), withoutCreationLine(second));
    EXPECT_EQ(reports.take(), Texts{});
    zemClose(&reread);
    zemClose(&original);
  }
}

}  // namespace
