// The node interface: every query, edit, comparison and write of a tree goes
// through these operations. The base class answers each one neutrally (or with
// the "Function invalid in this context" report); each class overrides what it
// supports. The exports only check their argument and call one operation.
#pragma once

#include <cstdint>
#include <memory>
#include <new>
#include <string_view>

#include "frame/base.hpp"
#include "model/source_span.hpp"
#include "model/text.hpp"

namespace zem {

class OutputStream;
class CzemNamedNode;

// Syntax class codes returned by GetSyntaxClass; stored callers rely on the numbers.
enum SyntaxClass : int {
  kSynNode = 0,
  kSynTargetList = 1,
  kSynSection = 2,
  kSynKeyword = 3,
  kSynDefaultDef = 4,
  kSynParam = 5,
  kSynInt = 6,
  kSynReal = 7,
  kSynBool = 8,
  kSynString = 9,
  kSynFilename = 10,  // date-times share it
  kSynDefaultPar = 11,
  kSynSubstit = 12,
  kSynUnknown = 14,
  kSynUndefinedPar = 15,
};

// A visit callback with a caller context.
struct Visitor {
  void (*fn)(class CzemNode* node, void* context);
  void* context;
  void operator()(CzemNode* node) const { fn(node, context); }
};

class CzemNode : public CzemBase {
 public:
  ~CzemNode() override = default;

  virtual CzemNode* NewEmpty() const = 0;  // a fresh object of the same class; caller owns
  virtual const char* GetName();
  virtual const char* GetFullName();
  virtual int GetNoSections();
  virtual int GetNoKeywords();
  virtual int GetNoParams();
  virtual int GetNoNodes();
  virtual int GetNoInstances();
  virtual unsigned GetInstanceNo();
  virtual const char* GetAnchorFilename();
  virtual int IsTargetList();
  virtual int IsKeyword();
  virtual int IsParam();
  virtual int IsDefaultDef();
  virtual int IsNumeric();
  virtual int IsFloat();
  virtual int IsDouble();
  virtual int IsInt();
  virtual int IsString();
  virtual int IsDefaultPar();
  virtual int IsBool();
  virtual int IsFilename();
  virtual int IsClob();
  virtual int IsUndefinedPar();
  virtual float GetFloat();
  virtual double GetDouble();
  virtual int GetInt();
  virtual const char* GetString();
  virtual const char* GetFilename();
  virtual const char* GetFilenameString();
  virtual int GetBool();
  virtual CzemNode* SectionByNum(unsigned n);
  virtual CzemNode* KeywordByNum(unsigned n);
  virtual CzemNode* ParamByNum(unsigned n);
  virtual CzemNode* NodeByNum(unsigned n);
  virtual CzemNode* SectionByName(const char* name);
  virtual CzemNode* KeywordByName(const char* name);
  virtual CzemNode* SectionByNameNum(const char* name, unsigned n);
  virtual CzemNode* KeywordByNameNum(const char* name, unsigned n);
  virtual void Write(OutputStream& out);
  virtual void Visit(const Visitor& visitor);
  // The class is fixed when the node is made and kept in the node: a walk
  // asks it of every node, and values of all classes come mixed.
  int GetSyntaxClass() const { return syntax_; }
  // Whether the node is a keyword or a default line, told by its class
  // without a call: closing a loaded section asks it of every member.
  bool isKeywordNode() const { return syntax_ == kSynKeyword || syntax_ == kSynDefaultDef; }
  virtual CzemNode* FindDefault(CzemNode* child, const char* name, unsigned n);
  virtual void CopyFrom(const CzemNode* source);
  // Whether this value reads a caller's variable that now holds a number
  // without a written form (infinite or NaN); the tree then cannot be written.
  virtual bool unwritableNumber() { return false; }
  // The place of a loaded section or keyword in its file; start line 0 for
  // other nodes.
  virtual SourceSpan sourceSpan() const { return {}; }

  // Deleting a node runs its destructor; its memory goes back to the heap
  // unless a node arena holds it.
  void operator delete(CzemNode* node, std::destroying_delete_t) {
    const bool inArena = node->arenaAllocated();
    node->~CzemNode();
    if (!inArena) ::operator delete(static_cast<void*>(node));
  }
  void markArenaAllocated() { state_ |= kArenaBit; }
  bool arenaAllocated() const { return (state_ & kArenaBit) != 0; }
  // Whether destroying this node frees nothing but its place in a node
  // arena: true only for loaded values that hold no memory of their own.
  virtual bool arenaOnly() const { return false; }

