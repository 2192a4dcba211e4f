// CREATE and DROP of kinds of objects the sandbox keeps as dictionary rows
// only: DIMENSION and JAVA SOURCE. Nothing is compiled or checked beyond the
// name; they exist so that a schema can hold objects of kinds a scripting
// tool may not know.
#pragma once

#include "sandbox/server/ddl/DdlExecutor.h"
#include "sandbox/server/sql/TokenStream.h"

namespace sandbox {

class ForeignKindDdl {
 public:
  explicit ForeignKindDdl(DdlContext& context) : context_(context), in_(context.tokens, 1) {}
  bool Create(OraError& error);
  bool Drop(OraError& error);

  // True when the words at the stream's position begin a CREATE or DROP of
  // one of these kinds (after CREATE's OR REPLACE).
  static bool Starts(const TokenStream& in);

 private:
  // DIMENSION or JAVA SOURCE [NAMED]: the object type, past its words.
  bool ReadKind(std::string& type, OraError& error);

  DdlContext& context_;
  TokenStream in_;
};

}  // namespace sandbox
