// The C++ header as an application sees it: only the public headers, built as
// C++17 and C++20 with warnings as errors.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <type_traits>
#include <vector>
#include <zem/zem.hpp>

static_assert(std::is_nothrow_move_constructible_v<zem::document> && !std::is_copy_constructible_v<zem::document>);

namespace {

std::string writeFile(const std::string& name, const std::string& text) {
  const std::string path = testing::TempDir() + "zem_hpp_" + std::to_string(__cplusplus) + "_" + name;
  std::ofstream(path, std::ios::binary) << text;
  return path;
}

const char* const kSetup =
    "[Model]\n"
    "   Name = 'plate', 3, 2.5, true, |mesh.txt|, , #2024-01-01#\n"
    "   Step = 1  Step = 2\n"
    "   [Sub] x = 1 EndSect\n"
    "   [Sub] x = 2 EndSect\n"
    "EndSect\n"
    "[Other] EndSect\n";

}  // namespace

TEST(Document, LoadsWalksAndClosesOnItsOwn) {
  zem::document doc = zem::document::load(writeFile("setup.txt", kSetup));
  std::string walked;
  for (zem::section s : doc.sections()) {
    walked += s.name() + ":";
    for (zem::keyword k : s.keywords()) walked += k.name() + std::to_string(k.instance()) + " ";
    for (zem::section sub : s.sections())
      for (zem::keyword k : sub.keywords())
        for (zem::value v : k.values()) walked += std::to_string(v.get<int>().value_or(-1));
  }
  EXPECT_EQ(walked, "Model:Name1 Step1 Step2 12Other:");
  zem::document moved = std::move(doc);
  EXPECT_FALSE(doc);
  EXPECT_EQ(moved.find("Model/Sub:2").get<int>("x").value(), 2);
  void* handle = moved.release();
  zemClose(&handle);
}

TEST(Document, TypedReadsSayWhetherAValueIsMissingOrOfAnotherKind) {
  const zem::document doc = zem::document::load(writeFile("typed.txt", kSetup));
  const zem::section model = doc.find("Model");
  EXPECT_EQ(*model.get<std::string>("Name"), "plate");
  EXPECT_EQ(*model.get<int>("Name", 1, 2), 3);
  EXPECT_EQ(*model.get<double>("Name", 1, 2), 3.0);  // an integer reads as a real too
  EXPECT_EQ(*model.get<float>("Name", 1, 3), 2.5f);
  EXPECT_TRUE(*model.get<bool>("Name", 1, 4));
  EXPECT_NE(model.keyword("Name").value(5).filename()->find("mesh.txt"), std::string::npos);
  EXPECT_EQ(model.keyword("Name").value(7).text(), "2024-01-01");
  using S = zem::fetch_status;
  const std::vector<std::pair<zem::fetched<int>, S>> reads = {
      {model.get<int>("Name"), S::wrong_kind},         {model.get<int>("Name", 1, 3), S::wrong_kind},
      {model.get<int>("Name", 1, 7), S::wrong_kind},   {model.get<int>("Name", 1, 6), S::missing},
      {model.get<int>("Name", 1, 8), S::missing},      {model.get<int>("Nothing"), S::missing},
      {doc.find("Nowhere").get<int>("x"), S::missing}, {doc.root().get<int>("Model"), S::missing},
  };
  for (std::size_t i = 0; i < reads.size(); ++i) EXPECT_EQ(reads[i].first.status(), reads[i].second) << i;
  EXPECT_THROW(model.get<int>("Nothing").value(), std::logic_error);
  EXPECT_EQ(zemGetErrorGlb(), 0);  // typed reads leave no code behind
}

TEST(Document, LoadFailuresCarryCodePlaceAndText) {
  try {
    zem::document::load(writeFile("bad.txt", "[A]\n   x = 1 2\nEndSect\n"));
    FAIL() << "no error";
  } catch (const zem::load_error& e) {
    EXPECT_EQ(e.code() * 100 + e.line(), 100302);
    EXPECT_FALSE(e.message().empty());
    EXPECT_NE(std::string(e.what()).find("bad.txt:2:" + std::to_string(e.column())), std::string::npos) << e.what();
  }
  EXPECT_THROW(zem::document::load("/nonexistent/zem.txt"), zem::load_error);
  EXPECT_EQ(zemGetErrorGlb(), 0);
}
