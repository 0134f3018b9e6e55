// The document handle of a loaded file: it owns the tree (none after a failed
// parse) like every document handle, and the parser, which keeps the load's
// error record and statistics.
#pragma once

#include <memory>

#include "frame/document.hpp"
#include "text/zem_parser.hpp"

namespace zem {

class CzemLoad final : public CzemData {
 public:
  // Takes ownership of `parser` and of the tree it built.
  explicit CzemLoad(CzemParser* parser);
  // The tree goes first: its memory belongs to the parser's node arena.
  ~CzemLoad() override;

  const CzemParser& parser() const { return *parser_; }

 private:
  std::unique_ptr<CzemParser> parser_;
};

// Checked access to a load handle: anything else stores 1005 and reports
// "Invalid zemHandle (CzemLoad)", whatever the caller's quiet flag.
CzemLoad* checkLoad(void* p);

}  // namespace zem
