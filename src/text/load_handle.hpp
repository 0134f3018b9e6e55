// The document handle of a loaded file: it owns the parser, and the parser
// owns the tree (none after a failed parse) and the load's error record and
// statistics.
#pragma once

#include <memory>

#include "frame/document.hpp"
#include "text/zem_parser.hpp"

namespace zem {

class CzemLoad final : public CzemData {
 public:
  // Takes ownership of `parser`; the handle's root is the parser's root.
  explicit CzemLoad(CzemParser* parser);
  ~CzemLoad() override;

  const CzemParser& parser() const { return *parser_; }

 private:
  std::unique_ptr<CzemParser> parser_;
};

// Checked access to a load handle: anything else stores 1005 and reports
// "Invalid zemHandle (CzemLoad)", whatever the caller's quiet flag.
CzemLoad* checkLoad(void* p);

}  // namespace zem