  // Fields shared by every node.
  CzemNamedNode* parent() const { return parent_; }
  void setParent(CzemNamedNode* p) { parent_ = p; }
  unsigned instanceNo() const { return state_ & ~kStateBits; }
  void setInstanceNo(unsigned n) { state_ = (state_ & kStateBits) | (n & ~kStateBits); }
  // The braced text after a name or value, kept beside the node's own text.
  std::string_view auxText() const { return ownText().aux(); }
  const char* auxTextCStr() const { return ownText().auxCStr(); }
  void setAuxText(std::string_view text);

  // Number of ancestors: 0 for the root, 1 for a target.
  int level() const;
  // The node without parent at the top of this node's tree.
  CzemNode* top();

 protected:
  CzemNode() { state_ = kNodeMark; }

  // Each class names its syntax class in its constructors.
  void setSyntaxClass(SyntaxClass c) { syntax_ = static_cast<std::uint8_t>(c); }

  // Small per-class state packed beside the common fields (validity bits of the
  // numeric views, the flags of a named node).
  std::uint16_t bits_ = 0;

  // Set on a loaded keyword whose values are all arenaOnly: closing the
  // document then leaves them to the arena without visiting each one. Set on
  // a loaded section (or root) whose keywords and default lines are all
  // arenaOnly: closing then visits its sections only. Any change of a list,
  // of one of its members or of one of their values clears it.
  bool valuesArenaOnly() const { return (state_ & kValuesArenaOnlyBit) != 0; }
  void setValuesArenaOnly(bool on) { state_ = on ? (state_ | kValuesArenaOnlyBit) : (state_ & ~kValuesArenaOnlyBit); }
  // Set on a loaded section (or root) when nothing below it holds memory of
  // its own: its keywords, their values and its sections, with everything
  // below them, are places in the arena. Closing the document then does not
  // visit below it at all. Set bottom up, so a marked node's sections are all
  // marked; a change below clears the mark of every node above it.
  bool subtreeArenaOnly() const { return (state_ & kSubtreeArenaOnlyBit) != 0; }
  void setSubtreeArenaOnly() { state_ |= kSubtreeArenaOnlyBit; }
  // A change of this node's members: they are no longer known to need no
  // teardown, and the subtree marks of this node and the marked nodes above
  // it go.
  void membersChanged() {
    setValuesArenaOnly(false);
    if (subtreeArenaOnly()) clearSubtreeMarks();
  }
  // A node tells its parent and grandparent that it changed (see
  // valuesArenaOnly): a value its keyword and section, a keyword its section.
  void valueChanged() {
    if (parent_ != nullptr) parentChanged();
  }
  // The name of a named node, the text of a value: the text that carries the
  // auxiliary text too.
  virtual const Text& ownText() const = 0;
  Text& ownText() { return const_cast<Text&>(static_cast<const CzemNode*>(this)->ownText()); }

 private:
  // The top bits of the state word (beside the instance number) mark a node,
  // a node whose memory belongs to a node arena, a keyword whose values need
  // no teardown and a section whose subtree needs none. Instance numbers
  // keep the 28 bits below them (up to 268,435,455 namesakes or values in one
  // keyword, a line of half a gigabyte); beyond that they wrap.
  static constexpr unsigned kArenaBit = 0x80000000u;
  static constexpr unsigned kValuesArenaOnlyBit = 0x40000000u;
  static constexpr unsigned kSubtreeArenaOnlyBit = 0x20000000u;
  static constexpr unsigned kStateBits = kArenaBit | kValuesArenaOnlyBit | kSubtreeArenaOnlyBit | kNodeMark;
  // Most values are made before they join a keyword: only a change of a
  // placed node costs a call.
  void parentChanged();
  void clearSubtreeMarks();

  std::uint8_t syntax_ = kSynNode;
  CzemNamedNode* parent_ = nullptr;
};

// The common fields fill the class word's neighbour and the padding after it:
// every value pays 24 bytes for being a node.
static_assert(sizeof(void*) != 8 || sizeof(CzemNode) == 24);

// The empty text returned by neutral answers; owned by the library.
inline constexpr const char* kEmptyText = "";

// Destroys a node and everything below it.
inline void destroyNode(CzemNode* node) { delete node; }

}  // namespace zem
