// Reading the event and object of a DDL statement.
#include "sandbox/server/triggers/DdlEvent.h"

#include "sandbox/server/dictionary/Catalog.h"
#include "sandbox/server/sql/TokenStream.h"

namespace sandbox {

namespace {

// Words between the verb and the kind of object that name no kind.
bool SkipAttributes(TokenStream& in) {
  bool skipped = false;
  for (;;) {
    if (in.AcceptWords("OR", "REPLACE") || in.AcceptWords("AND", "COMPILE") ||
        in.AcceptWords("AND", "RESOLVE") || in.AcceptWord("EDITIONABLE") ||
        in.AcceptWord("NONEDITIONABLE") || in.AcceptWord("FORCE") || in.AcceptWord("NOFORCE") ||
        in.AcceptWord("UNIQUE") || in.AcceptWord("BITMAP") || in.AcceptWord("SHARED") ||
        in.AcceptWords("GLOBAL", "TEMPORARY") || in.AcceptWord("PRIVATE"))
      skipped = true;
    else
      return skipped;
  }
}

// The kind of object at the stream's position, as ORA_DICT_OBJ_TYPE names it;
// empty when the words name none. publicName is set for PUBLIC SYNONYM and
// PUBLIC DATABASE LINK, whose owner is PUBLIC.
std::string ReadObjectKind(TokenStream& in, bool& publicName) {
  publicName = in.AcceptWord("PUBLIC");
  static const char* const pairs[][3] = {
      {"PACKAGE", "BODY", "PACKAGE BODY"},           {"TYPE", "BODY", "TYPE BODY"},
      {"DATABASE", "LINK", "DATABASE LINK"},         {"JAVA", "SOURCE", "JAVA SOURCE"},
      {"MATERIALIZED", "VIEW", "MATERIALIZED VIEW"},
  };
  for (const auto& pair : pairs) {
    if (in.AcceptWords(pair[0], pair[1])) {
      if (std::string(pair[2]) == "MATERIALIZED VIEW" && in.AcceptWord("LOG")) {
        in.AcceptWord("ON");
        return "MATERIALIZED VIEW LOG";
      }
      if (std::string(pair[2]) == "JAVA SOURCE")
        in.AcceptWord("NAMED");
      return pair[2];
    }
  }
  static const char* const single[] = {
      "TABLE",     "INDEX",   "VIEW",    "SEQUENCE", "SYNONYM",   "PROCEDURE",
      "FUNCTION",  "PACKAGE", "TYPE",    "TRIGGER",  "USER",      "ROLE",
      "DIMENSION", "LIBRARY", "CONTEXT", "CLUSTER",  "DIRECTORY", "OPERATOR",
  };
  for (const char* kind : single)
    if (in.AcceptWord(kind))
      return kind;
  return {};
}

// Kinds that are no schema objects: they have a name but no owner.
bool Unowned(const std::string& kind) {
  return kind == "USER" || kind == "ROLE" || kind == "DIRECTORY" || kind == "CONTEXT";
}

// [owner.]name at the stream's position into event; false when none is there.
bool ReadObjectName(TokenStream& in, const std::string& schema, bool publicName,
                    SystemEvent& event) {
  OraError ignored;
  if (!in.ReadQualifiedName(event.objectOwner, event.objectName,
                            publicName ? std::string("PUBLIC") : schema, ignored))
    return false;
  if (Unowned(event.objectType))
    event.objectOwner.clear();
  return true;
}

bool ObjectExists(Catalog& catalog, const SystemEvent& event) {
  if (Unowned(event.objectType))
    return true;
  return catalog.ObjectType(event.objectOwner, event.objectName).has_value();
}

}  // namespace

std::optional<DdlEvent> ReadDdlEvent(const std::vector<SqlToken>& tokens, const std::string& schema,
                                     Catalog& catalog) {
  if (tokens.empty())
    return std::nullopt;
  DdlEvent found;
  SystemEvent& event = found.event;
  TokenStream in(tokens, 1);
  const SqlToken& verb = tokens[0];
  bool publicName = false;
  if (verb.IsWord("CREATE") || verb.IsWord("ALTER") || verb.IsWord("DROP")) {
    event.name = verb.Upper();
    SkipAttributes(in);
    event.objectType = ReadObjectKind(in, publicName);
    if (event.objectType.empty())
      return std::nullopt;
    ReadObjectName(in, schema, publicName, event);
  } else if (verb.IsWord("TRUNCATE")) {
    event.name = "TRUNCATE";
    event.objectType = in.AcceptWord("CLUSTER") ? "CLUSTER" : "TABLE";
    in.AcceptWord("TABLE");
    ReadObjectName(in, schema, false, event);
  } else if (verb.IsWord("RENAME")) {
    event.name = "RENAME";
    ReadObjectName(in, schema, false, event);
    event.objectType = catalog.ObjectType(event.objectOwner, event.objectName).value_or("");
  } else if (verb.IsWord("COMMENT")) {
    // COMMENT ON TABLE t, ON COLUMN [owner.]t.c, ON MATERIALIZED VIEW m: the
    // object is the table.
    event.name = "COMMENT";
    in.AcceptWord("ON");
    const bool column = in.AcceptWord("COLUMN");
    event.objectType = column ? "TABLE" : ReadObjectKind(in, publicName);
    std::vector<std::string> parts;
    OraError ignored;
    std::string part;
    do {
      if (!in.ReadName(part, ignored))
        break;
      parts.push_back(part);
    } while (in.AcceptSymbol("."));
    if (column && !parts.empty())
      parts.pop_back();
    if (!parts.empty()) {
      event.objectName = parts.back();
      event.objectOwner = parts.size() > 1 ? parts[parts.size() - 2] : schema;
    }
  } else if (verb.IsWord("GRANT") || verb.IsWord("REVOKE")) {
    // An object privilege names its object after ON; a system privilege or a
    // role names none.
    event.name = verb.Upper();
    while (!in.AtEnd() && !in.Peek().IsWord("ON") && !in.Peek().IsWord("TO") &&
           !in.Peek().IsWord("FROM"))
      in.Skip();
    if (in.AcceptWord("ON")) {
      ReadObjectName(in, schema, false, event);
      event.objectType = catalog.ObjectType(event.objectOwner, event.objectName).value_or("");
    }
  } else {
    return std::nullopt;
  }
  found.objectExists = event.objectName.empty() || ObjectExists(catalog, event);
  return found;
}

}  // namespace sandbox
