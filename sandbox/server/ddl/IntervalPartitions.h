// The partitions an interval table makes for itself: a row whose key lies
// beyond the last range partition goes into a partition made for its interval
// as the row goes in, with a system name SYS_Pn, INTERVAL 'YES' and its place
// among the partitions by bound, and each local index of the table gets a
// partition of the same name.
#pragma once

#include <optional>
#include <string>

#include "sandbox/server/dictionary/Catalog.h"

namespace sandbox {

// The most partitions a table may have, which an interval table counts as
// its PARTITION_COUNT.
constexpr long long kMaxPartitions = 1048575;

// The step of an INTERVAL clause as written: a number, NUMTOYMINTERVAL(n,
// 'YEAR' | 'MONTH'), NUMTODSINTERVAL(n, 'DAY' | 'HOUR' | 'MINUTE' |
// 'SECOND') or an interval literal of one of these fields (INTERVAL '1'
// MONTH); nullopt for any other expression.
struct IntervalStep {
  enum class Unit { Number, Months, Seconds } unit = Unit::Number;
  long double size = 0;
};
std::optional<IntervalStep> ReadIntervalStep(const std::string& text);

// The interval that takes key: its number counted from the transition
// point (0 for the first interval above it) and the HIGH_VALUE text of its
// partition. key and transition are stored values (numbers, or dates as ISO
// text); nullopt when they cannot be read or the key lies below the
// transition point. An interval beyond the most partitions a table may have,
// or whose bound no DATE can hold, has index kMaxPartitions and no bound.
struct IntervalBound {
  long long index = 0;
  std::string highValue;
};
std::optional<IntervalBound> IntervalOf(const IntervalStep& step, const std::string& key,
                                        const std::string& transition);

// Makes the partition of owner.table that takes key unless one exists;
// transition is the bound of its last range partition. False with an
// "ORA-nnnnn: text" message.
bool AddIntervalPartition(Catalog& catalog, const std::string& owner, const std::string& table,
                          const std::string& key, const std::string& transition,
                          std::string& message);

}  // namespace sandbox
