// Document handles: the object a caller holds for a loaded or built document.
// A handle owns the root of its tree (a load handle through its parser) and
// the building state: the insertion cursor, the builder status and text.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "frame/base.hpp"

namespace zem {

class CzemNode;
class CzemTargetList;
class CzemKeyword;

class CzemData : public CzemBase {
 public:
  ~CzemData() override;
  CzemData* asData() final { return this; }

  CzemTargetList* root() const { return root_; }

  // ---- building through the insertion cursor ----
  // Each step either succeeds or records a building error (report unless the
  // silent flag is set, status 2000, error text) and leaves tree and cursor alone.
  // What a template definition builds (a section or keyword definition, the
  // placeholders of a keyword definition) leaves the current CLOB value as it
  // was, so that its items can still follow; content moves it.
  enum Purpose { kContent, kDefinition };
  bool addTarget(std::string_view name, std::uint32_t flags = 0);
  bool addSection(std::string_view name, std::uint32_t flags = 0, Purpose purpose = kContent);
  bool endSection();
  bool addKeyword(std::string_view name, std::uint32_t flags = 0, Purpose purpose = kContent);
  // Takes ownership of `value` and appends it to the current keyword; a value
  // that cannot be placed is destroyed.
  bool appendValue(CzemNode* value, Purpose purpose = kContent);
  void buildingError(const char* message);
  // The same without a report and without touching the silent flag: the
  // refusal of a quiet call that leaves that flag as it was.
  void recordBuildingError(const char* message);
  // True for a name the reader can read back; else a building error.
  bool acceptName(std::string_view name);
  // Moves the cursor off `node` (a section, keyword or value) and everything
  // below it, which is about to be destroyed: an open section inside it closes
  // to the section holding `node` (none at the top level), and a keyword or
  // CLOB value inside it is dropped. The next building call then fails in the
  // usual way instead of reaching a destroyed node.
  void forget(CzemNode* node);
  // The same for everything below `node`, which survives (its contents are
  // about to be replaced): an open section inside it closes to `node` itself.
  void forgetContents(CzemNode* node);

  CzemTargetList* currentSection() const { return currentSection_; }
  CzemKeyword* currentKeyword() const { return currentKeyword_; }
  CzemNode* currentClob() const { return currentClob_; }

  const std::string& builderError() const { return builderError_; }
  bool silent() const { return silent_ != 0; }
  void setSilent() { silent_ = 1; }
  // Returns the builder status and resets it, as every quiet variant does.
  int takeStatus() {
    const int status = status_;
    status_ = 0;
    return status;
  }

 protected:
  explicit CzemData(CzemTargetList* root) : root_(root) {}
  CzemTargetList* root_;

 private:
  void closeCurrentSection();
  // Drops the cursor fields inside `top` (`top` itself too unless `keepTop`).
  void forgetBelow(CzemNode* top, bool keepTop);

  CzemTargetList* currentSection_ = nullptr;
  CzemKeyword* currentKeyword_ = nullptr;
  CzemNode* currentClob_ = nullptr;
  std::string builderError_;
  int silent_ = 0;
  int status_ = 0;
};

// A handle made by zemCreate: owns a fresh empty root.
class CzemCreate : public CzemData {
 public:
  CzemCreate();
};

}  // namespace zem
