// The dialect layer: rewrites one Oracle DML or query statement into SQLite
// SQL. Table names are resolved to the server's storage names, Oracle's
// operators and pseudo-columns become calls of the registered functions, the
// empty string literal becomes NULL, and every select item gets the column
// name Oracle would report.
#pragma once

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "sandbox/server/Server.h"
#include "sandbox/server/sql/SqlToken.h"
#include "sandbox/server/values/OracleType.h"

namespace sandbox {

// What a constructor call needs of a user-defined type: its attributes (or
// its collection's element), and which of them hold object or collection
// values themselves.
struct ObjectTypeShape {
  std::string owner, name;
  bool collection = false;
  std::vector<std::string> attributes;  // of an object type
  std::vector<bool> attributeIsUserType;
  bool elementIsUserType = false;  // of a collection type
  long long upperBound = 0;        // of a VARRAY; 0 for a nested table
  // The attributes of a collection's object elements (none for scalars).
  std::vector<std::string> elementAttributes;
  std::vector<bool> elementAttributeIsUserType;
  // An object type UNDER another: its values carry their type (see
  // ObjectValues.cpp), as "OWNER.NAME".
  bool subtype = false;
  bool instantiable = true;
  std::string QualifiedName() const { return owner + "." + name; }
};

// One type of a type hierarchy: "OWNER.NAME", its supertype's ("" for the
// root), its TYPEID and the methods it declares itself (overriding ones
// included).
struct TypeFamilyMember {
  std::string type, supertype, typeId;
  std::vector<std::string> methods;
};

// Finds the storage of names used in a statement, in the session's view.
class NameResolver {
 public:
  virtual ~NameResolver() = default;
  // SQLite name of a table or view; schema is empty for an unqualified name.
  virtual std::optional<std::string> ResolveTable(const std::string& schema,
                                                  const std::string& name) = 0;
  // The visible columns, in column order, of the table stored as storage
  // when it has invisible columns (or an object table's SYS_NC_TYPEID$);
  // nullopt for any other table or view.
  virtual std::optional<std::vector<std::string>> VisibleColumns(const std::string& /*storage*/) {
    return std::nullopt;
  }
  // The columns "SELECT *" of an Oracle query lists, in order; nullopt
  // when it cannot be described. For rewrites whose own columns a "*"
  // must not show.
  virtual std::optional<std::vector<std::string>> StarColumns(const std::string& /*query*/) {
    return std::nullopt;
  }
  // Owner and name of a sequence.
  virtual bool ResolveSequence(const std::string& schema, const std::string& name,
                               std::string& owner, std::string& sequence) = 0;
  // The stored function a call's name (f, owner.f, pkg.f, owner.pkg.f)
  // stands for: its unit's owner and name, and the package member (empty
  // for a standalone function). False when it names none.
  virtual bool ResolveFunction(const std::vector<std::string>& /*parts*/, std::string& /*owner*/,
                               std::string& /*unit*/, std::string& /*member*/) {
    return false;
  }
  // The object or collection type a constructor call's name (t, owner.t)
  // stands for; nullopt when it names none.
  virtual std::optional<ObjectTypeShape> ResolveObjectType(
      const std::vector<std::string>& /*parts*/) {
    return std::nullopt;
  }
  // The object or collection type the stored function a call's name stands
  // for returns when given arguments arguments; nullopt for other results.
  virtual std::optional<ObjectTypeShape> FunctionResultType(
      const std::vector<std::string>& /*parts*/, std::size_t /*arguments*/) {
    return std::nullopt;
  }
  // The object type's owner and name of column of the table stored as
  // storage; nullopt for a column of another type.
  virtual std::optional<std::pair<std::string, std::string>> ColumnObjectType(
      const std::string& /*storage*/, const std::string& /*column*/) {
    return std::nullopt;
  }
  // The type's owner and name of the object table stored as storage;
  // nullopt for any other table.
  virtual std::optional<std::pair<std::string, std::string>> ObjectTableType(
      const std::string& /*storage*/) {
    return std::nullopt;
  }
  // Every type of the hierarchy owner.name belongs to, supertypes before
  // their subtypes; empty when there is no such object type.
  virtual std::vector<TypeFamilyMember> TypeFamily(const std::string& /*owner*/,
                                                   const std::string& /*name*/) {
    return {};
  }
  // Whether the object table stored as storage keeps its rows' own types
  // (a table of a NOT FINAL type).
  virtual bool HoldsSubtypeRows(const std::string& /*storage*/) { return false; }
};

struct TranslatedStatement {
  std::string sql;
  std::vector<std::string> bindNames;    // bind of parameter ?N is bindNames[N-1]
  std::vector<std::string> columnNames;  // select items of a query, empty entry for a star
  // Oracle type of a select item that is an expression, judged from its
  // outermost function or literal: "NUMBER", "DATE", a declaration such as
  // "TIMESTAMP_TZ(6)" (see OracleType::Describe), "" (character), or "?"
  // for arithmetic whose values tell their kind.
  std::vector<std::string> expressionTypes;
};

class SqlTranslator {
 public:
  SqlTranslator(const std::vector<SqlToken>& tokens, const std::string& sql, NameResolver& resolver)
      : tokens_(tokens), sql_(sql), resolver_(resolver) {}
  bool Translate(TranslatedStatement& out, OraError& error);
  // Names that are no column of the statement but functions called without
  // an argument list (Oracle looks for a column first; SQLite says which
  // names are none).
  void CallWithoutArguments(const std::set<std::string>& names) { bareCalls_ = &names; }

