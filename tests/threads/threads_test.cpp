// Different documents on different threads at once: each thread builds, writes, loads, walks, writes again and
// closes its own files, and loads a shared file as a document of its own. Run under ThreadSanitizer by CI.
#include <thread>

#include "../test_support.hpp"

namespace {

namespace fs = std::filesystem;

// Every value of the tree read through the getters; returns how many nodes there are.
int walk(void* node) {
  int count = 1;
  if (zemIsParam(node) != 0) {
    zemGetValueText(node);
    if (zemIsNumeric(node) != 0) zemGetDouble(node);
    if (zemIsString(node) != 0 && zemIsClob(node) == 0) zemGetString(node);
    if (zemIsFilename(node) != 0) zemGetFilename(node);
    return count;
  }
  zemGetName(node);
  for (int i = 1; i <= zemGetNoNodes(node); ++i) count += walk(zemNodeByNum(node, static_cast<unsigned>(i)));
  return count;
}

void* builtDocument(int thread) {
  void* doc = zemCreate();
  const std::string name = "T" + std::to_string(thread);
  for (int s = 0; s < 20; ++s) {
    zemAddTarget(doc, name.c_str());
    zemAddSection(doc, "Inner");
    for (int k = 0; k < 20; ++k) {
      zemAddKeyword(doc, "k");
      zemAddInt(doc, k);
      zemAddDouble(doc, k * 0.5);
      zemAddString(doc, "text");
      zemAddFilename(doc, "data/in.txt");
      zemAddClob(doc);
      zemAddClobInt(doc, k);
    }
    zemEndSection(doc);
    zemEndSection(doc);
  }
  return doc;
}

}  // namespace

TEST(Threads, EightThreadsLoadWalkWriteAndCloseTheirOwnDocuments) {
  const fs::path dir = scratchDir();
  const fs::path shared = fs::path(ZEM_EXAMPLES) / "simulation.txt";
  // A load large enough that a worker makes its memory ready while it reads.
  const fs::path large = dir / "large.txt";
  std::string text = "[S]\n";
  for (int k = 0; k < 40000; ++k) text += "  k = 1, 2.5, 'text', |a.txt|\n";
  writeFile(large, text + "EndSect\n");
  constexpr int kThreads = 8;
  std::vector<int> failures(kThreads, 0);
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      for (int round = 0; round < 10; ++round) {
        const fs::path first = dir / ("built" + std::to_string(t) + ".txt");
        const fs::path second = dir / ("again" + std::to_string(t) + ".txt");
        void* doc = builtDocument(t);
        zemWrite(doc, first.c_str());
        const int nodes = walk(zemGetRoot(doc));
        zemClose(&doc);
        Handle loaded = zemLoadFile(first.c_str(), 1), example = zemLoadFile(shared.c_str(), 1);
        if (zemGetRoot(loaded) == nullptr || walk(zemGetRoot(loaded)) != nodes) ++failures[t];
        zemWrite(loaded, second.c_str());
        if (bodyOf(readFile(first)) != bodyOf(readFile(second))) ++failures[t];
        if (zemGetRoot(example) == nullptr || walk(zemGetRoot(example)) < 10) ++failures[t];
        if (round == 0) {
          Handle big = zemLoadFile(large.c_str(), 1);
          if (zemGetRoot(big) == nullptr || walk(zemGetRoot(big)) != 2 + 40000 * 5) ++failures[t];
        }
      }
    });
  }
  for (auto& thread : threads) thread.join();
  for (int t = 0; t < kThreads; ++t) EXPECT_EQ(failures[t], 0) << "thread " << t;
  EXPECT_EQ(zemGetErrorGlb(), 0);
  fs::remove_all(dir);
}
