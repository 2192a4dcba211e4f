// SQL text over the column lists of keys, shared by the constraint checks.
#pragma once

#include <string>
#include <vector>

namespace sandbox {

// "a.K1 = b.F1 AND a.K2 = b.F2" over two column lists.
std::string KeyPairs(const std::string& left, const std::vector<std::string>& leftColumns,
                     const std::string& right, const std::vector<std::string>& rightColumns,
                     const char* op = " = ");
// Each column with prefix and test, joined: ("n.", " IS NULL", " OR ").
std::string KeyEach(const std::string& prefix, const std::vector<std::string>& columns,
                    const char* test, const char* joiner);
// "K1, K2".
std::string KeyColumnList(const std::vector<std::string>& columns);

}  // namespace sandbox