 private:
  struct Unit {
    std::string text;
    bool primary = false;
    bool concat = false;  // the || operator
    int operands = 0;     // of an ora_concat fold
  };
  std::string TranslateRange(std::size_t begin, std::size_t end, bool insideFunction);
  std::size_t TranslateTableList(std::size_t at, std::size_t end, std::vector<Unit>& units);
  std::size_t TranslateTableItem(std::size_t at, std::size_t end, std::vector<Unit>& units,
                                 bool allowAlias);
  std::string TranslateTrim(std::size_t begin, std::size_t end);
  struct IntervalQualifier {
    std::string first, last;  // YEAR, MONTH, DAY, HOUR, MINUTE, SECOND
    int leading = 2;
    int fraction = 6;
  };
  std::string ItemType(std::size_t begin, std::size_t end);
  // The parts of a query block that use ROWNUM: its WHERE (0 when none), the
  // end of the WHERE, and where a WHERE is added when it has none.
  struct RownumBlock {
    std::size_t whereAt = 0, whereEnd = 0, insertAt = 0;
    int id = 0;
  };
  std::optional<RownumBlock> RownumBlockOf(std::size_t at, std::size_t end);
  // [begin, end) ranges of the comma-separated items in [begin, end).
  std::vector<std::pair<std::size_t, std::size_t>> Arguments(std::size_t begin,
                                                             std::size_t end) const;
  std::optional<OracleType> CastType(std::size_t begin, std::size_t end);
  std::size_t TranslateCast(std::size_t at, std::size_t end, std::vector<Unit>& units);
  // A call of the stored function parts names, its arguments from the "("
  // at open if there is one: true, with next after the call, when parts name
  // one.
  bool TranslateStoredCall(const std::vector<std::string>& parts, std::size_t open, std::size_t end,
                           std::vector<Unit>& units, std::size_t& next);
  // A constructor call of the object or collection type parts names (see
  // ObjectValues.cpp): true, with next after the call, when parts name one.
  bool TranslateConstructor(const std::vector<std::string>& parts, std::size_t open,
                            std::size_t end, std::vector<Unit>& units, std::size_t& next);
  // alias.column.attribute... as the attribute's value; "" for other names.
  std::string AttributeAccess(const std::vector<std::string>& parts);
  // INSERT INTO object_table VALUES (type(...)) | VALUES (:object): the row
  // is the constructor's arguments or the bound object's attributes. From the
  // VALUES at at, into the table stored as storage; at itself when the
  // values are neither.
  // columnsUnit is the unit of the insert's column list (units.size() when
  // it has none).
  std::size_t TranslateObjectRow(const std::string& storage, std::size_t at, std::size_t end,
                                 std::vector<Unit>& units, std::size_t columnsUnit);
  // VALUES (subtype(...)) into an object table of its supertype, from the
  // VALUES at at to the ")" at close: at when the table cannot hold it.
  std::size_t TranslateSubtypeRow(const std::string& storage,
                                  const std::pair<std::string, std::string>& table,
                                  const ObjectTypeShape& shape, std::size_t at, std::size_t close,
                                  std::vector<Unit>& units, std::size_t columnsUnit);
  // CAST(MULTISET(query) AS collection type), from the "(" after MULTISET
  // to the CAST's closing parenthesis.
  std::size_t TranslateMultiset(std::size_t open, std::size_t typeBegin, std::size_t close,
                                std::vector<Unit>& units);
  // TABLE(collection) [alias] in FROM: one row per element, in order.
  void ReadCollectionTables();
  std::size_t TranslateCollectionTable(std::size_t at, std::size_t end, std::vector<Unit>& units,
                                       bool allowAlias);
  // COLUMN_VALUE, alias.COLUMN_VALUE and alias.attribute of a collection's
  // rows; "" for other names.
  std::string CollectionElement(const std::vector<std::string>& parts) const;
  std::vector<std::string> collectionAliases_;  // "" for a TABLE(...) without one
  // VALUE(alias) of a row of an object table (see ObjectValues.cpp): true,
  // with next after the call, when the alias at at + 2 names one.
  bool TranslateObjectValue(std::size_t at, std::size_t end, std::vector<Unit>& units,
                            std::size_t& next);
  // The tables of the statement's FROM lists by alias (and the object
  // tables among them), when it calls VALUE or what may be a method.
  void ReadObjectTables();
  std::map<std::string, ObjectTypeShape> objectTables_;
  std::map<std::string, std::string> tableAliases_;  // alias -> storage
  // The object a row of an object table makes, from its columns.
  std::string RowObject(const std::string& alias, const ObjectTypeShape& shape) const;
  // alias.method(args) of an object table's row, alias.column.method(args)
  // of an object column: the type's member method, run by the interpreter
  // with the object as SELF. False when parts names no such object.
  bool TranslateMethodCall(const std::vector<std::string>& parts, std::size_t open, std::size_t end,
                           std::vector<Unit>& units, std::size_t& next);
  // The object type named at at (see TypeHierarchy.cpp): its hierarchy and
  // its "OWNER.NAME", with next after the name; ORA-00902 when it names none.
  std::optional<std::pair<std::vector<TypeFamilyMember>, std::string>> ReadTypeName(
      std::size_t at, std::size_t end, std::size_t& next);
  // TREAT(expr AS type)[.attribute ...] from the TREAT at at.
  std::size_t TranslateTreat(std::size_t at, std::size_t end, std::vector<Unit>& units);
  // expr IS [NOT] OF [TYPE] (...) from the IS at at, over the unit before it.
  std::size_t TranslateIsOf(std::size_t at, std::size_t end, std::vector<Unit>& units);
  // SYS_TYPEID(expr) from the SYS_TYPEID at at.
  std::size_t TranslateTypeId(std::size_t at, std::size_t end, std::vector<Unit>& units);
  // The call of member method of object, declared of owner.type, that runs
  // the override of the object's own type.
  std::string DispatchedCall(const std::string& owner, const std::string& type,
                             const std::string& method, const std::string& object,
                             const std::string& arguments);
  // Aliases of object tables that keep their rows' own types.
  std::set<std::string> subtypeRowAliases_;
  // A word or a quoted name.
  static bool IsNameToken(const SqlToken& token);

