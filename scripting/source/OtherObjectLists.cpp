// The queries and statements of synonyms, database links, materialized views
// and their logs, and object grants.
#include "scripting/source/OtherObjectLists.h"

#include "scripting/data/ToolLines.h"
#include "scripting/data/ValueLiteral.h"
#include "scripting/source/OracleNames.h"

namespace {

constexpr int NameWidth = 128;
constexpr int PrivilegeWidth = 40;
constexpr int OptionWidth = 3;
constexpr int HostWidth = 2000;
constexpr int ModeWidth = 9;
constexpr int CommentWidth = 4000;
// A materialized view's query is a LONG; longer texts than this are cut.
constexpr int QueryWidth = 65536;
constexpr int NumberWidth = 40;

// name, or owner.name when the object lies in another schema than owner.
std::string ObjectReference(const std::string& objectOwner, const std::string& name,
                            const std::string& owner) {
  return (objectOwner.empty() || objectOwner == owner ? std::string()
                                                      : StatementName(objectOwner) + ".") +
         StatementName(name);
}

// PUBLIC is a keyword, not a name, in a grant.
std::string GranteeName(const std::string& grantee) {
  return grantee == "PUBLIC" ? grantee : StatementName(grantee);
}

bool OptionHeld(const std::string& option) {
  return option == "YES";
}

}  // namespace

StatementList SynonymList(const std::string& owner) {
  // Rows: synonym name, target owner, target name, database link.
  const std::vector<int> widths{NameWidth, NameWidth, NameWidth, NameWidth};
  const auto target = [owner](const DictionaryQuery::Row& row, bool isPublic) {
    // A public synonym lives outside the schema: its target keeps its owner.
    std::string text = isPublic ? StatementName(row[1]) + "." + StatementName(row[2])
                                : ObjectReference(row[1], row[2], owner);
    if (!row[3].empty()) {
      text += "@" + row[3];
    }
    return text;
  };
  StatementList list{"Synonyms",
                     "synonyms",
                     "The following statements will create the synonyms; the public ones need the "
                     "CREATE PUBLIC SYNONYM privilege",
                     {}};
  list.Queries.push_back(
      {"select synonym_name, table_owner, table_name, db_link from all_synonyms "
       "where owner = :owner order by synonym_name",
       widths, [target](const DictionaryQuery::Row& row) {
         return ListedStatement{"CREATE OR REPLACE SYNONYM " + StatementName(row[0]) + " FOR " +
                                    target(row, false) + ";\r\n",
                                {{"SYNONYM", row[0]}}};
       }});
  list.Queries.push_back(
      {"select synonym_name, table_owner, table_name, db_link from all_synonyms "
       "where owner = 'PUBLIC' and table_owner = :owner order by synonym_name",
       widths, [target](const DictionaryQuery::Row& row) {
         return ListedStatement{"CREATE OR REPLACE PUBLIC SYNONYM " + StatementName(row[0]) +
                                    " FOR " + target(row, true) + ";\r\n",
                                {}};
       }});
  return list;
}

StatementList DatabaseLinkList() {
  StatementList list{"Database Links",
                     "database links",
                     "The following statements will create the database links; the passwords "
                     "are not read from the database and must be filled in before they run",
                     {}};
  list.Queries.push_back(
      {"select db_link, username, host from all_db_links where owner = :owner order by db_link",
       {NameWidth, NameWidth, HostWidth},
       [](const DictionaryQuery::Row& row) {
         std::string text = "-- Replace " + std::string(LinkPasswordPlaceholder) +
                            " by the password of " +
                            (row[1].empty() ? std::string("the connecting user") : row[1]) +
                            " on the remote database.\r\nCREATE DATABASE LINK " + row[0];
         if (!row[1].empty()) {
           text +=
               " CONNECT TO " + StatementName(row[1]) + " IDENTIFIED BY " + LinkPasswordPlaceholder;
         }
         text += " USING " + QuotedLiteral(row[2]) + ";\r\n";
         return ListedStatement{text, {{"DATABASE LINK", row[0]}}};
       }});
  return list;
}

