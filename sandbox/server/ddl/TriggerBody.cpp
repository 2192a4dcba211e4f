// The checks of a trigger's body at CREATE TRIGGER.
#include "sandbox/server/ddl/TriggerBody.h"

#include <initializer_list>

#include "sandbox/server/triggers/RowReferences.h"

namespace sandbox {

namespace {

// How a stretch of a body uses the row: any :NEW or :OLD reference (the
// first one's token), and an assignment to :NEW.col (as target of := or of
// SELECT ... INTO).
struct RowReferenceUse {
  std::size_t first = 0;
  bool any = false;
  bool newAssigned = false;
};

RowReferenceUse FindRowReferences(const std::vector<SqlToken>& tokens, std::size_t begin,
                                  std::size_t end, const std::string& referencing) {
  std::string newName, oldName;
  ReferencingNames(referencing, newName, oldName);
  RowReferenceUse use;
  bool inInto = false;
  for (std::size_t i = begin; i < end; ++i) {
    const SqlToken& t = tokens[i];
    // SELECT ... INTO targets, not the table of INSERT INTO
    if (t.IsWord("INTO"))
      inInto = !tokens[i - 1].IsWord("INSERT") && !tokens[i - 1].IsWord("MERGE");
    else if (t.IsWord("FROM") || t.IsSymbol(";"))
      inInto = false;
    if (t.type != SqlToken::Type::Bind || (t.text != newName && t.text != oldName) ||
        i + 2 >= tokens.size() || !tokens[i + 1].IsSymbol("."))
      continue;
    if (!use.any)
      use.first = i;
    use.any = true;
    const bool assigned = inInto || (i + 3 < tokens.size() && tokens[i + 3].IsSymbol(":="));
    use.newAssigned = use.newAssigned || (assigned && t.text == newName);
  }
  return use;
}

// Only a BEFORE row trigger of an INSERT or UPDATE can change the new row.
bool NewRowWritable(const TriggerHead& head, bool beforeRow) {
  return beforeRow && (head.events.find("INSERT") != std::string::npos ||
                       head.events.find("UPDATE") != std::string::npos);
}

const CompilationError kNewAssigned{0, 0, 4084,
                                    "ORA-04084: cannot change NEW values for this trigger type"};

// A timing section of a compound trigger: tokens [begin, end) run from its
// first word to the END that closes it.
struct Section {
  std::string timing;  // "BEFORE STATEMENT", "AFTER EACH ROW" ...
  std::size_t begin = 0, end = 0;
};

const std::initializer_list<const char*> kTimings[] = {
    {"BEFORE", "STATEMENT"}, {"BEFORE", "EACH", "ROW"},        {"AFTER", "EACH", "ROW"},
    {"AFTER", "STATEMENT"},  {"INSTEAD", "OF", "EACH", "ROW"},
};

// The timing whose words stand at tokens[at] and are followed by follower;
// its word count in length, empty when none.
std::string TimingAt(const std::vector<SqlToken>& tokens, std::size_t at, const char* follower,
                     std::size_t& length) {
  for (const auto& words : kTimings) {
    std::size_t i = at;
    std::string timing;
    bool matches = true;
    for (const char* word : words) {
      matches = matches && i < tokens.size() && tokens[i++].IsWord(word);
      timing += (timing.empty() ? "" : " ") + std::string(word);
    }
    if (matches && i < tokens.size() &&
        (tokens[i].IsWord(follower) || tokens[i].IsSymbol(follower))) {
      length = words.size();
      return timing;
    }
  }
  return {};
}

std::vector<Section> ReadSections(const std::vector<SqlToken>& tokens, std::size_t begin) {
  std::vector<Section> sections;
  for (std::size_t i = begin; i < tokens.size(); ++i) {
    std::size_t length = 0;
    if (tokens[i].IsWord("END") && !sections.empty() && sections.back().end == 0 &&
        !TimingAt(tokens, i + 1, ";", length).empty())
      sections.back().end = i;
    else if (const std::string timing = TimingAt(tokens, i, "IS", length); !timing.empty())
      sections.push_back({timing, i, 0});
    i += length;
  }
  for (Section& section : sections)
    if (section.end == 0)
      section.end = tokens.size();
  return sections;
}

class CompoundCheck {
 public:
  CompoundCheck(const std::string& sql, const std::vector<SqlToken>& tokens, std::size_t bodyBegin,
                const TriggerHead& head, std::vector<CompilationError>& errors)
      : sql_(sql), tokens_(tokens), bodyBegin_(bodyBegin), head_(head), errors_(errors) {}

