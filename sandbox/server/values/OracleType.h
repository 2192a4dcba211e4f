// Oracle column types: how a declared type is stored in SQLite, described to
// OCI and listed in ALL_TAB_COLUMNS.
#pragma once

#include <optional>
#include <string>

#include "sandbox/server/Server.h"

namespace sandbox {

struct OracleType {
  std::string name;              // VARCHAR2, NUMBER, DATE, LONG, LONG RAW, TIMESTAMP(6) ...
  int length = 0;                // DATA_LENGTH in bytes
  std::optional<int> precision;  // DATA_PRECISION
  std::optional<int> scale;      // DATA_SCALE
  int charLength = 0;            // CHAR_LENGTH: characters of a character type
  char charUsed = 0;             // CHAR_USED: 'B' byte or 'C' character semantics
  // A user-defined type (object, nested table, VARRAY): its schema, the
  // column's DATA_TYPE_OWNER. Its values are kept as text.
  std::string typeOwner;

  bool IsUserDefined() const { return !typeOwner.empty(); }

  // Normalises a declared type (INTEGER, VARCHAR, DOUBLE PRECISION ...) the
  // way Oracle's dictionary lists it; nullopt for a type Oracle does not know
  // (ORA-00902 "invalid datatype").
  // A length given with CHAR counts characters; national types always do.
  static std::optional<OracleType> FromDeclaration(const std::string& upperName,
                                                   std::optional<int> first,
                                                   std::optional<int> second,
                                                   bool charSemantics = false);
  // The column type in SQLite's CREATE TABLE: the Oracle spelling, with a
  // leading TEXT or BLOB where SQLite's affinity rules would otherwise turn
  // LONG or RAW text into numbers.
  std::string SqliteDeclaration() const;
  // The select-list description of a column declared in SQLite as decl.
  static ColumnInfo Describe(const std::string& decl);
  // SQLite CHECK expression that gives Oracle's error for a value the column
  // cannot hold (too long, not a number, too many digits, not a date); empty
  // when the type takes anything.
  std::string ValueCheck(const std::string& owner, const std::string& table,
                         const std::string& column) const;
  // The dictionary type of a described select-list column (view columns).
  static OracleType FromDescription(const ColumnInfo& info);
  // Types whose stored values are brought to an internal form after they
  // are written (dates and timestamps read in the session's formats,
  // fractions rounded): StoredForm gives the SQL of that form of valueSql.
  bool HasStoredForm() const { return !StoredForm("x").empty(); }
  std::string StoredForm(const std::string& valueSql) const;

 private:
  // The stored-value kind of ora_check_value and ora_stored_form: T, Z, L,
  // Y, S, F, B; 0 for the other types.
  char StoredKind() const;
};

}  // namespace sandbox
