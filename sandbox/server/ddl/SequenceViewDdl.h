// Sequences and views: CREATE/ALTER/DROP SEQUENCE and CREATE [OR REPLACE]
// VIEW / DROP VIEW with their dictionary rows.
#pragma once

#include "sandbox/server/ddl/DdlExecutor.h"
#include "sandbox/server/sql/TokenStream.h"

namespace sandbox {

class SequenceViewDdl {
 public:
  explicit SequenceViewDdl(DdlContext& context) : context_(context), in_(context.tokens, 1) {}
  bool CreateSequence(OraError& error);
  bool AlterSequence(OraError& error);
  bool DropSequence(OraError& error);
  bool CreateView(OraError& error);
  bool DropView(OraError& error);

 private:
  struct SequenceOptions;
  bool ReadSequenceOptions(SequenceOptions& options, bool creating, OraError& error);

  DdlContext& context_;
  TokenStream in_;
};

}  // namespace sandbox
