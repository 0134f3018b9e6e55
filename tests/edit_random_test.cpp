// Random sequences of edits on generated trees, each step checked against a
// plain reference model and, now and then, by writing and reloading the tree.
#include <algorithm>
#include <random>

#include "test_support.hpp"

namespace {

struct Value {
  int kind;  // 0 int, 1 double, 2 string, 3 bool, 4 undefined
  int i;
  double d;
  std::string s;
};

// A section (children: sections and keywords) or a keyword (values).
struct Node {
  bool section;
  std::string name;
  std::vector<Node> children;
  std::vector<Value> values;
};
using Path = std::vector<std::size_t>;
using Paths = std::vector<Path>[2];  // keywords, sections

std::size_t countOfKind(const Node& parent, bool section) {
  return std::count_if(parent.children.begin(), parent.children.end(),
                       [&](const Node& c) { return c.section == section; });
}
// The child index of number n (from 1) of a kind; the child count when there is none.
std::size_t indexOfKind(const Node& parent, bool section, std::size_t n) {
  for (std::size_t i = 0; i < parent.children.size(); ++i)
    if (parent.children[i].section == section && --n == 0) return i;
  return parent.children.size();
}
std::size_t instanceOf(const Node& parent, std::size_t index) {
  const Node& c = parent.children[index];
  const auto sameName = [](char x, char y) { return tolower(x) == tolower(y); };
  return std::count_if(
      parent.children.begin(), parent.children.begin() + static_cast<std::ptrdiff_t>(index) + 1,
      [&](const Node& o) { return o.section == c.section && std::ranges::equal(o.name, c.name, sameName); });
}
// The position rule, written out independently of the library.
void insertByPosition(Node& parent, Node child, unsigned position) {
  const std::size_t k = countOfKind(parent, child.section);
  const std::size_t at = (position == 1 || k == 0) ? 0
                         : position - 1u >= k      ? parent.children.size()
                                                   : indexOfKind(parent, child.section, position);
  parent.children.insert(parent.children.begin() + static_cast<std::ptrdiff_t>(at), std::move(child));
}
template <typename T>
void insertAt(std::vector<T>& list, std::size_t at, T item) {
  list.insert(list.begin() + static_cast<std::ptrdiff_t>(std::min(at, list.size())), std::move(item));
}
void collect(const Node& n, Paths& out, Path path = {}) {
  for (std::size_t i = 0; i < n.children.size(); ++i) {
    path.push_back(i);
    out[n.children[i].section].push_back(path);
    if (n.children[i].section) collect(n.children[i], out, path);
    path.pop_back();
  }
}

// Compares the tree below `real` with the model: child lists, typed lists,
// name indexes, instance and value numbers, parent links, values. A reloaded
// empty keyword holds the one empty value that its text "k = " gives.
void expectSame(void* real, const Node& model, bool reloaded) {
  ASSERT_EQ(zemGetNoNodes(real), static_cast<int>(model.children.size()));
  unsigned counts[2] = {0, 0};  // keywords, sections
  for (std::size_t i = 0; i < model.children.size(); ++i) {
    const Node& m = model.children[i];
    void* c = zemNodeByNum(real, static_cast<unsigned>(i + 1));
    const auto instance = static_cast<unsigned>(instanceOf(model, i));
    // Kind, parent, name, instance, and the node found by typed number and by name.
    ASSERT_EQ((std::tuple<int, zem::CzemNode*, std::string, int, void*, void*>(
                  zemIsSection(c), asNode(c)->parent(), zemGetName(c), zemGetInstanceNo(c),
                  (m.section ? zemSectionByNum : zemKeywordByNum)(real, ++counts[m.section]),
                  (m.section ? zemSectionByNameNum : zemKeywordByNameNum)(real, m.name.c_str(), instance))),
              std::tuple(m.section ? 1 : 0, asNode(real), m.name, static_cast<int>(instance), c, c));
    if (m.section) expectSame(c, m, reloaded);
    if (m.section || testing::Test::HasFatalFailure()) continue;
    std::vector<Value> values = m.values;
    if (reloaded && values.empty()) values.push_back({4, 0, 0, {}});
    ASSERT_EQ(zemGetNoParams(c), static_cast<int>(values.size())) << m.name;
    for (std::size_t v = 0; v < values.size(); ++v) {
      void* p = zemParamByNum(c, static_cast<unsigned>(v + 1));
      ASSERT_EQ((std::pair<int, zem::CzemNode*>(zemGetInstanceNo(p), asNode(p)->parent())),
                std::pair(static_cast<int>(v + 1), asNode(c)));
      const Value& x = values[v];
      ASSERT_TRUE(x.kind == 0   ? zemGetInt(p) == x.i
                  : x.kind == 1 ? zemGetDouble(p) == x.d
                  : x.kind == 2 ? zemGetString(p) == x.s
                  : x.kind == 3 ? (zemGetBool(p) != 0) == (x.i != 0)
                                : zemIsUndefinedPar(p) == 1);
    }
  }
  if (asNode(real)->parent() != nullptr) {
    ASSERT_EQ(zemGetNoKeywords(real), static_cast<int>(counts[0]));
  }
  ASSERT_EQ(zemGetNoSections(real), static_cast<int>(counts[1]));
}

class RandomEdits {
 public:
  explicit RandomEdits(unsigned seed) : rng(seed) {}

