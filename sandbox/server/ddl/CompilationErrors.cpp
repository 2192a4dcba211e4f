// The compile check of stored units and their ALL_ERRORS rows.
#include "sandbox/server/ddl/CompilationErrors.h"

#include <cstdlib>

#include "sandbox/plsql/Preprocessor.h"

namespace sandbox {

namespace {

// A unit compiles when its last words close it: "END [name];" for code,
// ");" or "END;" for the declaration of an object type.
bool LooksComplete(const std::vector<SqlToken>& tokens, const std::string& type) {
  std::size_t n = tokens.size();
  if (n < 2 || !tokens[n - 1].IsSymbol(";"))
    return type == "TYPE" && n > 0 && tokens[n - 1].IsSymbol(")");
  --n;
  if (tokens[n - 1].IsWord("END"))
    return true;
  if (n >= 2 && tokens[n - 2].IsWord("END"))
    return true;
  return type == "TYPE" && (tokens[n - 1].IsSymbol(")") || tokens[n - 1].IsWord("FINAL") ||
                            tokens[n - 1].IsWord("INSTANTIABLE"));
}

}  // namespace

void LineAndColumn(const std::string& text, std::size_t offset, long long& line,
                   long long& column) {
  line = 1;
  std::size_t lineStart = 0;
  for (std::size_t i = 0; i < offset && i < text.size(); ++i)
    if (text[i] == '\n') {
      ++line;
      lineStart = i + 1;
    }
  column = static_cast<long long>(offset - lineStart) + 1;
}

std::vector<CompilationError> CheckUnit(const std::string& sql, const std::vector<SqlToken>& tokens,
                                        std::size_t textBegin, std::size_t nameToken,
                                        const std::string& name, const std::string& type,
                                        bool specMissing) {
  const std::string text = sql.substr(tokens[textBegin].offset);
  const std::size_t base = tokens[textBegin].offset;
  std::vector<CompilationError> errors;
  if (specMissing) {
    CompilationError missing;
    LineAndColumn(text, tokens[nameToken].offset - base, missing.line, missing.position);
    missing.number = 304;
    missing.text = "PLS-00304: cannot compile body of '" + name + "' without its specification";
    errors.push_back(missing);
  }
  // A selected $ERROR directive, or directives that do not pair up, stop
  // the compilation before anything else is read.
  std::string selected;
  plsql::LexError directiveError;
  if (!plsql::Preprocess(text, {"", name, type}, selected, directiveError)) {
    CompilationError stopped;
    stopped.line = directiveError.line;
    stopped.position = directiveError.column;
    stopped.number = std::atoi(directiveError.message.c_str() + 4);
    stopped.text = directiveError.message;
    errors.push_back(stopped);
    return errors;
  }
  if (!LooksComplete(tokens, type)) {
    CompilationError truncated;
    LineAndColumn(text, text.size(), truncated.line, truncated.position);
    truncated.number = 103;
    truncated.text =
        "PLS-00103: Encountered the symbol \"end-of-file\" when expecting one of the "
        "following:\n\n   ;";
    errors.push_back(truncated);
  }
  return errors;
}

bool RecordUnitErrors(Catalog& catalog, const std::string& owner, const std::string& name,
                      const std::string& type, const std::vector<CompilationError>& errors,
                      OraError& error) {
  if (!catalog.Exec("DELETE FROM \"SYS.ALL_ERRORS\" WHERE OWNER = ? AND NAME = ? AND TYPE = ?",
                    {Value::Text(owner), Value::Text(name), Value::Text(type)}, error))
    return false;
  long long sequence = 0;
  for (const CompilationError& each : errors)
    if (!catalog.Exec(
            "INSERT INTO \"SYS.ALL_ERRORS\" VALUES (?, ?, ?, ?, ?, ?, ?, 'ERROR', ?)",
            {Value::Text(owner), Value::Text(name), Value::Text(type), Value::Integer(++sequence),
             Value::Integer(each.line), Value::Integer(each.position), Value::Text(each.text),
             Value::Integer(each.number)},
            error))
      return false;
  return true;
}

}  // namespace sandbox
