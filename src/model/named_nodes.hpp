// Named nodes: the root target list, sections, keywords and default
// definitions. Each keeps its children in file order; target lists and
// sections also keep typed lists and name indexes of their sections and
// keywords, which number same-named siblings.
#pragma once

#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "model/name_index.hpp"
#include "model/node.hpp"
#include "model/node_arena.hpp"
#include "model/node_list.hpp"

namespace zem {

class CzemBase;
class CzemKeyword;
class CzemSection;
class CzemDefaultDef;
class CzemParam;

// Flag bits of a named node; used by templates and the equivalence check.
enum TemplateFlag : std::uint32_t {
  kMayRepeat = 1,  // written back as "()" after the name
  kRequired = 2,
  kLastRepeats = 4,
};

class CzemNamedNode : public CzemNode {
 public:
  ~CzemNamedNode() override;

  const Text& name() const { return name_; }
  const Text& ownText() const override { return name_; }
  void setName(std::string_view name) {
    valueChanged();
    name_.assign(name);
  }
  // The same, keeping a long name in the arena of a loaded tree.
  void setName(std::string_view name, NodeArena* arena) {
    valueChanged();
    storeText(name_, name, arena);
  }
  std::uint32_t flags() const { return bits_; }
  void setFlags(std::uint32_t flags) { bits_ = flags; }
  const NodeList& children() const { return children_; }
  // For a change of the list: its members are no longer known to need no
  // teardown, nor is this node itself.
  NodeList& children() {
    membersChanged();
    valueChanged();
    return children_;
  }

  // Sets the child's parent and puts it last. A null child is ignored. The
  // loader passes the arena of the tree, where the list then grows.
  void appendChild(CzemNode* child, NodeArena* arena = nullptr);

  const char* GetName() override { return name_.c_str(); }
  const char* GetFullName() override;
  int GetNoNodes() override { return static_cast<int>(children_.size()); }
  CzemNode* NodeByNum(unsigned n) override;
  CzemNode* FindDefault(CzemNode* child, const char* name, unsigned n) override;
  void Visit(const Visitor& visitor) override;
  void CopyFrom(const CzemNode* source) override;
  SourceSpan sourceSpan() const override {
    const SourceSpan span = span_.get();
    return span.start.line != 0 ? span : SourceSpan{};
  }

  // Set by the loader only: a copy or a built node has no place in a file.
  void setSpanStart(SourcePoint start) { span_.setStart(start); }
  void setSpanEnd(SourcePoint end) { span_.setEnd(end); }

  // Destroys every child with its subtree and empties the child list. Works
  // through a list of its own, so the depth of a tree never costs stack.
  void destroyChildren();

  // Whether destroying this loaded keyword frees nothing but arena places:
  // its values, name, list and source place hold no memory of their own.
  bool keywordArenaOnly() const { return valuesArenaOnly() && ownFieldsArenaOnly(); }

 protected:
  // Whether the name, source place and child list are all arena places.
  bool ownFieldsArenaOnly() const {
    return arenaAllocated() && !name_.ownsMemory() && !span_.ownsMemory() && !children_.ownsMemory();
  }
  // The child list for the loader, which decides the teardown state itself.
  NodeList& loadedChildren() { return children_; }
  // Destroys the children that hold no named nodes and queues the others.
  void takeChildren(std::vector<CzemNode*>& pending);
  // What the teardown of a node in the teardown state visits: the keywords
  // that hold memory of their own and the sections among the children.
  virtual std::span<CzemNode* const> teardownList() const { return {}; }
  virtual std::span<CzemSection* const> childSections() const { return {}; }
  CzemNamedNode() = default;
  explicit CzemNamedNode(std::string_view name, std::uint32_t flags) : name_(name) { bits_ = flags; }
  // Calls the visitor for every node below this one, in document order; the
  // walk keeps its own stack instead of recursing.
  void visitChildren(const Visitor& visitor);
  // Makes this node a deep copy of `from`: its own fields through copyOwnFields,
  // its children copied level by level without recursion, indexes rebuilt.
  void copyTree(const CzemNamedNode& from);
  // The fields of this node alone (no children): name, flags, auxiliary text
  // and whatever a class adds.
  virtual void copyOwnFields(const CzemNamedNode& from);
  // Rebuilds the typed lists and name indexes from the child list.
  virtual void reindex() {}
  // Writes the indentation of a line of this node: three blanks per level beyond 1.
  void writeIndent(OutputStream& out) const { writeIndent(out, level()); }
  void writeIndent(OutputStream& out, int depth) const;
  // Writes the name with "()" when the node may repeat.
  void writeName(OutputStream& out) const;
  void writeParamList(OutputStream& out);

