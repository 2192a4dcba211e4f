// What "*" and "name.*" of a select list, and an INSERT without a column
// list, stand for when a table has invisible columns: its visible columns by
// name in column order. SQLite on its own would take every stored column.
// Over TABLE(collection) they stand for COLUMN_VALUE, or for the attributes
// of object elements, rather than the columns of the rows' JSON source.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "sandbox/server/sql/SqlToken.h"
#include "sandbox/server/sql/SqlTranslator.h"

namespace sandbox {

class StarColumns {
 public:
  // The table items of the query block whose select list ends at listEnd
  // (its FROM, or the INTO before it).
  StarColumns(const std::vector<SqlToken>& tokens, std::size_t listEnd, std::size_t end,
              NameResolver& resolver);
  // SQLite text for "*"; empty when SQLite's own "*" lists the right columns.
  std::string All() const;
  // SQLite text for "qualifier.*"; empty likewise.
  std::string Of(const std::string& qualifier) const;

 private:
  struct Source {
    std::string alias;
    std::optional<std::vector<std::string>> visible;  // only for a table with invisible columns
    std::string elements;  // a TABLE(collection)'s columns; empty for other items
  };
  // The columns of the rows of TABLE(...) from its "(" at open, under alias
  // (empty for none): COLUMN_VALUE, or the attributes of object elements
  // when the collection's type shows in the text.
  static std::string ElementColumns(const std::vector<SqlToken>& tokens, std::size_t open,
                                    std::size_t close, const std::string& alias,
                                    NameResolver& resolver);
  bool collections_ = false;
  std::vector<Source> sources_;
  bool named_ = true;  // every item has a name "alias.*" can use
};

// " (\"A\", \"C\")" for an INSERT into the table named by the tokens
// [at, end) when it has invisible columns; empty otherwise.
std::string InsertColumnList(const std::vector<SqlToken>& tokens, std::size_t at, std::size_t end,
                             NameResolver& resolver);

}  // namespace sandbox