  std::size_t pick(std::size_t n) { return std::uniform_int_distribution<std::size_t>(0, n - 1)(rng); }
  std::string name() { return std::vector<std::string>{"a", "A", "b", "Cc", "cC", "d"}[pick(6)]; }
  // Positions around the edges: 0, 1, inside, one past the end, far past it.
  unsigned position(std::size_t count) {
    const unsigned edges[] = {0, 1, static_cast<unsigned>(count + 1), 1000, static_cast<unsigned>(pick(count + 1) + 1)};
    return edges[pick(5)];
  }
  Value value(bool undefinedToo) {
    const int kind = static_cast<int>(pick(undefinedToo ? 5 : 4));
    return {kind, kind == 3 ? static_cast<int>(pick(2)) : static_cast<int>(pick(2001)) - 1000,
            static_cast<double>(static_cast<int>(pick(400)) - 200) / 4,
            std::vector<std::string>{"x", "two words", "it's", ""}[pick(4)]};
  }
  static void* insertValue(void* keyword, const Value& v, unsigned pos) {
    return v.kind == 0   ? zemeInsertNewParameterInt(keyword, v.i, pos)
           : v.kind == 1 ? zemeInsertNewParameterDouble(keyword, v.d, pos)
           : v.kind == 2 ? zemeInsertNewParameterString(keyword, v.s.c_str(), pos)
           : v.kind == 3 ? zemeInsertNewParameterBool(keyword, v.i, pos)
                         : zemeInsertNewParameterUndefined(keyword, pos);
  }
  static int modifyValue(void* param, const Value& v) {
    return v.kind == 0   ? zemeModifyParameterInt(param, v.i)
           : v.kind == 1 ? zemeModifyParameterDouble(param, v.d)
           : v.kind == 2 ? zemeModifyParameterString(param, v.s.c_str())
                         : zemeModifyParameterBool(param, v.i);
  }
  // Deletes number n of a kind (n up to one past the last) by number, or by name and instance.
  bool deleteChild(const Path& parentPath, bool section) {
    Node& parent = model(parentPath);
    void* real = at(parentPath);
    const auto n = static_cast<unsigned>(pick(countOfKind(parent, section) + 1) + 1);
    const std::size_t index = indexOfKind(parent, section, n);
    const bool exists = index < parent.children.size();
    const int result = pick(2) == 0 || !exists ? (section ? zemeDeleteSectionByNum : zemeDeleteKeywordByNum)(real, n)
                                               : (section ? zemeDeleteSectionByNameNum : zemeDeleteKeywordByNameNum)(
                                                     real, parent.children[index].name.c_str(),
                                                     static_cast<unsigned>(instanceOf(parent, index)));
    EXPECT_EQ(result, exists ? 0 : 1010);
    if (exists) parent.children.erase(parent.children.begin() + static_cast<std::ptrdiff_t>(index));
    return true;
  }
  void* at(const Path& path) {
    void* n = zemGetRoot(handle);
    for (std::size_t i : path) n = zemNodeByNum(n, static_cast<unsigned>(i + 1));
    return n;
  }
  Node& model(const Path& path) {
    Node* n = &root;
    for (std::size_t i : path) n = &n->children[i];
    return *n;
  }
  static Path parentOf(const Path& path) { return Path(path.begin(), path.end() - 1); }
  // Inserts `child`, new or (with `source`) a copy, at a position around the edges of `into`, in both trees.
  // Like deleteChild, it always acts and answers true.
  bool insertChild(const Path& into, Node child, void* source = nullptr) {
    Node& parent = model(into);
    const unsigned pos = position(countOfKind(parent, child.section));
    if (source == nullptr)
      EXPECT_NE((child.section ? zemeInsertNewSection : zemeInsertNewKeyword)(at(into), child.name.c_str(), pos),
                nullptr);
    else
      EXPECT_EQ((child.section ? zemeInsertCopySection : zemeInsertCopyKeyword)(at(into), source, pos), 0);
    insertByPosition(parent, std::move(child), pos);
    return true;
  }

