// CREATE and DROP MATERIALIZED VIEW [LOG] with the rows Oracle keeps for
// them: a materialized view is a container table of its name (in ALL_TABLES
// and ALL_OBJECTS, filled by the query unless the build is deferred) and its
// row in ALL_MVIEWS; a log is the table MLOG$_<master> and its row in
// ALL_MVIEW_LOGS. Refreshes are not carried out: nothing here changes after
// the build.
#pragma once

#include <string>

#include "sandbox/server/ddl/DdlExecutor.h"
#include "sandbox/server/sql/TokenStream.h"

namespace sandbox {

class MaterializedViewDdl {
 public:
  explicit MaterializedViewDdl(DdlContext& context) : context_(context), in_(context.tokens, 1) {}
  bool Create(OraError& error);
  bool Drop(OraError& error);

  // True when owner.name is the container table of a materialized view,
  // which only DROP MATERIALIZED VIEW removes.
  static bool IsContainerTable(Catalog& catalog, const std::string& owner, const std::string& name);

 private:
  bool CreateView(OraError& error);
  bool CreateLog(OraError& error);
  bool DropLog(OraError& error);
  // ALL_DEPENDENCIES rows of the view for what its query (from token
  // queryBegin to the end) reads.
  bool RecordQueryDependencies(const std::string& owner, const std::string& name,
                               std::size_t queryBegin, OraError& error);
  // Runs sql, a CREATE or DROP TABLE statement, as the session would.
  bool RunTableStatement(const std::string& sql, OraError& error);
  // Reads one physical attribute of the container table (PCTFREE 0,
  // NOLOGGING, STORAGE (...) ...) and adds its text to attributes.
  bool ReadTableAttribute(std::string& attributes);

  DdlContext& context_;
  TokenStream in_;
};

}  // namespace sandbox
