// PrivilegePhase: GRANT statements that give the schema the privileges it
// holds: its system privileges, its roles and the object privileges granted
// to it, each kind under its own banner. The statements name the schema as
// grantee, so the privileges are read for the schema too: from the user_
// views when the schema is the logged-on user, else from the dba_ views with
// the schema as bound grantee. Object privileges include grants on single
// columns. When a kind's view cannot be read the phase
// writes the error block and ends, rather than grant the schema anybody
// else's privileges.
#pragma once

#include <string>
#include <vector>

class OracleSession;
class PhaseWriter;
class RunControl;
struct RunFlags;
struct RunSettings;

class PrivilegePhase {
 public:
  // The three kinds, in the order the phase handles them.
  enum class Kind { System, Role, Object };

  PrivilegePhase(const RunSettings& settings, RunFlags& flags, RunControl& control,
                 PhaseWriter& writer, OracleSession& session, std::string schema,
                 std::string loggedOnUser);

  void Run();

  // The queries of a kind: system and role rows are (name, admin option),
  // object rows (privilege, owner, object name, grantable, column or empty
  // for the whole object). The grantee is bound to ":grantee" unless the
  // query reads the user_ views.
  static std::vector<std::string> Queries(Kind kind, bool ownSchema);

 private:
  // Reads and writes one kind; false when its query failed.
  bool ScriptKind(Kind kind);
  void WriteGrant(Kind kind, const std::vector<std::string>& row);

  const RunSettings& settings_;
  RunFlags& flags_;
  RunControl& control_;
  PhaseWriter& writer_;
  OracleSession& session_;
  std::string schema_;
  bool ownSchema_;
};
