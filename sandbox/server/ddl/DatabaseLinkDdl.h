// CREATE and DROP [PUBLIC] DATABASE LINK with their dictionary rows
// (SYS.LINK$ behind ALL_DB_LINKS and an ALL_OBJECTS row). No connection is
// ever opened through a link, and its password is not kept.
#pragma once

#include "sandbox/server/ddl/DdlExecutor.h"
#include "sandbox/server/sql/TokenStream.h"

namespace sandbox {

class DatabaseLinkDdl {
 public:
  explicit DatabaseLinkDdl(DdlContext& context) : context_(context), in_(context.tokens, 1) {}
  bool Create(OraError& error);
  bool Drop(OraError& error);

 private:
  // [PUBLIC] DATABASE LINK name, where name may hold dots (a global name).
  bool ReadLinkName(bool& isPublic, std::string& name, OraError& error);

  DdlContext& context_;
  TokenStream in_;
};

}  // namespace sandbox
