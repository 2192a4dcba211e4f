// The file of a split report that a statement belongs to.
#include "engine/SplitStatementRoute.h"

#include <cctype>
#include <vector>

#include "engine/ObjectFileName.h"

namespace {

// The words of a statement: identifiers in upper case, a quoted name as
// written (with its quotes), other characters one at a time. Comment lines
// are left out.
class Words {
 public:
  explicit Words(std::string_view text) : text_(text) {}

  // The next word, "" at the end.
  std::string Next() {
    SkipBlanksAndComments();
    if (at_ >= text_.size()) {
      return {};
    }
    const char first = text_[at_];
    if (first == '"') {
      const std::size_t begin = at_++;
      while (at_ < text_.size()) {
        if (text_[at_] == '"' && (at_ + 1 >= text_.size() || text_[at_ + 1] != '"')) {
          ++at_;
          break;
        }
        at_ += text_[at_] == '"' ? 2 : 1;
      }
      return std::string(text_.substr(begin, at_ - begin));
    }
    if (!IsNameCharacter(first)) {
      ++at_;
      return std::string(1, first);
    }
    std::string word;
    while (at_ < text_.size() && IsNameCharacter(text_[at_])) {
      word += static_cast<char>(std::toupper(static_cast<unsigned char>(text_[at_++])));
    }
    return word;
  }

  // The next word with the parts that follow it after dots (a database
  // link's domain).
  std::string NextDotted() {
    std::string word = Next();
    while (at_ < text_.size() && text_[at_] == '.') {
      ++at_;
      word += "." + Next();
    }
    return word;
  }

 private:
  static bool IsNameCharacter(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '_' || c == '$' || c == '#' ||
           (static_cast<unsigned char>(c) & 0x80) != 0;
  }

  void SkipBlanksAndComments() {
    while (at_ < text_.size()) {
      if (std::isspace(static_cast<unsigned char>(text_[at_])) != 0) {
        ++at_;
      } else if (text_.substr(at_, 2) == "--") {
        const std::size_t end = text_.find('\n', at_);
        at_ = end == std::string_view::npos ? text_.size() : end + 1;
      } else {
        return;
      }
    }
  }

  std::string_view text_;
  std::size_t at_ = 0;
};

// The object name a word stands for: a quoted name without its quotes, an
// unquoted one in upper case as the server keeps it.
std::string ObjectName(const std::string& word) {
  if (word.size() < 2 || word.front() != '"') {
    return word;
  }
  std::string name;
  for (std::size_t i = 1; i + 1 < word.size(); ++i) {
    name += word[i];
    if (word[i] == '"') {
      ++i;  // a doubled quote stands for one
    }
  }
  return name;
}

std::string Path(const std::string& folder, const std::string& word) {
  return folder + "/" + ObjectFileName(ObjectName(word)) + ".sql";
}

// The word after "INSERT INTO" anywhere in the statement (a block that
// inserts a row with large LOB values).
std::string InsertedTable(std::string_view statement) {
  Words words(statement);
  std::string previous;
  for (std::string word = words.Next(); !word.empty(); word = words.Next()) {
    if (previous == "INSERT" && word == "INTO") {
      return words.Next();
    }
    previous = word;
  }
  return {};
}

// The start of the statement that a block runs with EXECUTE IMMEDIATE: the
// text of its first quoted piece, or "" for another block.
std::string ExecutedStatementStart(std::string_view statement) {
  std::string_view assignment = "lv_statement := '";
  std::size_t at = statement.find(assignment);
  if (at == std::string_view::npos) {
    assignment = "EXECUTE IMMEDIATE '";
    at = statement.find(assignment);
  }
  if (at == std::string_view::npos) {
    return {};
  }
  std::string text;
  for (at += assignment.size(); at < statement.size(); ++at) {
    if (statement[at] == '\'') {
      if (statement.compare(at, 2, "''") != 0) {
        break;
      }
      ++at;
    }
    text += statement[at];
  }
  return text;
}

}  // namespace

const std::vector<std::string>& SplitFolders() {
  static const std::vector<std::string> folders = {"sequences",      "type_declarations",
                                                   "types",          "tables",
                                                   "data",           "indexes",
                                                   "constraints",    "foreign_keys",
                                                   "mview_logs",     "functions",
                                                   "procedures",     "packages",
                                                   "views",          "materialized_views",
                                                   "package_bodies", "type_bodies",
                                                   "triggers",       "grants",
                                                   "synonyms",       "public_synonyms",
                                                   "db_links"};
  return folders;
}

bool SplitStatementRoute::HoldsDataLiterals(std::string_view statement) {
  Words words(statement);
  const std::string first = words.Next();
  return first == "INSERT" || first == "DECLARE";
}