  std::size_t TranslateListagg(std::size_t at, std::size_t end, std::vector<Unit>& units);
  // The multiset forms of nested tables at `at` (MultisetOperators.cpp):
  // MULTISET UNION | INTERSECT | EXCEPT, [NOT] MEMBER OF, [NOT] SUBMULTISET
  // OF, IS [NOT] A SET, IS [NOT] EMPTY and SET(c). The index after the form,
  // or `at` when none starts there.
  std::size_t TranslateMultisetForm(std::size_t at, std::size_t end, std::vector<Unit>& units);
  std::size_t OperandEnd(std::size_t at, std::size_t end);
  std::size_t TranslateJsonFunction(std::size_t at, std::size_t end, std::vector<Unit>& units);
  bool EndsIntervalLiteral(std::size_t begin, std::size_t end) const;
  // The AT TIME ZONE | AT LOCAL operator at tokens_[at]: the end of its zone
  // operand, or at itself when tokens_[at] starts no such operator.
  std::size_t AtTimeZoneEnd(std::size_t at, std::size_t end) const;
  // Where a top-level AT TIME ZONE | AT LOCAL of the item starts, or end.
  std::size_t TopLevelAtTimeZone(std::size_t begin, std::size_t end) const;
  // True when the item ends in an AT TIME ZONE | AT LOCAL operator (its
  // last word is no alias).
  bool EndsAtTimeZone(std::size_t begin, std::size_t end) const;
  std::size_t ReadIntervalQualifier(std::size_t at, std::size_t end, IntervalQualifier& qualifier);
  std::size_t TranslateSelectList(std::size_t at, std::size_t end, std::vector<Unit>& units);
  std::size_t QualifiedName(std::size_t at, std::size_t end, std::vector<std::string>& parts) const;
  std::size_t Matching(std::size_t open, std::size_t end) const;
  // Matching, with ORA-00907 when the parenthesis at open is never closed.
  std::size_t ClosingParenOf(std::size_t open, std::size_t end);
  std::size_t CaseEnd(std::size_t at, std::size_t end) const;
  std::string BindPlaceholder(const std::string& name);
  std::string ColumnNameOf(std::size_t begin, std::size_t end) const;
  static std::string JoinUnits(const std::vector<Unit>& units);
  static std::vector<Unit> Balanced(std::vector<Unit> units);
  static std::string BalancedText(const std::vector<std::string>& terms, std::size_t begin,
                                  std::size_t end, const char* op);
  void Fail(int code, const std::string& message);

