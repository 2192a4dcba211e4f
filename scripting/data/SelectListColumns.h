// SelectListColumns: the select list of an executed query as the server
// describes it: each column's name, external type code and data size.
#pragma once

#include <string>
#include <vector>

class OracleSession;
class OracleStatement;

struct DescribedColumn {
  std::string Name;
  int Type = 0;
  int Size = 0;
  // For an object column: the select item that gives its value's literal,
  // written into the INSERT as it comes.
  std::string LiteralSql;
};

// Reads the description of columns 1 .. count of statement, which has been
// executed (describing is enough). False when the client refused a column.
bool DescribeSelectList(OracleSession& session, OracleStatement& statement, int count,
                        std::vector<DescribedColumn>& columns);
