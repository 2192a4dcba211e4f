// The privilege phase of a scripting run.
#include "scripting/source/PrivilegePhase.h"

#include <algorithm>
#include <cctype>
#include <utility>

#include "engine/RunControl.h"
#include "engine/RunFlags.h"
#include "engine/RunSettings.h"
#include "scripting/source/DictionaryQuery.h"
#include "scripting/source/OracleNames.h"
#include "scripting/source/PhaseWriter.h"

namespace {

constexpr int NameWidth = 128;
constexpr int PrivilegeWidth = 40;
constexpr int OptionWidth = 3;

struct KindTexts {
  const char* label;    // banner label
  const char* subject;  // status and caption word
  const char* note;     // end of the banner sentence
};

const KindTexts& TextsOf(PrivilegePhase::Kind kind) {
  static const KindTexts system{"system privileges", "System Privileges",
                                " and should be executed as 'system' or 'sys'"};
  static const KindTexts role{"role privileges", "Role Privileges",
                              " and should be executed as 'system' or 'sys'"};
  static const KindTexts object{"object privileges", "Object Privileges",
                                " and should be executed as 'system' or 'sys'. You may have to "
                                "execute them as the appropriate object owner."};
  switch (kind) {
    case PrivilegePhase::Kind::System:
      return system;
    case PrivilegePhase::Kind::Role:
      return role;
    case PrivilegePhase::Kind::Object:
      break;
  }
  return object;
}

int SelectedFlag(const RunSettings& settings, PrivilegePhase::Kind kind) {
  switch (kind) {
    case PrivilegePhase::Kind::System:
      return settings.DoSystemPrivileges;
    case PrivilegePhase::Kind::Role:
      return settings.DoRolePrivileges;
    case PrivilegePhase::Kind::Object:
      break;
  }
  return settings.DoObjectPrivileges;
}

std::vector<int> ColumnWidths(PrivilegePhase::Kind kind) {
  if (kind == PrivilegePhase::Kind::Object) {
    return {PrivilegeWidth, NameWidth, NameWidth, OptionWidth, NameWidth};
  }
  return {NameWidth, OptionWidth};
}

// The kind of object UnscriptedObjects is told of when a kind's list is lost.
std::string UnscriptedKind(PrivilegePhase::Kind kind) {
  std::string label = TextsOf(kind).label;
  std::transform(label.begin(), label.end(), label.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  return "LIST OF " + label;
}

// The options read "YES" or "NO"; anything but a leading N counts as held,
// so that an unexpected spelling keeps the option rather than lose it.
bool OptionHeld(const std::string& option) {
  return !option.empty() && option.front() != 'N';
}

}  // namespace

PrivilegePhase::PrivilegePhase(const RunSettings& settings, RunFlags& flags, RunControl& control,
                               PhaseWriter& writer, OracleSession& session, std::string schema,
                               std::string loggedOnUser)
    : settings_(settings),
      flags_(flags),
      control_(control),
      writer_(writer),
      session_(session),
      schema_(std::move(schema)),
      ownSchema_(schema_ == loggedOnUser) {}

std::vector<std::string> PrivilegePhase::Queries(Kind kind, bool ownSchema) {
  switch (kind) {
    case Kind::System:
      return {ownSchema ? "select privilege, admin_option from user_sys_privs order by privilege"
                        : "select privilege, admin_option from dba_sys_privs "
                          "where grantee = :grantee order by privilege"};
    case Kind::Role:
      return {ownSchema
                  ? "select granted_role, admin_option from user_role_privs order by granted_role"
                  : "select granted_role, admin_option from dba_role_privs "
                    "where grantee = :grantee order by granted_role"};
    case Kind::Object:
      break;
  }
  // The all_ views show the logged-on user's grants (and those it made or
  // owns); another schema's grants are only complete in the dba_ views.
  // Grants on single columns follow those on whole objects.
  if (ownSchema) {
    return {
        "select privilege, table_schema, table_name, grantable, null from all_tab_privs "
        "where grantee = :grantee order by privilege, table_name",
        "select privilege, table_schema, table_name, grantable, column_name from all_col_privs "
        "where grantee = :grantee order by privilege, table_name, column_name"};
  }
  return {
      "select privilege, owner, table_name, grantable, null from dba_tab_privs "
      "where grantee = :grantee order by privilege, table_name",
      "select privilege, owner, table_name, grantable, column_name from dba_col_privs "
      "where grantee = :grantee order by privilege, table_name, column_name"};
}

void PrivilegePhase::Run() {
  std::string failedKind;
  for (const Kind kind : {Kind::System, Kind::Role, Kind::Object}) {
    if (SelectedFlag(settings_, kind) == 0) {
      continue;
    }
    if (!failedKind.empty()) {
      // The phase ends at the first error: the kinds after it are not read.
      writer_.NoteUnscripted(UnscriptedKind(kind), schema_,
                             "not read after the error in the list of " + failedKind);
    } else if (!ScriptKind(kind)) {
      failedKind = TextsOf(kind).label;
    }
  }
}

bool PrivilegePhase::ScriptKind(Kind kind) {
  const KindTexts& texts = TextsOf(kind);
  writer_.Announce(texts.subject);
  writer_.SetProgressRange(0, 100);
  writer_.SetProgressPosition(20);
  writer_.SetProgressStep(1);
  writer_.SetProgressPosition(40);

  std::vector<DictionaryQuery::Row> rows;
  for (const std::string& sql : Queries(kind, ownSchema_)) {
    DictionaryQuery query(session_, sql, ColumnWidths(kind));
    if (sql.find(":grantee") != std::string::npos) {
      query.Bind(":grantee", schema_);
    }
    std::string error;
    std::vector<DictionaryQuery::Row> part;
    if (!query.ReadAll(part, error)) {
      control_.StopIfStopped();
      writer_.ErrorBlock("analyzing privileges", error);
      writer_.NoteUnscripted(UnscriptedKind(kind), schema_, error);
      return false;
    }
    rows.insert(rows.end(), part.begin(), part.end());
  }
  writer_.SetProgressPosition(60);
  writer_.SetProgressPosition(80);
  if (!rows.empty()) {
    writer_.Banner(texts.label, std::string("The following statements will create the ") +
                                    texts.label + texts.note);
    if (flags_.SkipRequested != 0) {
      flags_.SkipRequested = 0;
      writer_.Notice(std::string(texts.subject) + " Skipped ...");
      rows.clear();
    }
  }
  for (const DictionaryQuery::Row& row : rows) {
    control_.CheckStop();
    WriteGrant(kind, row);
  }
  writer_.SetProgressPosition(100);
  return true;
}

void PrivilegePhase::WriteGrant(Kind kind, const std::vector<std::string>& row) {
  writer_.Statement("GRANT ");
  if (kind == Kind::Object) {
    writer_.Statement(row[4].empty() ? row[0] : row[0] + " (" + StatementName(row[4]) + ")");
    writer_.Statement(" ON " + StatementName(row[1]) + "." + StatementName(row[2]));
  } else if (kind == Kind::Role) {
    writer_.Statement(RoleName(row[0]));
  } else {
    writer_.Statement(row[0]);
  }
  writer_.Statement(" TO " + StatementName(schema_));
  const bool option = OptionHeld(kind == Kind::Object ? row[3] : row[1]);
  const char* closing =
      kind == Kind::Object ? " WITH GRANT OPTION;\r\n" : " WITH ADMIN OPTION;\r\n";
  writer_.Statement(option ? closing : ";\r\n");
}
