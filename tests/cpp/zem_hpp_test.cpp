// The C++ header as an application sees it: only the public headers, built as
// C++17 and C++20 with warnings as errors.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <type_traits>
#include <vector>
#include <zem/zem.hpp>

static_assert(std::is_nothrow_move_constructible_v<zem::document>);
static_assert(!std::is_copy_constructible_v<zem::document>);

namespace {

std::string scratch(const std::string& name) {
  return testing::TempDir() + "zem_hpp_" + std::to_string(__cplusplus) + "_" + name;
}

std::string writeFile(const std::string& name, const std::string& text) {
  const std::string path = scratch(name);
  std::ofstream(path, std::ios::binary) << text;
  return path;
}

const char* const kSetup =
    "[Model]\n"
    "   Name = 'plate', 3, 2.5, true, |mesh.txt|, , #2024-01-01#\n"
    "   Step = 1\n"
    "   Step = 2\n"
    "   [Sub] x = 1 EndSect\n"
    "   [Sub] x = 2 EndSect\n"
    "EndSect\n"
    "[Other] EndSect\n";

}  // namespace

TEST(Document, LoadsWalksAndClosesOnItsOwn) {
  zem::document doc = zem::document::load(writeFile("setup.txt", kSetup));
  std::vector<std::string> names;
  for (zem::section s : doc.sections()) names.push_back(s.name());
  EXPECT_EQ(names, (std::vector<std::string>{"Model", "Other"}));

  zem::section model = doc.find("Model");
  int steps = 0;
  for (zem::keyword k : model.keywords()) steps += k.name() == "Step" ? k.instance() : 0;
  EXPECT_EQ(steps, 3);
  int sum = 0;
  for (zem::section sub : model.sections())
    for (zem::keyword k : sub.keywords())
      for (zem::value v : k.values()) sum += v.get<int>().value_or(-100);
  EXPECT_EQ(sum, 3);
  EXPECT_EQ(model.keyword("Name").values().size(), 7u);

  zem::document moved = std::move(doc);
  EXPECT_FALSE(doc);
  EXPECT_TRUE(moved);
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

  EXPECT_EQ(model.get<int>("Name").status(), zem::fetch_status::wrong_kind);
  EXPECT_EQ(model.get<int>("Name", 1, 3).status(), zem::fetch_status::wrong_kind);          // no silent rounding
  EXPECT_EQ(model.get<std::string>("Name", 1, 7).status(), zem::fetch_status::wrong_kind);  // a date-time
  EXPECT_EQ(model.keyword("Name").value(7).text(), "2024-01-01");
  EXPECT_EQ(model.get<int>("Name", 1, 6).status(), zem::fetch_status::missing);  // an empty place
  EXPECT_EQ(model.get<int>("Name", 1, 8).status(), zem::fetch_status::missing);
  EXPECT_EQ(model.get<int>("Nothing").status(), zem::fetch_status::missing);
  EXPECT_EQ(doc.find("Nowhere").get<int>("x").status(), zem::fetch_status::missing);
  EXPECT_EQ(doc.root().get<int>("Model").status(), zem::fetch_status::missing);  // the root holds no keywords
  EXPECT_THROW(model.get<int>("Nothing").value(), std::logic_error);
  EXPECT_EQ(zemGetErrorGlb(), 0);  // typed reads never leave a code behind
}

TEST(Document, LoadFailuresCarryCodePlaceAndText) {
  try {
    zem::document::load(writeFile("bad.txt", "[A]\n   x = 1 2\nEndSect\n"));
    FAIL() << "no error";
  } catch (const zem::load_error& e) {
    EXPECT_EQ(e.code(), 1003);
    EXPECT_EQ(e.line(), 2);
    EXPECT_GT(e.column(), 0);
    EXPECT_FALSE(e.message().empty());
    EXPECT_NE(std::string(e.what()).find("bad.txt:2:"), std::string::npos) << e.what();
  }
  try {
    zem::document::load(scratch("missing.txt"));
    FAIL() << "no error";
  } catch (const zem::load_error& e) {
    EXPECT_EQ(e.code(), 1001);
    EXPECT_EQ(e.line(), 0);
  }
  EXPECT_EQ(zemGetErrorGlb(), 0);
}

TEST(KeywordOverloads, BuildAndReadBackThroughTheInstalledInterface) {
  zem::document doc = zem::document::create();
  zemAddTarget(doc.handle(), "Run");
  EXPECT_EQ(zemPutParam(doc.handle(), "n", 4) + zemPutParam(doc.handle(), "s", std::string("text")) +
                zemPutListParam(doc.handle(), "l", "ifs", 1, 2.5f, "x") +
                zemPutParamResultFilename(doc.handle(), "r", "out.dat"),
            4);
  void* run = zemTargetByNum(doc.handle(), 1);
  int n = 0;
  std::string s;
  const char* path = nullptr;
  EXPECT_EQ(zemGetParam(run, "n", &n, 1, 1), 1);
  EXPECT_EQ(zemGetParam(run, "s", &s, 1, 1), 1);
  EXPECT_EQ(zemGetParamResultFilePath(run, "r", &path, 1, 1), 1);
  EXPECT_EQ(n, 4);
  EXPECT_EQ(s, "text");
  EXPECT_NE(std::string(path).find(" - Result Files/out.dat"), std::string::npos) << path;
  EXPECT_EQ(*doc.find("Run").get<float>("l", 1, 2), 2.5f);
}
