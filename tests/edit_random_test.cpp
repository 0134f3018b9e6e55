// Random sequences of edits on generated trees, each step checked against a
// plain reference model and, now and then, by writing and reloading the tree.
#include <algorithm>
#include <random>

#include "test_support.hpp"

namespace {

struct Value {
  explicit Value(int k, int n = 0, double x = 0, std::string text = {}) : kind(k), i(n), d(x), s(std::move(text)) {}
  int kind;  // 0 int, 1 double, 2 string, 3 bool, 4 undefined
  int i;
  double d;
  std::string s;
};

// A section (children are sections and keywords) or a keyword (values).
struct Node {
  bool section;
  std::string name;
  std::vector<Node> children;
  std::vector<Value> values;
};
using Path = std::vector<std::size_t>;

bool sameName(const std::string& a, const std::string& b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                    [](char x, char y) { return std::tolower(x) == std::tolower(y); });
}

class Model {
 public:
  Node root{true, "", {}, {}};

  Node& at(const Path& path) {
    Node* n = &root;
    for (std::size_t i : path) n = &n->children[i];
    return *n;
  }
  // The child-list index of the node that is number `n` (from 1) of its kind, or size.
  static std::size_t indexOfKind(const Node& parent, bool section, std::size_t n) {
    for (std::size_t i = 0; i < parent.children.size(); ++i)
      if (parent.children[i].section == section && --n == 0) return i;
    return parent.children.size();
  }
  static std::size_t countOfKind(const Node& parent, bool section) {
    return std::count_if(parent.children.begin(), parent.children.end(),
                         [&](const Node& c) { return c.section == section; });
  }
  static void insertByPosition(Node& parent, Node child, unsigned position) {
    const std::size_t k = countOfKind(parent, child.section);
    std::size_t at;
    if (position == 1 || k == 0)
      at = 0;
    else if (position - 1u >= k)
      at = parent.children.size();
    else
      at = indexOfKind(parent, child.section, position);
    parent.children.insert(parent.children.begin() + static_cast<std::ptrdiff_t>(at), std::move(child));
  }
  static std::size_t instanceOf(const Node& parent, std::size_t index) {
    std::size_t n = 0;
    for (std::size_t i = 0; i <= index; ++i)
      if (parent.children[i].section == parent.children[index].section &&
          sameName(parent.children[i].name, parent.children[index].name))
        ++n;
    return n;
  }
  // Every section (keyword) path below the root, the root excluded.
  void collect(const Node& n, Path& path, std::vector<Path>& sections, std::vector<Path>& keywords) const {
    for (std::size_t i = 0; i < n.children.size(); ++i) {
      path.push_back(i);
      (n.children[i].section ? sections : keywords).push_back(path);
      if (n.children[i].section) collect(n.children[i], path, sections, keywords);
      path.pop_back();
    }
  }
};

void* nodeAt(void* root, const Path& path) {
  void* n = root;
  for (std::size_t i : path) n = zemNodeByNum(n, static_cast<unsigned>(i + 1));
  return n;
}

// Compares the tree below `real` with the model node, with the lists, indexes,
// numbers and parent links of every named node. `reloaded` reads an empty
// keyword as the single empty value that its written text "k = " holds.
void expectSame(void* real, const Node& model, bool reloaded, const std::string& where) {
  SCOPED_TRACE(where);
  ASSERT_EQ(zemGetNoNodes(real), static_cast<int>(model.children.size()));
  int sections = 0, keywords = 0;
  for (std::size_t i = 0; i < model.children.size(); ++i) {
    const Node& m = model.children[i];
    void* c = zemNodeByNum(real, static_cast<unsigned>(i + 1));
    ASSERT_EQ(zemIsSection(c), m.section ? 1 : 0);
    ASSERT_EQ(asNode(c)->parent(), asNode(real));
    ASSERT_STREQ(zemGetName(c), m.name.c_str());
    const auto instance = static_cast<unsigned>(Model::instanceOf(model, i));
    ASSERT_EQ(zemGetInstanceNo(c), static_cast<int>(instance));
    if (m.section) {
      ASSERT_EQ(zemSectionByNum(real, static_cast<unsigned>(++sections)), c);
      ASSERT_EQ(zemSectionByNameNum(real, m.name.c_str(), instance), c);
      expectSame(c, m, reloaded, where + "/" + m.name);
      continue;
    }
    ASSERT_EQ(zemKeywordByNum(real, static_cast<unsigned>(++keywords)), c);
    ASSERT_EQ(zemKeywordByNameNum(real, m.name.c_str(), instance), c);
    std::vector<Value> values = m.values;
    if (reloaded && values.empty()) values.emplace_back(4);
    ASSERT_EQ(zemGetNoParams(c), static_cast<int>(values.size())) << m.name;
    for (std::size_t v = 0; v < values.size(); ++v) {
      void* p = zemParamByNum(c, static_cast<unsigned>(v + 1));
      ASSERT_EQ(zemGetInstanceNo(p), static_cast<int>(v + 1));
      ASSERT_EQ(asNode(p)->parent(), asNode(c));
      switch (values[v].kind) {
        case 0:
          ASSERT_EQ(zemGetInt(p), values[v].i);
          break;
        case 1:
          ASSERT_EQ(zemGetDouble(p), values[v].d);
          break;
        case 2:
          ASSERT_STREQ(zemGetString(p), values[v].s.c_str());
          break;
        case 3:
          ASSERT_EQ(zemGetBool(p) != 0, values[v].i != 0);
          break;
        default:
          ASSERT_EQ(zemIsUndefinedPar(p), 1);
      }
    }
  }
  if (asNode(real)->parent() != nullptr) {
    ASSERT_EQ(zemGetNoKeywords(real), keywords);
  }
  ASSERT_EQ(zemGetNoSections(real), sections);
}