StatementList ObjectGrantList(const std::string& owner, bool ownSchema) {
  // Rows: privilege, object owner, object name, grantee, grantable, hierarchy,
  // column (empty for the whole object).
  const auto grant = [owner](const DictionaryQuery::Row& row) {
    std::string text = "GRANT " + row[0];
    if (!row[6].empty()) {
      text += " (" + StatementName(row[6]) + ")";
    }
    text += " ON " + ObjectReference(row[1], row[2], owner) + " TO " + GranteeName(row[3]);
    if (OptionHeld(row[5])) {
      text += " WITH HIERARCHY OPTION";
    }
    if (OptionHeld(row[4])) {
      text += " WITH GRANT OPTION";
    }
    if (row[3] == "PUBLIC") {
      return ListedStatement{text + ";\r\n", {}};
    }
    // The grantee is created above, which takes a DBA: run by the schema's
    // owner alone, its CREATE fails and the grant is reported, not an error
    // that stops the script.
    return ListedStatement{
        "BEGIN EXECUTE IMMEDIATE " + QuotedLiteral(text) +
            "; EXCEPTION WHEN OTHERS THEN IF SQLCODE <> -1917 THEN RAISE; "
            "END IF; DBMS_OUTPUT.PUT_LINE(" +
            QuotedLiteral("Not granted, " + GranteeName(row[3]) + " does not exist: " + text) +
            "); END;\r\n/\r\n",
        {}};
  };
  const std::vector<int> widths{PrivilegeWidth, NameWidth,   NameWidth, NameWidth,
                                OptionWidth,    OptionWidth, NameWidth};
  const std::string objectOwner = ownSchema ? "table_schema" : "owner";
  const std::string prefix = ownSchema ? "all_" : "dba_";
  StatementList list{"Object Grants",
                     "object grants",
                     "The following statements will grant the privileges this schema gave on "
                     "its objects to other users, roles and PUBLIC. The users and roles are "
                     "created first, as a DBA may (a user without a password); where one exists "
                     "already, its CREATE fails harmlessly with ORA-01920 or ORA-01921. A grant "
                     "to a user or role that could not be created is skipped and named in the "
                     "server's output",
                     {}};
  // Users and roles are the database's own, not the schema's, yet the grants
  // need them: every grantee but PUBLIC is created once, and named in the
  // run's summary. all_users shows every user to everyone; any other grantee
  // is a role.
  list.Queries.push_back(
      {"select grantee, case when grantee in (select username from all_users) then 'USER' "
       "else 'ROLE' end from (select grantee from " +
           prefix + "tab_privs where grantor = :owner union select grantee from " + prefix +
           "col_privs where grantor = :owner) where grantee <> 'PUBLIC' order by 2 desc, 1",
       {NameWidth, OptionWidth + 1},
       [](const DictionaryQuery::Row& row) {
         // A user is made without a password (a schema-only account) that
         // no one can log on to until a DBA gives it one.
         std::string statement = "CREATE ";
         statement += row[1] == "USER" ? "USER " : "ROLE ";
         statement += StatementName(row[0]);
         statement += row[1] == "USER" ? " NO AUTHENTICATION;\r\n" : ";\r\n";
         return ListedStatement{
             statement, {}, {{{row[1], row[0]}, "receives grants on the schema's objects"}}};
       }});
  list.Queries.push_back({"select privilege, " + objectOwner +
                              ", table_name, grantee, grantable, hierarchy, null from " + prefix +
                              "tab_privs where grantor = :owner order by table_name, grantee, "
                              "privilege",
                          widths, grant});
  list.Queries.push_back({"select privilege, " + objectOwner +
                              ", table_name, grantee, grantable, 'NO', column_name from " + prefix +
                              "col_privs where grantor = :owner order by table_name, "
                              "column_name, grantee, privilege",
                          widths, grant});
  return list;
}

