// Firing a statement's triggers.
#include "sandbox/server/triggers/TriggerFiring.h"

#include <algorithm>

#include "sandbox/plsql/Interpreter.h"
#include "sandbox/plsql/RunState.h"
#include "sandbox/server/ServerSession.h"
#include "sandbox/server/ddl/ObjectCompiler.h"
#include "sandbox/server/triggers/RowReferences.h"

namespace sandbox {

namespace {

// Oracle's limit of recursive SQL levels, which triggers firing triggers meet.
constexpr std::size_t kMaxTriggerDepth = 50;

// :NEW$COL and :OLD$COL of a row trigger (nothing for a statement trigger).
// Only a BEFORE ROW trigger may change :NEW, and nothing changes :OLD.
class RowBinds : public BindSet {
 public:
  RowBinds(const TableTriggers& table, TriggerRow* row, bool newWritable)
      : table_(table), row_(row), newWritable_(newWritable) {}

  bool Has(const std::string& name) const override { return Column(name, nullptr) >= 0; }
  Value Get(const std::string& name) const override {
    bool isNew = false;
    const int column = Column(name, &isNew);
    if (column < 0)
      return Value::Null();
    return (isNew ? row_->newValues : row_->oldValues)[static_cast<std::size_t>(column)];
  }
  bool Set(const std::string& name, const Value& value, OraError& error) override {
    bool isNew = false;
    const int column = Column(name, &isNew);
    if (column < 0)
      return true;
    if (!isNew) {
      error = {4085, "cannot change the value of an OLD reference variable"};
      return false;
    }
    if (!newWritable_) {
      error = {4084, "cannot change NEW values for this trigger type"};
      return false;
    }
    row_->newValues[static_cast<std::size_t>(column)] = value;
    row_->assigned[static_cast<std::size_t>(column)] = true;
    return true;
  }

 private:
  // The column a placeholder names, -1 for none; isNew tells :NEW from :OLD.
  int Column(const std::string& name, bool* isNew) const {
    if (row_ == nullptr)
      return -1;
    const bool newValue = name.rfind(kNewPrefix, 0) == 0;
    if (!newValue && name.rfind(kOldPrefix, 0) != 0)
      return -1;
    const std::string column = name.substr(4);
    const auto found = std::find(table_.columns.begin(), table_.columns.end(), column);
    if (found == table_.columns.end())
      return -1;
    if (isNew != nullptr)
      *isNew = newValue;
    return static_cast<int>(found - table_.columns.begin());
  }

  const TableTriggers& table_;
  TriggerRow* row_;
  bool newWritable_;
};

// The section of a compound trigger that a timing runs.
plsql::TimingPoint PointOf(TableTrigger::Timing timing, bool forRow) {
  using Timing = TableTrigger::Timing;
  using Point = plsql::TimingPoint;
  if (timing == Timing::InsteadOf)
    return Point::InsteadOfEachRow;
  if (timing == Timing::Before)
    return forRow ? Point::BeforeEachRow : Point::BeforeStatement;
  return forRow ? Point::AfterEachRow : Point::AfterStatement;
}

OraError InvalidTrigger(const std::string& name) {
  return {4098, "trigger '" + name + "' is invalid and failed re-validation"};
}

}  // namespace

TriggerFiring::TriggerFiring(ServerSession& session, const TableTriggers& table, DmlEvent event,
                             std::vector<std::string> setColumns)
    : session_(session), table_(table), event_(event), setColumns_(std::move(setColumns)) {}

bool TriggerFiring::Prepare(OraError& error) {
  for (const TableTrigger& trigger : table_.triggers) {
    if (!trigger.enabled || !trigger.FiresFor(event_, setColumns_))
      continue;
    if (!trigger.valid && !CompileInUse(session_, {trigger.owner, trigger.name, "TRIGGER"})) {
      error = InvalidTrigger(trigger.qualifiedName);
      return false;
    }
    OraError compileError;
    const RightsGuard rights(session_, trigger.owner);  // a trigger's names are its owner's
    auto body = plsql::CompileTriggerBody(session_, trigger.body, compileError);
    if (!body) {
      error = InvalidTrigger(trigger.qualifiedName);
      return false;
    }
    // A placeholder no column answers is a reference the body cannot make.
    TriggerRow probe{std::vector<Value>(table_.columns.size()),
                     std::vector<Value>(table_.columns.size()),
                     std::vector<bool>(table_.columns.size())};
    const RowBinds binds(table_, trigger.eachRow ? &probe : nullptr, false);
    for (const std::string& name : body->bindNames) {
      if (!binds.Has(name)) {
        error = InvalidTrigger(trigger.qualifiedName);
        return false;
      }
    }
    ready_.push_back({&trigger, std::move(body),
                      trigger.compound ? std::make_shared<plsql::TriggerState>() : nullptr});
  }
  if (!ready_.empty() && session_.Firing().size() >= kMaxTriggerDepth) {
    error = {36, "maximum number of recursive SQL levels (50) exceeded"};
    return false;
  }
  return true;
}

bool TriggerFiring::FiresAt(const Ready& ready, TableTrigger::Timing timing, bool forRow) {
  if (ready.trigger->compound)
    return ready.body->block->sections.count(PointOf(timing, forRow)) != 0;
  return ready.trigger->timing == timing && ready.trigger->eachRow == forRow;
}

bool TriggerFiring::HasRowTriggers(TableTrigger::Timing timing) const {
  return std::any_of(ready_.begin(), ready_.end(),
                     [&](const Ready& ready) { return FiresAt(ready, timing, true); });
}

bool TriggerFiring::Fire(TableTrigger::Timing timing, TriggerRow* row, OraError& error) {
  for (const Ready& ready : ready_) {
    if (FiresAt(ready, timing, row != nullptr) && !FireOne(ready, timing, row, error))
      return false;
  }
  return true;
}

bool TriggerFiring::WhenHolds(const TableTrigger& trigger, BindSet& binds, bool& holds,
                              OraError& error) {
  holds = true;
  if (trigger.when.empty())
    return true;
  auto cursor = session_.OpenQuery("SELECT 1 FROM DUAL WHERE " + trigger.when, binds, error);
  if (!cursor)
    return false;
  std::vector<Value> found;
  holds = cursor->Next(found, error);
  return !error.IsSet();
}

bool TriggerFiring::FireOne(const Ready& ready, TableTrigger::Timing timing, TriggerRow* row,
                            OraError& error) {
  const TableTrigger& trigger = *ready.trigger;
  const RightsGuard rights(session_, trigger.owner);
  RowBinds binds(table_, row, timing != TableTrigger::Timing::After);
  // A compound trigger's WHEN condition is one on rows: its statement
  // sections fire whatever it says.
  bool holds = true;
  if (row != nullptr && (!WhenHolds(trigger, binds, holds, error) || !holds))
    return !error.IsSet();
  auto& firing = session_.Firing();
  firing.push_back({event_, &setColumns_});
  const bool done =
      ready.state
          ? plsql::RunTriggerSection(session_, *ready.body, PointOf(timing, row != nullptr),
                                     *ready.state, trigger.qualifiedName, binds, error)
          : plsql::RunTriggerBody(session_, *ready.body, trigger.qualifiedName, binds, error);
  firing.pop_back();
  if (!done)
    error.message +=
        "\nORA-04088: error during execution of trigger '" + trigger.qualifiedName + "'";
  return done;
}

}  // namespace sandbox