class RandomEdits {
 public:
  explicit RandomEdits(unsigned seed) : rng(seed) {}
  ~RandomEdits() { zemClose(&handle); }

  std::size_t pick(std::size_t n) { return std::uniform_int_distribution<std::size_t>(0, n - 1)(rng); }
  std::string name() { return std::vector<std::string>{"a", "A", "b", "Cc", "cC", "d"}[pick(6)]; }
  // Positions around the interesting edges: 0, 1, inside, one past the end, far past it.
  unsigned position(std::size_t count) {
    switch (pick(5)) {
      case 0:
        return 0;
      case 1:
        return 1;
      case 2:
        return static_cast<unsigned>(count + 1);
      case 3:
        return 1000;
      default:
        return static_cast<unsigned>(pick(count + 1) + 1);
    }
  }
  Value value() {
    switch (pick(5)) {
      case 0:
        return Value(0, static_cast<int>(pick(2001)) - 1000);
      case 1:
        return Value(1, 0, static_cast<double>(static_cast<int>(pick(400)) - 200) / 4);
      case 2:
        return Value(2, 0, 0, std::vector<std::string>{"x", "two words", "it's", ""}[pick(4)]);
      case 3:
        return Value(3, static_cast<int>(pick(2)));
      default:
        return Value(4);
    }
  }
  void* insertValue(void* keyword, const Value& v, unsigned pos) {
    switch (v.kind) {
      case 0:
        return zemeInsertNewParameterInt(keyword, v.i, pos);
      case 1:
        return zemeInsertNewParameterDouble(keyword, v.d, pos);
      case 2:
        return zemeInsertNewParameterString(keyword, v.s.c_str(), pos);
      case 3:
        return zemeInsertNewParameterBool(keyword, v.i, pos);
      default:
        return zemeInsertNewParameterUndefined(keyword, pos);
    }
  }

