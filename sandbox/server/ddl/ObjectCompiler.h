// Compiling a stored object again from its dictionary text (ALTER ...
// COMPILE): the view, unit or trigger is made again as CREATE OR REPLACE
// would make it, in its owner's schema and the statement's transaction, so
// that its status, errors and dependencies follow what exists now.
#pragma once

#include "sandbox/server/ddl/DdlExecutor.h"
#include "sandbox/server/dictionary/Dependencies.h"

namespace sandbox {

class ObjectCompiler {
 public:
  explicit ObjectCompiler(DdlContext& context) : context_(context) {}
  // warning is ORA-24344 when the object still has errors.
  bool Compile(const ObjectRef& object, OraError& error, OraError& warning);

 private:
  // The CREATE OR REPLACE statement that makes the object again.
  std::string CreateStatement(const ObjectRef& object);

  DdlContext& context_;
};

// A view used or a trigger fired while INVALID is compiled again first, as
// Oracle does, in a savepoint of the session's transaction; a failed
// compilation changes nothing and the use fails as it would have. True when
// the object is VALID afterwards.
bool CompileInUse(ServerSession& session, const ObjectRef& object);

}  // namespace sandbox
