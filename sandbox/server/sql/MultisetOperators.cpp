// The multiset operators and conditions of nested tables, as calls of the
// functions of functions/MultisetFunctions.cpp on the collections' JSON.
#include "sandbox/server/sql/SqlTranslator.h"

namespace sandbox {

// One operand of a multiset operator: a parenthesized expression, or a name
// (dotted) with its argument list if it has one.
std::size_t SqlTranslator::OperandEnd(std::size_t at, std::size_t end) {
  if (at >= end)
    return at;
  if (tokens_[at].IsSymbol("("))
    return Matching(at, end) + 1;
  std::size_t next = at + 1;
  while (next + 1 < end && tokens_[next].IsSymbol("."))
    next += 2;
  if (next < end && tokens_[next].IsSymbol("("))
    next = Matching(next, end) + 1;
  return next;
}

std::size_t SqlTranslator::TranslateMultisetForm(std::size_t at, std::size_t end,
                                                 std::vector<Unit>& units) {
  auto word = [&](std::size_t k, const char* text) { return k < end && tokens_[k].IsWord(text); };
  const bool afterOperand = !units.empty() && units.back().primary;
  // SET(c): a function where an expression may start (UPDATE t SET (a) = ...
  // follows a name).
  if (word(at, "SET") && at + 1 < end && tokens_[at + 1].IsSymbol("(") && !afterOperand) {
    const std::size_t close = Matching(at + 1, end);
    if (close >= end) {
      Fail(907, "missing right parenthesis");
      return end;
    }
    units.push_back({"ora_set(" + TranslateRange(at + 2, close, true) + ")", true});
    return close + 1;
  }
  if (!afterOperand)
    return at;
  std::string& left = units.back().text;
  if (word(at, "MULTISET") &&
      (word(at + 1, "UNION") || word(at + 1, "INTERSECT") || word(at + 1, "EXCEPT"))) {
    const std::string operation = tokens_[at + 1].Upper();
    std::size_t operand = at + 2;
    const bool distinct = word(operand, "DISTINCT");
    if (distinct || word(operand, "ALL"))
      ++operand;
    const std::size_t operandEnd = OperandEnd(operand, end);
    left = "ora_multiset('" + operation + "', " + (distinct ? "1" : "0") + ", " + left + ", " +
           TranslateRange(operand, operandEnd, true) + ")";
    return operandEnd;
  }
  const bool negated = word(at, "NOT");
  const std::size_t keyword = negated ? at + 1 : at;
  if (word(keyword, "MEMBER") || word(keyword, "SUBMULTISET")) {
    const bool member = word(keyword, "MEMBER");
    const std::size_t operand = word(keyword + 1, "OF") ? keyword + 2 : keyword + 1;
    const std::size_t operandEnd = OperandEnd(operand, end);
    const std::string collection = TranslateRange(operand, operandEnd, true);
    // A scalar element enters as a one-element array, so that it is compared
    // as the collection's JSON holds it.
    left = std::string(negated ? "NOT " : "") +
           (member ? "ora_member(json_array(ora_object_attribute(" + left + ")), "
                   : "ora_submultiset(" + left + ", ") +
           collection + ")";
    return operandEnd;
  }
  if (word(at, "IS")) {
    const bool not_ = word(at + 1, "NOT");
    const std::size_t next = not_ ? at + 2 : at + 1;
    if (word(next, "A") && word(next + 1, "SET")) {
      left = std::string(not_ ? "NOT " : "") + "ora_is_a_set(" + left + ")";
      return next + 2;
    }
    if (word(next, "EMPTY")) {
      left = std::string(not_ ? "NOT " : "") + "ora_is_empty(" + left + ")";
      return next + 1;
    }
  }
  return at;
}

}  // namespace sandbox