  // One random edit applied to both trees; false when it found nothing to act on.
  bool step() {
    std::vector<Path> sections, keywords;
    Path scratch;
    model.collect(model.root, scratch, sections, keywords);
    void* root = zemGetRoot(handle);
    auto parentOf = [](Path p) {
      p.pop_back();
      return p;
    };
    const int op = static_cast<int>(pick(13));
    if (op <= 1) {  // a new section, under the root or a section
      Path where = (op == 0 || sections.empty()) ? Path{} : sections[pick(sections.size())];
      Node& parent = model.at(where);
      const unsigned pos = position(Model::countOfKind(parent, true));
      Node fresh{true, name(), {}, {}};
      EXPECT_NE(zemeInsertNewSection(nodeAt(root, where), fresh.name.c_str(), pos), nullptr);
      Model::insertByPosition(parent, std::move(fresh), pos);
      return true;
    }
    if (sections.empty()) return false;
    const Path& section = sections[pick(sections.size())];
    Node& s = model.at(section);
    void* realSection = nodeAt(root, section);
    switch (op) {
      case 2: {
        const unsigned pos = position(Model::countOfKind(s, false));
        Node fresh{false, name(), {}, {}};
        EXPECT_NE(zemeInsertNewKeyword(realSection, fresh.name.c_str(), pos), nullptr);
        Model::insertByPosition(s, std::move(fresh), pos);
        return true;
      }
      case 3: {  // delete a section by number or by name, maybe out of range
        Node& parent = model.at(parentOf(section));
        const std::size_t index = section.back();
        void* list = nodeAt(root, parentOf(section));
        if (pick(2) == 0) {
          const std::size_t number = pick(Model::countOfKind(parent, true) + 1) + 1;
          const std::size_t at = Model::indexOfKind(parent, true, number);
          EXPECT_EQ(zemeDeleteSectionByNum(list, static_cast<unsigned>(number)),
                    at < parent.children.size() ? 0 : 1010);
          if (at < parent.children.size())
            parent.children.erase(parent.children.begin() + static_cast<std::ptrdiff_t>(at));
        } else {
          const auto instance = static_cast<unsigned>(Model::instanceOf(parent, index));
          EXPECT_EQ(zemeDeleteSectionByNameNum(list, parent.children[index].name.c_str(), instance), 0);
          parent.children.erase(parent.children.begin() + static_cast<std::ptrdiff_t>(index));
        }
        return true;
      }
      case 4: {  // rename a section or keyword
        const bool ofSection = keywords.empty() || pick(2) == 0;
        const Path& target = ofSection ? section : keywords[pick(keywords.size())];
        const std::string fresh = name();
        EXPECT_EQ(ofSection ? zemeModifySectionName(nodeAt(root, target), fresh.c_str())
                            : zemeModifyKeywordName(nodeAt(root, target), fresh.c_str()),
                  0);
        model.at(target).name = fresh;
        return true;
      }
      case 5: {  // copy a section into a target list anywhere, itself and its own parts included
        const Path& into = pick(3) == 0 ? Path{} : sections[pick(sections.size())];
        Node copy = s;
        Node& parent = model.at(into);
        const unsigned pos = position(Model::countOfKind(parent, true));
        EXPECT_EQ(zemeInsertCopySection(nodeAt(root, into), realSection, pos), 0);
        Model::insertByPosition(parent, std::move(copy), pos);
        return true;
      }
      case 6: {  // zemCopy of one section onto another, also onto its own ancestor or descendant
        const Path& onto = sections[pick(sections.size())];
        zemCopy(realSection, nodeAt(root, onto));
        Node copy = s;
        Node& dest = model.at(onto);
        dest.name = copy.name;
        dest.children = std::move(copy.children);
        return true;
      }
      case 7: {  // zemInsert beside a section
        const Path& beside = sections[pick(sections.size())];
        const bool before = pick(2) == 0;
        zemInsert(realSection, nodeAt(root, beside), before ? 1 : 0);
        Node copy = s;
        Node& parent = model.at(parentOf(beside));
        parent.children.insert(parent.children.begin() + static_cast<std::ptrdiff_t>(beside.back() + (before ? 0 : 1)),
                               std::move(copy));
        return true;
      }
      default:
        break;
    }
    if (keywords.empty()) return false;
    const Path& keyword = keywords[pick(keywords.size())];
    Node& k = model.at(keyword);
    void* realKeyword = nodeAt(root, keyword);
    switch (op) {
      case 8: {
        const Value v = value();
        const unsigned pos = position(k.values.size());
        EXPECT_NE(insertValue(realKeyword, v, pos), nullptr);
        k.values.insert(
            k.values.begin() + static_cast<std::ptrdiff_t>(std::min<std::size_t>(pos - 1u, k.values.size())), v);
        return true;
      }
      case 9: {
        const unsigned n = position(k.values.size());
        const bool exists = n - 1u < k.values.size();
        EXPECT_EQ(zemeDeleteParameter(realKeyword, n), exists ? 0 : 1010);
        if (exists) k.values.erase(k.values.begin() + (n - 1));
        return true;
      }
      case 10: {  // a new value of the same kind; another kind is refused with 1014
        if (k.values.empty()) return false;
        const std::size_t n = pick(k.values.size());
        Value& old = k.values[n];
        void* p = zemParamByNum(realKeyword, static_cast<unsigned>(n + 1));
        Value v = value();
        while (v.kind == 4) v = value();
        int code = 1014;
        switch (v.kind) {
          case 0:
            code = zemeModifyParameterInt(p, v.i);
            break;
          case 1:
            code = zemeModifyParameterDouble(p, v.d);
            break;
          case 2:
            code = zemeModifyParameterString(p, v.s.c_str());
            break;
          case 3:
            code = zemeModifyParameterBool(p, v.i);
            break;
          default:
            break;
        }
        const bool accepted = v.kind == old.kind;
        EXPECT_EQ(code, accepted ? 0 : 1014);
        EXPECT_EQ(zemParamByNum(realKeyword, static_cast<unsigned>(n + 1)), p);
        if (accepted) old = v;
        return true;
      }
      case 11: {  // delete a keyword by number or name
        Node& parent = model.at(parentOf(keyword));
        void* realParent = nodeAt(root, parentOf(keyword));
        const std::size_t index = keyword.back();
        if (pick(2) == 0) {
          const std::size_t number = pick(Model::countOfKind(parent, false) + 1) + 1;
          const std::size_t at = Model::indexOfKind(parent, false, number);
          EXPECT_EQ(zemeDeleteKeywordByNum(realParent, static_cast<unsigned>(number)),
                    at < parent.children.size() ? 0 : 1010);
          if (at < parent.children.size())
            parent.children.erase(parent.children.begin() + static_cast<std::ptrdiff_t>(at));
        } else {
          const auto instance = static_cast<unsigned>(Model::instanceOf(parent, index));
          EXPECT_EQ(zemeDeleteKeywordByNameNum(realParent, parent.children[index].name.c_str(), instance), 0);
          parent.children.erase(parent.children.begin() + static_cast<std::ptrdiff_t>(index));
        }
        return true;
      }
      default: {  // copy a keyword (or one of its values) somewhere
        if (pick(2) == 0 && !k.values.empty()) {
          const std::size_t n = pick(k.values.size());
          const Path& into = keywords[pick(keywords.size())];
          Node& dest = model.at(into);
          const Value v = k.values[n];
          const unsigned pos = position(dest.values.size());
          EXPECT_EQ(zemeInsertCopyParameter(nodeAt(root, into),
                                            zemParamByNum(realKeyword, static_cast<unsigned>(n + 1)), pos),
                    0);
          dest.values.insert(
              dest.values.begin() + static_cast<std::ptrdiff_t>(std::min<std::size_t>(pos - 1u, dest.values.size())),
              v);
          return true;
        }
        Node copy = k;
        const unsigned pos = position(Model::countOfKind(s, false));
        EXPECT_EQ(zemeInsertCopyKeyword(realSection, realKeyword, pos), 0);
        Model::insertByPosition(s, std::move(copy), pos);
        return true;
      }
    }
  }

