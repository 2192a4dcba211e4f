// A schema whose rows only come back when the data section does its part:
// tables that reference each other, a table that references itself, a child
// whose parent sorts after it, a BLOB with every byte value, a 1 MB CLOB,
// BFILEs whose names need quoting, an
// ALWAYS identity column with rows up to 5000 and a virtual column. It is
// scripted (tables, data, indexes, keys), replayed into a fresh database in
// that order, and must come back whole: no replay error, the same rows and
// contents per table, and an identity counter past the highest value.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <map>

#include "scripting/source/DictionaryQuery.h"
#include "scripting/tables/TablePhases.h"
#include "tests/sandbox/oci/RunProgram.h"
#include "tests/scripting/data/DataRig.h"

namespace {

const std::vector<std::string> TableNames = {"AA_CHILD", "DEPTS",   "DOCS",     "EMPS",
                                             "PRICES",   "TICKETS", "ZZ_PARENT"};

std::vector<std::string> FixtureStatements() {
  return {
      "create table ZZ_PARENT (ID number primary key, NAME varchar2(20))",
      "create table AA_CHILD (ID number primary key, PARENT_ID number references ZZ_PARENT)",
      "create table DEPTS (ID number primary key, NAME varchar2(20), HEAD_ID number)",
      "create table EMPS (ID number primary key, DEPT_ID number references DEPTS, BOSS_ID "
      "number references EMPS)",
      "alter table DEPTS add constraint DEPTS_HEAD_FK foreign key (HEAD_ID) references EMPS",
      "create table DOCS (ID number primary key, BODY clob, DATA blob, SCAN bfile)",
      "create table TICKETS (ID number generated always as identity (start with 4990) primary "
      "key, NOTE varchar2(20))",
      "create table PRICES (ID number primary key, NET number(8,2), GROSS number generated "
      "always as (NET * 2) virtual)",
      "insert into ZZ_PARENT values (1, 'parent')",
      "insert into AA_CHILD values (10, 1)",
      "insert into DEPTS values (1, 'sales', null)",
      "insert into EMPS values (1, 1, null)",
      "insert into EMPS values (2, 1, 1)",
      "update DEPTS set HEAD_ID = 2 where ID = 1",
      "insert into PRICES (ID, NET) values (1, 10.5)",
      "begin for i in 1 .. 11 loop insert into TICKETS (NOTE) values ('t' || i); end loop; end;",
  };
}

// Every byte value, repeated past the size that fits one statement.
std::string EveryByteHex() {
  static const char digits[] = "0123456789ABCDEF";
  std::string hex;
  for (int round = 0; round < 80; ++round) {
    for (int byte = 0; byte < 256; ++byte) {
      hex += digits[byte >> 4];
      hex += digits[byte & 15];
    }
  }
  return hex;
}

// The LOB rows go in through PL/SQL: a literal of SQL holds 4000 bytes only.
void InsertDocuments(SandboxSchema& schema) {
  const std::string hex = EveryByteHex();
  std::string block = "declare b blob; c clob; begin b := hextoraw('" + hex.substr(0, 20000) +
                      "'); dbms_lob.writeappend(b, " + std::to_string((hex.size() - 20000) / 2) +
                      ", hextoraw('" + hex.substr(20000) + "')); c := 'x';";
  // 1 MB of text with apostrophes, line breaks and characters of two bytes.
  const std::string line = "it's line ü of the big document;\n";
  std::string chunk;
  while (chunk.size() + line.size() < 30000) {
    chunk += line;
  }
  std::string quoted;
  for (const char ch : chunk) {
    quoted += ch == '\'' ? std::string("''") : std::string(1, ch);
  }
  std::size_t size = 1;
  while (size < 1024 * 1024) {
    block += " dbms_lob.append(c, '" + quoted + "');";
    size += chunk.size();
  }
  block += " insert into DOCS values (1, c, b, bfilename('DOC_DIR', 'scans/it''s one.pdf')); end;";
  schema.Run(block);
  schema.Run(
      "insert into DOCS values (2, 'small ''one''', hextoraw('00FF10'), bfilename('D', 'ü'))");
  schema.Run("insert into DOCS values (3, empty_clob(), empty_blob(), null)");
  schema.Run("insert into DOCS values (4, null, null, null)");
}

std::string ScriptRestore(DataRig& rig) {
  rig.tables.names = TableNames;
  TablePhases phases(rig.settings, rig.output, &rig.host, rig.control, rig.tables, *rig.schema.ddl,
                     rig.unscripted);
  phases.RunTablePhase();
  rig.data.RunDataPhase();
  phases.RunIndexPhase();
  phases.RunConstraintPhase();
  return rig.Report();
}

// The data section of each table scripted now: the text from its header to
// the next one.
std::map<std::string, std::string> DataSections(DataRig& rig) {
  const std::size_t before = rig.Report().size();
  rig.tables.names = TableNames;
  rig.data.RunDataPhase();
  const std::string report = rig.Report().substr(before);
  const std::string marker = "create the data as found in table ";
  std::map<std::string, std::string> sections;
  for (std::size_t at = report.find(marker); at != std::string::npos;) {
    const std::size_t nameEnd = report.find_first_of("\r\n", at + marker.size());
    const std::string table = report.substr(at + marker.size(), nameEnd - at - marker.size());
    const std::size_t next = report.find(marker, nameEnd);
    sections[table] = report.substr(nameEnd, next == std::string::npos ? next : next - nameEnd);
    at = next;
  }
  return sections;
}

std::string OneValue(OracleSession& session, const std::string& query) {
  DictionaryQuery read(session, query, {64});
  std::vector<DictionaryQuery::Row> rows;
  std::string error;
  EXPECT_TRUE(read.ReadAll(rows, error)) << error;
  return rows.empty() ? std::string("(no row)") : rows[0][0];
}

TEST(RestoreRoundTripTest, EveryRowAndValueComesBackAndIdentityCountsOn) {
  const std::filesystem::path directory =
      std::filesystem::temp_directory_path() /
      ("quillmark-restore-" +
       std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()));
  std::filesystem::create_directories(directory);
  const std::string source = "file:" + (directory / "source.db").string();
  const std::string target = "file:" + (directory / "target.db").string();