  const std::vector<SqlToken>& tokens_;
  const std::string& sql_;
  const std::set<std::string>* bareCalls_ = nullptr;
  NameResolver& resolver_;
  TranslatedStatement* out_ = nullptr;
  bool topSelectSeen_ = false;
  std::vector<std::string> queryNames_;  // of the WITH clause
  struct JsonColumn {
    std::string name, path;
    std::string rows;  // the alias of the row source it reads: the table's or a NESTED PATH's
    bool number = false;
    bool ordinality = false;
  };
  // A NESTED PATH of a JSON_TABLE: rows under each row of its parent's.
  struct JsonNestedRows {
    std::string alias, parent, path;
  };
  std::map<std::string, std::vector<JsonColumn>> jsonTables_;          // by alias
  std::map<std::string, std::vector<JsonNestedRows>> jsonNestedRows_;  // by alias
  void ReadJsonTables();
  void ReadJsonColumns(std::size_t open, const std::string& table, const std::string& rows);
  static std::string JsonRows(const std::string& doc, const std::string& path);
  bool UsingCharacterSet(std::size_t open, std::size_t end) const;
  std::string JsonTableColumn(const std::vector<std::string>& parts) const;
  std::string rownumCall_;  // what ROWNUM reads in the part being translated
  int rownumBlocks_ = 0;
  OraError error_;
};

// True for words that end a select item's expression or a table item and so
// can never be an alias.
bool IsReservedWord(const SqlToken& token);

}  // namespace sandbox
