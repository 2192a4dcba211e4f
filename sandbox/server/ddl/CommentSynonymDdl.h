// COMMENT ON TABLE / COLUMN / MATERIALIZED VIEW and CREATE / DROP [PUBLIC] SYNONYM with their
// dictionary rows (SYS.COM$ behind ALL_TAB_COMMENTS and ALL_COL_COMMENTS;
// ALL_SYNONYMS).
#pragma once

#include "sandbox/server/ddl/DdlExecutor.h"
#include "sandbox/server/sql/TokenStream.h"

namespace sandbox {

class CommentSynonymDdl {
 public:
  explicit CommentSynonymDdl(DdlContext& context) : context_(context), in_(context.tokens, 1) {}
  bool Comment(OraError& error);
  bool CreateSynonym(OraError& error);
  bool DropSynonym(OraError& error);

 private:
  DdlContext& context_;
  TokenStream in_;
};

}  // namespace sandbox