  void Run(TimingPoints& points) {
    const std::vector<Section> sections = ReadSections(tokens_, bodyBegin_ + 2);
    const std::size_t declarationsEnd = sections.empty() ? tokens_.size() : sections[0].begin;
    RefuseRowReferences(bodyBegin_ + 2, declarationsEnd);
    for (std::size_t s = 0; s < sections.size(); ++s) {
      const Section& section = sections[s];
      for (std::size_t earlier = 0; earlier < s; ++earlier)
        if (sections[earlier].timing == section.timing)
          Add(section.begin, 676, "PLS-00676: duplicate Section");
      // A view's compound trigger has its INSTEAD OF section alone, a
      // table's any other.
      const bool insteadOf = section.timing == "INSTEAD OF EACH ROW";
      if (insteadOf != (head_.baseType == "VIEW"))
        Add(section.begin, 675, "PLS-00675: invalid section for this type of Compound Trigger");
      if (section.timing.find("STATEMENT") != std::string::npos) {
        RefuseRowReferences(section.begin, section.end);
        (section.timing == "BEFORE STATEMENT" ? points.beforeStatement : points.afterStatement) =
            true;
        continue;
      }
      const bool beforeRow = section.timing == "BEFORE EACH ROW";
      (insteadOf ? points.insteadOfRow : beforeRow ? points.beforeRow : points.afterRow) = true;
      const RowReferenceUse use =
          FindRowReferences(tokens_, section.begin, section.end, head_.referencing);
      if (use.newAssigned && !NewRowWritable(head_, beforeRow))
        errors_.push_back(kNewAssigned);
    }
  }

 private:
  // The row is no part of the shared declarations or the statement sections.
  void RefuseRowReferences(std::size_t begin, std::size_t end) {
    const RowReferenceUse use = FindRowReferences(tokens_, begin, end, head_.referencing);
    if (use.any)
      Add(use.first, 679, "PLS-00679: trigger binds not allowed in before/after statement section");
  }

  void Add(std::size_t token, int number, const std::string& text) {
    CompilationError added;
    const std::size_t base = tokens_[bodyBegin_].offset;
    LineAndColumn(sql_.substr(base), tokens_[token].offset - base, added.line, added.position);
    added.number = number;
    added.text = text;
    errors_.push_back(added);
  }

  const std::string& sql_;
  const std::vector<SqlToken>& tokens_;
  std::size_t bodyBegin_;
  const TriggerHead& head_;
  std::vector<CompilationError>& errors_;
};

}  // namespace

bool CheckTriggerBody(const std::string& sql, const std::vector<SqlToken>& tokens,
                      std::size_t bodyBegin, const TriggerHead& head,
                      std::vector<CompilationError>& errors, TimingPoints& points,
                      OraError& error) {
  if (head.compound) {
    CompoundCheck(sql, tokens, bodyBegin, head, errors).Run(points);
    return true;
  }
  const RowReferenceUse use = FindRowReferences(tokens, bodyBegin, tokens.size(), head.referencing);
  const bool rowLevel = head.eachRow || head.timing == "INSTEAD OF";
  if (use.any && !rowLevel) {
    error = {4082, "NEW or OLD references not allowed in table level triggers"};
    return false;
  }
  if (errors.empty() && use.newAssigned && !NewRowWritable(head, head.timing == "BEFORE"))
    errors.push_back(kNewAssigned);
  if (head.IsSystem())
    return true;
  if (head.timing == "INSTEAD OF")
    points.insteadOfRow = true;
  else if (head.timing == "BEFORE")
    (head.eachRow ? points.beforeRow : points.beforeStatement) = true;
  else
    (head.eachRow ? points.afterRow : points.afterStatement) = true;
  return true;
}

}  // namespace sandbox