bool SplitStatementRoute::EndsWithSemicolon(std::string_view statement) {
  Words words(statement);
  const std::string first = words.Next();
  if (first == "GRANT" || first == "INSERT" || first == "COMMIT" || first == "COMMENT" ||
      first == "REVOKE") {
    // A table's comments end with "/"; those of a materialized view with ";".
    return first != "COMMENT" || (words.Next() == "ON" && words.Next() == "MATERIALIZED");
  }
  if (first == "ALTER") {
    return words.Next() == "TABLE" && !words.Next().empty() && words.Next() == "MODIFY";
  }
  if (first != "CREATE") {
    return false;
  }
  for (std::string word = words.Next(); !word.empty(); word = words.Next()) {
    if (word == "SEQUENCE" || word == "SYNONYM" || word == "LINK" || word == "LOG") {
      return true;
    }
    if (word != "OR" && word != "REPLACE" && word != "PUBLIC" && word != "SHARED" &&
        word != "DATABASE" && word != "MATERIALIZED" && word != "VIEW") {
      return false;
    }
  }
  return false;
}

std::string SplitStatementRoute::FileOf(std::string_view statement) {
  Words words(statement);
  const std::string first = words.Next();
  if (first == "GRANT") {
    for (std::string word = words.Next(); !word.empty(); word = words.Next()) {
      if (word == "ON") {
        return Path("grants", words.Next());
      }
    }
    return PrivilegesFile;
  }
  if (const std::string executed =
          first == "DECLARE" || first == "BEGIN" ? ExecutedStatementStart(statement) : "";
      !executed.empty()) {
    return FileOf(executed);
  }
  if (first == "INSERT" || first == "DECLARE") {
    const std::string table =
        first == "INSERT" ? (words.Next(), words.Next()) : InsertedTable(statement);
    return table.empty() ? std::string() : Path("data", table);
  }
  if (first == "COMMENT") {
    words.Next();  // ON
    const std::string kind = words.Next();
    if (kind == "MATERIALIZED") {
      words.Next();  // VIEW
      return Path("materialized_views", words.Next());
    }
    const std::string target = words.Next();  // TABLE.COLUMN or TABLE
    const auto created = commentTargets_.find(ObjectName(target));
    return Path(created == commentTargets_.end() ? "tables" : created->second, target);
  }
  if (first == "ALTER") {
    const std::string kind = words.Next();
    const std::string name = words.Next();
    if (kind == "TRIGGER") {
      return Path("triggers", name);
    }
    if (kind != "TABLE") {
      return {};
    }
    const std::string action = words.Next();
    if (action == "MODIFY") {
      return Path("data", name);  // the identity clauses around a table's rows
    }
    for (std::string word = words.Next(); !word.empty(); word = words.Next()) {
      if (word == "FOREIGN") {
        return Path("foreign_keys", name);
      }
    }
    return Path("constraints", name);
  }
  if (first != "CREATE") {
    return {};
  }
  bool replace = false;
  bool isPublic = false;
  for (std::string word = words.Next(); !word.empty(); word = words.Next()) {
    if (word == "OR" || word == "REPLACE") {
      replace = true;
    } else if (word == "PUBLIC") {
      isPublic = true;
    } else if (word == "EDITIONABLE" || word == "NONEDITIONABLE" || word == "UNIQUE" ||
               word == "BITMAP" || word == "GLOBAL" || word == "TEMPORARY" || word == "SHARED" ||
               word == "FORCE" || word == "NOFORCE" || word == "DATABASE") {
      continue;
    } else if (word == "TABLE") {
      const std::string name = words.Next();
      commentTargets_[ObjectName(name)] = "tables";
      return Path("tables", name);
    } else if (word == "MATERIALIZED") {
      words.Next();  // VIEW
      std::string name = words.Next();
      if (name == "LOG") {
        words.Next();  // ON
        return Path("mview_logs", words.Next());
      }
      commentTargets_[ObjectName(name)] = "materialized_views";
      return Path("materialized_views", name);
    } else if (word == "PACKAGE" || word == "TYPE") {
      std::string name = words.Next();
      const bool body = name == "BODY";
      if (body) {
        name = words.Next();
      }
      if (word == "TYPE" && !body && !replace) {
        return Path("type_declarations", name);  // declared before the types that need it
      }
      return Path(word == "TYPE" ? (body ? "type_bodies" : "types")
                                 : (body ? "package_bodies" : "packages"),
                  name);
    } else {
      static const std::map<std::string, std::string> folders = {
          {"SEQUENCE", "sequences"}, {"INDEX", "indexes"},        {"VIEW", "views"},
          {"FUNCTION", "functions"}, {"PROCEDURE", "procedures"}, {"TRIGGER", "triggers"},
          {"SYNONYM", "synonyms"},   {"LINK", "db_links"}};
      const auto folder = folders.find(word);
      if (folder == folders.end()) {
        return {};
      }
      const std::string name = word == "LINK" ? words.NextDotted() : words.Next();
      return Path(word == "SYNONYM" && isPublic ? "public_synonyms" : folder->second, name);
    }
  }
  return {};
}
