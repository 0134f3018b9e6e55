// Editing a tree in place: inserting, deleting and renaming sections and
// keywords, inserting and deleting values, replacing a value, and copying
// whole nodes. Every operation leaves the child list, the typed lists, the
// name indexes, the values' stored numbers and the parent links in step, and
// moves the building cursor of the tree's handle off every node it destroys.
#pragma once

#include <string_view>

namespace zem {

class CzemData;
class CzemNode;
class CzemNamedNode;
class CzemKeyword;
class CzemSection;
class CzemTargetList;
class CzemParam;

namespace edit {

// The building handle recorded in the root of the node's tree, if any.
CzemData* buildingHandleOf(CzemNode& node);

// Puts a parentless keyword (section) into the parent by the position rule:
// position 1 (or no node of its kind yet) puts it first of all children, 0 or
// a position past the count of its kind last, any other position just before
// the node that now has that number. The parent takes ownership.
void insertKeyword(CzemSection& section, CzemKeyword* keyword, unsigned position);
void insertSection(CzemTargetList& list, CzemSection* section, unsigned position);
// Puts a parentless value at position - 1 (taken unsigned, capped at the
// count, so 0 appends) and renumbers the values after it.
void insertParam(CzemKeyword& keyword, CzemNode* param, unsigned position);

// Delete the child and its subtree; 1010 when it is null.
int deleteKeyword(CzemSection& section, CzemNode* keyword);
int deleteSection(CzemTargetList& list, CzemNode* section);
// Deletes value number n; 1010 when there is none.
int deleteParam(CzemKeyword& keyword, unsigned n);

// Sets the name and re-enters the node under it in its parent's index; the
// instance number follows from its place among the parent's nodes of its
// kind. A node without parent just takes the name.
void rename(CzemNamedNode& node, std::string_view name);

// Copies the value of `value` (a fresh value of the new kind) into `target`,
// which keeps its identity, parent and number.
void replaceValue(CzemParam& target, const CzemNode& value);

// A parentless deep copy of a section, keyword or value; the caller owns it.
CzemNode* copyOf(CzemNode& source);

// Makes `destination` a deep copy of `source` (two target lists or two
// keywords) and re-enters it in its parent's index. When one lies inside the
// other the source is copied first, so nothing still in use is destroyed.
void copyOnto(CzemNamedNode& destination, const CzemNamedNode& source);

}  // namespace edit
}  // namespace zem