  // One random edit applied to both trees; false when there was nothing to act on.
  bool step() {
    Paths all;
    collect(root, all);
    const auto& [keywords, sections] = all;
    const std::size_t op = pick(12);
    const Path parentOfAny = sections.empty() || pick(3) == 0 ? Path{} : sections[pick(sections.size())];
    if (op == 0) return insertChild(parentOfAny, {true, name(), {}, {}});
    if (sections.empty() || (op >= 6 && keywords.empty())) return false;
    const Path section = sections[pick(sections.size())], keyword = op >= 6 ? keywords[pick(keywords.size())] : Path{};
    Node& s = model(section);
    Node& k = model(keyword);
    void* realKeyword = at(keyword);
    if (op == 1) return insertChild(section, {false, name(), {}, {}});
    if (op == 2 || op == 9) return deleteChild(parentOf(op == 2 ? section : keyword), op == 2);
    // A section copied into any target list, itself and its own parts included.
    if (op == 3) return insertChild(parentOfAny, s, at(section));
    if (op == 4) {  // zemCopy onto any section, its own ancestors and descendants included
      const Path onto = sections[pick(sections.size())];
      zemCopy(at(section), at(onto));
      model(onto) = Node(s);  // copied first: s may hold onto or lie inside it
    } else if (op == 5) {     // zemInsert beside any section
      const Path beside = sections[pick(sections.size())];
      const bool before = pick(2) == 0;
      zemInsert(at(section), at(beside), before ? 1 : 0);
      insertAt(model(parentOf(beside)).children, beside.back() + (before ? 0 : 1), Node(s));
    } else if (op == 6) {
      const Value v = value(true);
      const unsigned pos = position(k.values.size());
      EXPECT_NE(insertValue(realKeyword, v, pos), nullptr);
      insertAt(k.values, pos - 1u, v);
    } else if (op == 7) {
      const unsigned n = position(k.values.size());
      const bool exists = n - 1u < k.values.size();
      EXPECT_EQ(zemeDeleteParameter(realKeyword, n), exists ? 0 : 1010);
      if (exists) k.values.erase(k.values.begin() + (n - 1));
    } else if (op == 8) {  // a value of the same kind replaces it in place; another kind is refused
      if (k.values.empty()) return false;
      const std::size_t n = pick(k.values.size());
      void* p = zemParamByNum(realKeyword, static_cast<unsigned>(n + 1));
      const Value v = value(false);
      const bool accepted = v.kind == k.values[n].kind;
      EXPECT_EQ(modifyValue(p, v), accepted ? 0 : 1014);
      EXPECT_EQ(zemParamByNum(realKeyword, static_cast<unsigned>(n + 1)), p);
      if (accepted) k.values[n] = v;
    } else if (op == 10) {  // rename a section or keyword
      const Path& target = pick(2) == 0 ? section : keyword;
      const std::string fresh = name();
      EXPECT_EQ((model(target).section ? zemeModifySectionName : zemeModifyKeywordName)(at(target), fresh.c_str()), 0);
      model(target).name = fresh;
    } else {  // copy a keyword into a section, or one of its values into a keyword
      const Path into = keywords[pick(keywords.size())];
      if (pick(2) != 0 || k.values.empty()) return insertChild(section, k, realKeyword);
      const std::size_t n = pick(k.values.size());
      const unsigned pos = position(model(into).values.size());
      EXPECT_EQ(zemeInsertCopyParameter(at(into), zemParamByNum(realKeyword, static_cast<unsigned>(n + 1)), pos), 0);
      insertAt(model(into).values, pos - 1u, Value(k.values[n]));
    }
    return true;
  }

  std::mt19937 rng;
  Node root{true, "", {}, {}};
  Handle handle = zemCreate();
};

TEST(RandomEdits, EveryStepMatchesTheModelAndTheWrittenTextReloadsToTheSameTree) {
  Reports reports;
  for (unsigned seed = 1; seed <= 6; ++seed) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    RandomEdits run(seed);
    // The builder's cursor stays open on the first target while the edits go on.
    zemAddTarget(run.handle, "Start");
    run.root.children.push_back({true, "Start", {}, {}});
    int done = 0;
    for (int attempt = 0; done < 600 && attempt < 5000; ++attempt) {
      if (!run.step()) continue;
      ++done;
      // Copies double the tree now and then; the oldest target goes when it grows large.
      Paths all;
      collect(run.root, all);
      if (all[0].size() + all[1].size() > 200 || run.root.children.size() > 6) {
        EXPECT_EQ(zemeDeleteSectionByNum(zemGetRoot(run.handle), 1), 0);
        run.root.children.erase(run.root.children.begin());
      }
      ASSERT_NO_FATAL_FAILURE(expectSame(zemGetRoot(run.handle), run.root, false)) << "step " << done;
      if (done % 25 != 0) continue;
      Handle again = reread(run.handle);
      expectSame(zemGetRoot(again), run.root, true);
      ASSERT_FALSE(testing::Test::HasFatalFailure()) << "reloaded after step " << done;
    }
    EXPECT_EQ(done, 600);
    // Building goes on where the cursor survived and fails cleanly where it did not.
    zemAddKeywordS(run.handle, "after");
    zemAddIntS(run.handle, 1);
  }
  reports.take();
}

}  // namespace