  std::mt19937 rng;
  Model model;
  void* handle = zemCreate();
};

TEST(RandomEdits, EveryStepMatchesTheModelAndTheWrittenTextReloadsToTheSameTree) {
  const auto file = scratchDir() / "edited.txt";
  Reports reports;
  for (unsigned seed = 1; seed <= 6; ++seed) {
    RandomEdits run(seed);
    // The builder's cursor is open on the first target while the edits go on.
    zemAddTarget(run.handle, "Start");
    run.model.root.children.push_back({true, "Start", {}, {}});
    int done = 0;
    for (int attempt = 0; done < 600 && attempt < 5000; ++attempt) {
      if (!run.step()) continue;
      ++done;
      // Copies double the tree now and then; the oldest target goes when it grows large.
      std::vector<Path> sections, keywords;
      Path scratch;
      run.model.collect(run.model.root, scratch, sections, keywords);
      if (sections.size() + keywords.size() > 200 || run.model.root.children.size() > 6) {
        EXPECT_EQ(zemeDeleteSectionByNum(zemGetRoot(run.handle), 1), 0);
        run.model.root.children.erase(run.model.root.children.begin());
      }
      expectSame(zemGetRoot(run.handle), run.model.root, false, "seed " + std::to_string(seed));
      if (testing::Test::HasFatalFailure()) return;
      if (done % 25 != 0) continue;
      zemWrite(run.handle, file.string().c_str());
      void* again = zemLoadFile(file.string().c_str(), 0);
      ASSERT_EQ(zemGetErrorGlb(), 0) << readFile(file);
      expectSame(zemGetRoot(again), run.model.root, true, "reloaded, seed " + std::to_string(seed));
      zemClose(&again);
      if (testing::Test::HasFatalFailure()) return;
    }
    EXPECT_EQ(done, 600);
    // The builder still works where its cursor survived, and fails cleanly where it did not.
    zemAddKeywordS(run.handle, "after");
    zemAddIntS(run.handle, 1);
  }
  reports.take();
}

}  // namespace