 private:
  Text name_;
  PackedSpan span_;
  NodeList children_;
};

class CzemTargetList : public CzemNamedNode {
 public:
  CzemTargetList() { setSyntaxClass(kSynTargetList); }
  // The children go while the section list still stands.
  ~CzemTargetList() override { destroyChildren(); }

  // Appends and indexes a section; returns its instance number.
  unsigned addSection(CzemSection* section, NodeArena* arena = nullptr);
  const CompactArray<CzemSection*>& sections() const { return sections_; }
  std::span<CzemNamedNode* const> sectionsNamed(std::string_view name) const { return sectionIndex_.find(name); }
  // Rebuilds the section list and index from the child list, renumbering.
  void reindexSections();
  // Fits the lists of a loaded node to their sizes once nothing more joins it.
  void fitLoadedLists(NodeArena& arena);

  const Text& anchor() const { return settings_ ? settings_->anchor : kNoText; }
  void setAnchor(std::string_view name) { settings().anchor.assign(name); }
  CzemBase* owner() const { return settings_ ? settings_->owner : nullptr; }
  void setOwner(CzemBase* handle) { settings().owner = handle; }

  // Result-folder settings of a document root.
  const Text& resultRoot() const { return settings_ ? settings_->resultRoot : kNoText; }
  void setResultRoot(std::string_view folder) { settings().resultRoot.assign(folder); }
  int useCustom() const { return settings_ ? settings_->useCustom : 0; }
  void setUseCustom(int flag) { settings().useCustom = flag; }
  const Text& customFolder() const { return settings_ ? settings_->customFolder : kNoText; }
  void setCustomFolder(std::string_view folder) { settings().customFolder.assign(folder); }
  // The full result file path last handed out for `value`, a value of this
  // document; each value has its own text, kept until the document is destroyed.
  std::string& resultPathOf(const CzemNode* value) { return settings().resultPaths[value]; }

  CzemNode* NewEmpty() const override { return new CzemTargetList(); }
  int GetNoSections() override { return static_cast<int>(sections_.size()); }
  const char* GetAnchorFilename() override { return anchor().c_str(); }
  int IsTargetList() override { return 1; }
  CzemNode* SectionByNum(unsigned n) override;
  CzemNode* SectionByName(const char* name) override { return SectionByNameNum(name, 1); }
  CzemNode* SectionByNameNum(const char* name, unsigned n) override;
  void Write(OutputStream& out) override;
  void CopyFrom(const CzemNode* source) override;

 protected:
  explicit CzemTargetList(std::string_view name, std::uint32_t flags) : CzemNamedNode(name, flags) {
    setSyntaxClass(kSynTargetList);
  }
  void copyOwnFields(const CzemNamedNode& from) override;
  void reindex() override { reindexSections(); }
  std::span<CzemSection* const> childSections() const override { return {sections_.begin(), sections_.end()}; }
  std::span<CzemNode* const> teardownList() const override { return {teardown_.begin(), teardown_.end()}; }
  // Sets the teardown state of a loaded section or root at its end.
  void markMembersArenaOnly(NodeArena& arena);
  // Whether the fields of this target list, lists and indexes included, are
  // all arena places.
  bool listFieldsArenaOnly() const {
    return ownFieldsArenaOnly() && !sections_.ownsMemory() && !sectionIndex_.ownsMemory() && !teardown_.ownsMemory() &&
           !settings_;
  }
  // Writes the children and, for sections, their opening and closing lines,
  // keeping a stack of open sections instead of recursing.
  void writeChildren(OutputStream& out);
  // `depth` is the section's level, known to the walk without climbing the tree.
  void writeSectionOpen(OutputStream& out, int depth) const;
  void writeSectionClose(OutputStream& out, int depth) const;