StatementList MaterializedViewList(bool pctClauses, bool storageClauses, const std::string& only) {
  StatementList list{"Materialized Views",
                     "materialized views",
                     "The following statements will create the materialized views; each is "
                     "built and refreshed as the source database keeps it",
                     {}};
  // Rows: name, build mode, refresh method, refresh mode, rewrite, query,
  // then the container table's pctfree, pctused, initrans, maxtrans,
  // tablespace and logging.
  list.Queries.push_back(
      {"select m.mview_name, m.build_mode, m.refresh_method, m.refresh_mode, m.rewrite_enabled, "
       "m.query, t.pct_free, t.pct_used, t.ini_trans, t.max_trans, t.tablespace_name, "
       "t.logging from all_mviews m, all_tables t where m.owner = :owner "
       "and t.owner(+) = m.owner and t.table_name(+) = m.mview_name order by m.mview_name",
       {NameWidth, ModeWidth, ModeWidth, ModeWidth, OptionWidth, QueryWidth, NumberWidth,
        NumberWidth, NumberWidth, NumberWidth, NameWidth, OptionWidth},
       [pctClauses, storageClauses](const DictionaryQuery::Row& row) {
         const std::string name = StatementName(row[0]);
         // A prebuilt table is not scripted as a table: it is built here.
         const std::string build = row[1] == "DEFERRED" ? "DEFERRED" : "IMMEDIATE";
         const std::string refresh = row[3] == "NEVER" || row[2] == "NEVER"
                                         ? "NEVER REFRESH"
                                         : "REFRESH " + row[2] + " ON " + row[3];
         std::string physical;
         if (pctClauses) {
           static const char* const clauses[] = {"PCTFREE ", "PCTUSED ", "INITRANS ", "MAXTRANS "};
           for (std::size_t k = 0; k < 4; ++k) {
             if (!row[6 + k].empty()) {
               physical += (physical.empty() ? "" : " ") + std::string(clauses[k]) + row[6 + k];
             }
           }
           physical += physical.empty() ? "" : "\r\n";
         }
         if (storageClauses && !row[10].empty()) {
           physical += "TABLESPACE " + StatementName(row[10]) + "\r\n";
         }
         // A container table built without redo is a storage choice, as a
         // table's NOLOGGING is.
         if (storageClauses && row[11] == "NO") {
           physical += "NOLOGGING\r\n";
         }
         return ListedStatement{
             ToolSafeStatement("CREATE MATERIALIZED VIEW " + name + "\r\n" + physical + "BUILD " +
                                   build + "\r\n" + refresh + "\r\n" +
                                   (row[4] == "Y" ? "ENABLE" : "DISABLE") +
                                   " QUERY REWRITE\r\nAS " + row[5],
                               true, "\r\n/\r\n"),
             {{"MATERIALIZED VIEW", row[0]}, {"TABLE", row[0]}}};
       }});
  list.Queries.push_back(
      {"select mview_name, comments from all_mview_comments where owner = :owner "
       "and comments is not null order by mview_name",
       {NameWidth, CommentWidth},
       [](const DictionaryQuery::Row& row) {
         return ListedStatement{
             ToolSafeStatement("COMMENT ON MATERIALIZED VIEW " + StatementName(row[0]) + " IS " +
                                   QuotedLiteral(row[1]),
                               true, ";\r\n"),
             {}};
       }});
  // Its columns' comments are kept under the view's name, and written as a
  // table's are.
  list.Queries.push_back(
      {"select c.table_name, c.column_name, c.comments from all_col_comments c, all_mviews m "
       "where m.owner = :owner and c.owner = m.owner and c.table_name = m.mview_name "
       "and c.comments is not null order by c.table_name, c.column_name",
       {NameWidth, NameWidth, CommentWidth},
       [](const DictionaryQuery::Row& row) {
         return ListedStatement{
             ToolSafeStatement("COMMENT ON COLUMN " + StatementName(row[0]) + "." +
                                   StatementName(row[1]) + " IS " + QuotedLiteral(row[2]),
                               true, "\r\n/\r\n"),
             {}};
       }});
  if (!only.empty()) {
    for (StatementListQuery& query : list.Queries) {
      query.Fold = [only](std::vector<DictionaryQuery::Row> rows) {
        std::erase_if(rows, [&only](const DictionaryQuery::Row& row) { return row[0] != only; });
        return rows;
      };
    }
  }
  return list;
}

StatementList MaterializedViewLogList() {
  StatementList list{"Materialized View Logs",
                     "materialized view logs",
                     "The following statements will create the materialized view logs of the "
                     "tables",
                     {}};
  // Rows: master table, log table, rowid, primary key, object id, sequence,
  // new values, filter columns; the log's row, then one row for each column
  // of its table that is neither Oracle's own nor of the master's key, which
  // Fold joins into the first.
  const std::string logColumns =
      "master, log_table, rowids, primary_key, object_id, sequence, include_new_values";
  list.Queries.push_back(
      {"select " + logColumns +
           ", null column_name, 0 column_id from all_mview_logs where log_owner = :owner "
           "union all select " +
           "l.master, l.log_table, l.rowids, l.primary_key, l.object_id, l.sequence, "
           "l.include_new_values, c.column_name, c.column_id "
           "from all_mview_logs l, all_tab_columns c where l.log_owner = :owner "
           "and c.owner = l.log_owner and c.table_name = l.log_table "
           "and c.column_name not like '%$$' and not exists (select 1 from all_constraints p, "
           "all_cons_columns k where p.owner = l.log_owner and p.table_name = l.master "
           "and p.constraint_type = 'P' and k.owner = p.owner "
           "and k.constraint_name = p.constraint_name and k.column_name = c.column_name) "
           "order by 1, 9",
       {NameWidth, NameWidth, OptionWidth, OptionWidth, OptionWidth, OptionWidth, OptionWidth,
        NameWidth, NumberWidth},
       [](const DictionaryQuery::Row& row) {
         std::string with;
         const auto add = [&with](const std::string& option, const char* clause) {
           if (OptionHeld(option)) {
             with += (with.empty() ? " WITH " : ", ") + std::string(clause);
           }
         };
         add(row[4], "OBJECT ID");
         add(row[3], "PRIMARY KEY");
         add(row[2], "ROWID");
         add(row[5], "SEQUENCE");
         if (!row[7].empty()) {
           with += (with.empty() ? " WITH (" : " (") + row[7] + ")";
         }
         return ListedStatement{"CREATE MATERIALIZED VIEW LOG ON " + StatementName(row[0]) + with +
                                    (OptionHeld(row[6]) ? " INCLUDING" : " EXCLUDING") +
                                    " NEW VALUES;\r\n",
                                {{"TABLE", row[1]}}};
       },
       [](std::vector<DictionaryQuery::Row> rows) {
         std::vector<DictionaryQuery::Row> logs;
         for (DictionaryQuery::Row& row : rows) {
           if (row[7].empty() || logs.empty() || logs.back()[0] != row[0]) {
             logs.push_back(std::move(row));
           } else {
             logs.back()[7] += (logs.back()[7].empty() ? "" : ", ") + StatementName(row[7]);
           }
         }
         return logs;
       }});
  return list;
}
