// Sequences and views: CREATE/ALTER/DROP SEQUENCE and CREATE [OR REPLACE]
// [FORCE] VIEW / ALTER VIEW ... COMPILE / DROP VIEW with their dictionary rows.
#pragma once

#include <string>
#include <vector>

#include "sandbox/server/ddl/DdlExecutor.h"
#include "sandbox/server/sql/TokenStream.h"

namespace sandbox {

class SequenceViewDdl {
 public:
  explicit SequenceViewDdl(DdlContext& context) : context_(context), in_(context.tokens, 1) {}
  bool CreateSequence(OraError& error);
  bool AlterSequence(OraError& error);
  bool DropSequence(OraError& error);
  // CREATE FORCE VIEW keeps a view whose query fails INVALID, with warning
  // ORA-24344 and the failure in ALL_ERRORS.
  bool CreateView(OraError& error, OraError& warning);
  bool AlterView(OraError& error, OraError& warning);
  bool DropView(OraError& error);

 private:
  struct SequenceOptions;
  // OF type WITH OBJECT IDENTIFIER (attribute, ...) | DEFAULT of an object
  // view: the ALL_VIEWS texts and the type's attributes, the view's columns.
  struct ObjectViewSpec {
    std::string typeOwner, typeName, typeText, oidText;
    std::vector<std::string> attributes;
  };
  // From OF up to AS (ObjectViewDdl.cpp).
  bool ReadObjectView(ObjectViewSpec& spec, OraError& error);
  // The view's ALL_TAB_COLS rows, as a query of storage describes them.
  bool DescribeViewColumns(const std::string& owner, const std::string& name,
                           const std::string& storage, OraError& error);
  bool ReadSequenceOptions(SequenceOptions& options, bool creating, OraError& error);

  DdlContext& context_;
  TokenStream in_;
};

}  // namespace sandbox
