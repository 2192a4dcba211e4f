// Users, roles and privileges: CREATE/ALTER/DROP USER, CREATE/DROP ROLE,
// GRANT and REVOKE of system privileges, roles and object privileges.
#pragma once

#include "sandbox/server/ddl/DdlExecutor.h"
#include "sandbox/server/sql/TokenStream.h"

namespace sandbox {

class UserDdl {
 public:
  explicit UserDdl(DdlContext& context) : context_(context), in_(context.tokens, 1) {}
  bool CreateUser(OraError& error);
  bool AlterUser(OraError& error);
  bool DropUser(OraError& error);
  bool CreateRole(OraError& error);
  bool DropRole(OraError& error);
  bool Grant(OraError& error);
  bool Revoke(OraError& error);

 private:
  // Privilege or role names of a GRANT/REVOKE list, each of one or more
  // words, and the column list after each (empty for none).
  bool ReadPrivilegeList(std::vector<std::string>& items,
                         std::vector<std::vector<std::string>>& columns, OraError& error);
  // Checks the columns of privilege on owner.name: only INSERT, UPDATE and
  // REFERENCES take a column list, of columns the object has.
  bool CheckColumns(const std::string& owner, const std::string& name, const std::string& privilege,
                    const std::vector<std::string>& columns, OraError& error);
  bool ReadGranteeList(const char* keyword, std::vector<std::string>& grantees, OraError& error);
  bool ReadUserOptions(const std::string& user, OraError& error);
  // The user holds privilege on owner.name WITH GRANT OPTION (itself or
  // through PUBLIC: a role's grant option does not pass on).
  // Grants privilege on columns of owner.name, one dictionary row each.
  bool GrantColumns(const std::string& owner, const std::string& name, const std::string& grantor,
                    const std::string& grantee, const std::string& privilege,
                    const std::vector<std::string>& columns, bool grantOption, OraError& error);
  bool HoldsGrantOption(const std::string& owner, const std::string& name,
                        const std::string& privilege);
  // The user may grant or revoke a system privilege or role: it holds it
  // WITH ADMIN OPTION, or the matching GRANT ANY privilege (ORA-01031).
  bool MayAdminister(const std::string& item, bool isRole, OraError& error);
  bool DropSchemaObjects(const std::string& user, OraError& error);

  DdlContext& context_;
  TokenStream in_;
};

}  // namespace sandbox