  std::string script;
  std::map<std::string, std::string> before;
  std::map<std::string, std::string> counts;
  {
    DataRig rig(source);
    for (const std::string& statement : FixtureStatements()) {
      rig.schema.Run(statement);
    }
    InsertDocuments(rig.schema);
    script = ScriptRestore(rig);
    EXPECT_EQ(rig.unscripted.Count(), 0u) << script.substr(0, 3000);
    for (const std::string& table : TableNames) {
      counts[table] = OneValue(*rig.schema.client.session, "select count(*) from " + table);
    }
    before = DataSections(rig);
  }
  // The rules of the data section, as a replay depends on them.
  EXPECT_NE(script.find("INSERT INTO TICKETS ( \"ID\", \"NOTE\")"), std::string::npos);
  EXPECT_NE(script.find("ALTER TABLE TICKETS MODIFY (\"ID\" GENERATED BY DEFAULT AS IDENTITY);"),
            std::string::npos);
  EXPECT_NE(script.find("ALTER TABLE TICKETS MODIFY (\"ID\" GENERATED ALWAYS AS IDENTITY "
                        "(START WITH LIMIT VALUE));"),
            std::string::npos);
  EXPECT_NE(script.find("INSERT INTO PRICES ( \"ID\", \"NET\")"), std::string::npos);
  EXPECT_EQ(script.find("APP.DOCS"), std::string::npos);
  EXPECT_NE(script.find("DBMS_LOB.WRITEAPPEND(lob_3, "), std::string::npos);
  EXPECT_NE(script.find("DBMS_LOB.APPEND(lob_2, TO_CLOB("), std::string::npos);
  EXPECT_NE(script.find("VALUES ( 2, TO_CLOB('small ''one'''), TO_BLOB(HEXTORAW('00FF10')), "
                        "BFILENAME('D', 'ü'));"),
            std::string::npos);
  EXPECT_NE(script.find("BFILENAME('DOC_DIR', 'scans/it''s one.pdf'));"), std::string::npos);
  EXPECT_NE(script.find("VALUES ( 3, EMPTY_CLOB(), EMPTY_BLOB(), NULL);"), std::string::npos)
      << script.substr(script.find("VALUES ( 3,"), 100);
  EXPECT_EQ(static_cast<int>(before.size()), 7);

  {
    DataRig rig(target);
    rig.schema.client.session->Disconnect();
    const sandbox::testing::RunResult replay =
        sandbox::testing::RunScript("APP/app@" + target, script);
    EXPECT_EQ(replay.status, 0) << replay.output.substr(0, 4000);
    EXPECT_EQ(replay.output.find("ORA-"), std::string::npos) << replay.output.substr(0, 4000);
    ASSERT_TRUE(rig.schema.client.session->Connect("APP", "app", target, true, true));
    OracleSession& session = *rig.schema.client.session;
    for (const std::string& table : TableNames) {
      EXPECT_EQ(OneValue(session, "select count(*) from " + table), counts[table]) << table;
    }
    const std::map<std::string, std::string> after = DataSections(rig);
    for (const auto& [table, text] : before) {
      const auto found = after.find(table);
      ASSERT_NE(found, after.end()) << table;
      EXPECT_EQ(std::hash<std::string>{}(found->second), std::hash<std::string>{}(text))
          << table << ": " << found->second.size() << " bytes against " << text.size();
    }
    // The next identity value lies past the highest row; ALWAYS holds again.
    rig.schema.Run("insert into TICKETS (NOTE) values ('after')");
    EXPECT_EQ(OneValue(session, "select ID from TICKETS where NOTE = 'after'"), "5001");
    EXPECT_EQ(OneValue(session, "select generation_type from user_tab_identity_cols"), "ALWAYS");
  }
  std::filesystem::remove_all(directory);
}

}  // namespace