 private:
  NameIndex sectionIndex_;
  CompactArray<CzemSection*> sections_;
  // Set with the teardown state; meaningless without it.
  NodeList teardown_;
  // What only a document's root holds: made on the first setting, so that
  // the sections of a tree, which are target lists too, do without it.
  struct Settings {
    Text anchor;
    CzemBase* owner = nullptr;
    Text resultRoot;
    int useCustom = 0;
    Text customFolder;
    std::unordered_map<const CzemNode*, std::string> resultPaths;
  };
  static const Text kNoText;
  Settings& settings() {
    if (!settings_) settings_ = std::make_unique<Settings>();
    return *settings_;
  }
  std::unique_ptr<Settings> settings_;
};

class CzemSection : public CzemTargetList {
 public:
  explicit CzemSection(std::string_view name = {}, std::uint32_t flags = 0) : CzemTargetList(name, flags) {
    setSyntaxClass(kSynSection);
  }

  // Appends and indexes a keyword; returns its instance number.
  unsigned addKeyword(CzemKeyword* keyword, NodeArena* arena = nullptr);
  // Appends a default definition to the child list only: it is in no index.
  void addDefaultDef(CzemDefaultDef* definition, NodeArena* arena = nullptr);
  const CompactArray<CzemKeyword*>& keywords() const { return keywords_; }
  std::span<CzemNamedNode* const> keywordsNamed(std::string_view name) const { return keywordIndex_.find(name); }
  // The same for a section, with its keyword list and index.
  void fitLoadedLists(NodeArena& arena);
  // Whether destroying this loaded section frees nothing but arena places:
  // its own fields hold no memory and its subtree needs no teardown.
  bool sectionArenaOnly() const {
    return subtreeArenaOnly() && listFieldsArenaOnly() && !keywords_.ownsMemory() && !keywordIndex_.ownsMemory();
  }
  // Rebuilds the keyword list and index from the child list, renumbering;
  // every child answering IsKeyword enters, default definitions included.
  void reindexKeywords();
  // The same after an edit: the list keeps its members (default definitions
  // only if they were listed already) and gains new keyword children.
  void refreshKeywords();

  CzemNode* NewEmpty() const override { return new CzemSection(); }
  int GetNoKeywords() override { return static_cast<int>(keywords_.size()); }
  int GetNoInstances() override;
  CzemNode* KeywordByNum(unsigned n) override;
  CzemNode* KeywordByName(const char* name) override { return KeywordByNameNum(name, 1); }
  CzemNode* KeywordByNameNum(const char* name, unsigned n) override;
  void Write(OutputStream& out) override;
  void Visit(const Visitor& visitor) override;
  void CopyFrom(const CzemNode* source) override;

 protected:
  void reindex() override {
    reindexSections();
    reindexKeywords();
  }

 private:
  NameIndex keywordIndex_;
  CompactArray<CzemKeyword*> keywords_;
};

class CzemKeyword : public CzemNamedNode {
 public:
  explicit CzemKeyword(std::string_view name = {}, std::uint32_t flags = 0) : CzemNamedNode(name, flags) {
    setSyntaxClass(kSynKeyword);
  }

  // Appends a value and numbers it by its position.
  void addParam(CzemNode* param);
  // Appends a whole line of values at once (the loader's way), keeping the
  // list in the arena of a loaded tree when one is given.
  // `knownArenaOnly`: the loader vouches that every value holds nothing but
  // its place in the arena, so none needs asking.
  void addParams(std::span<CzemNode* const> params, NodeArena* arena, bool knownArenaOnly = false);

  CzemNode* NewEmpty() const override { return new CzemKeyword(); }
  int GetNoParams() override { return GetNoNodes(); }
  int GetNoInstances() override;
  int IsKeyword() override { return 1; }
  CzemNode* ParamByNum(unsigned n) override;
  void Write(OutputStream& out) override { writeAt(out, level()); }
  // The keyword's line at `depth`, its level, which the walk of a section
  // knows without climbing the tree.
  virtual void writeAt(OutputStream& out, int depth);
  void Visit(const Visitor& visitor) override;
};

class CzemDefaultDef : public CzemKeyword {
 public:
  explicit CzemDefaultDef(std::string_view name = {}, std::uint32_t flags = 0) : CzemKeyword(name, flags) {
    setSyntaxClass(kSynDefaultDef);
  }

  CzemNode* NewEmpty() const override { return new CzemDefaultDef(); }
  const char* GetFullName() override { return kEmptyText; }
  int IsDefaultDef() override { return 1; }
  CzemNode* ParamByNum(unsigned n) override { return NodeByNum(n); }
  void writeAt(OutputStream& out, int depth) override;
};

}  // namespace zem
