// Records and collections at run time: new values, the fields and elements
// names reach, collection methods and constructors, with Oracle's errors
// for subscripts outside what a collection holds.
#include <cmath>

#include "sandbox/plsql/Conversions.h"
#include "sandbox/plsql/Executor.h"
#include "sandbox/plsql/ObjectJson.h"
#include "sandbox/plsql/supplied/SuppliedPackages.h"

namespace sandbox::plsql {

namespace {

constexpr long long kMaxElements = 10000000;

PlError Uninitialised() {
  return MakeError(6531, "Reference to uninitialized collection");
}
PlError BeyondCount() {
  return MakeError(6533, "Subscript beyond count");
}
PlError OutsideLimit() {
  return MakeError(6532, "Subscript outside of limit");
}

bool IsIndexBy(const TypeSpec& type) {
  return type.collection == TypeSpec::Collection::IndexBy;
}

PlValue ValueOfKey(const TypeSpec& type, const CollectionKey& key) {
  return type.textKeys ? PlValue::Text(key.text)
                       : PlValue::Number(static_cast<long double>(key.number));
}

}  // namespace

CollectionBox::CollectionBox(const CollectionBox& other)
    : collection_(other.collection_ ? std::make_unique<Collection>(*other.collection_) : nullptr) {}

CollectionBox& CollectionBox::operator=(const CollectionBox& other) {
  if (this != &other)
    collection_ = other.collection_ ? std::make_unique<Collection>(*other.collection_) : nullptr;
  return *this;
}

CollectionBox::~CollectionBox() = default;

void CollectionBox::Reset(std::unique_ptr<Collection> collection) {
  collection_ = std::move(collection);
}

Variable Executor::NewComposite(const TypeSpec& type) {
  Variable var;
  // No cursor until it is opened; an object is NULL until it is constructed.
  if (type.base == TypeSpec::Base::RefCursor || type.IsObject())
    return var;
  if (type.base == TypeSpec::Base::Collection) {
    if (IsIndexBy(type))
      var.collection.Reset(std::make_unique<Collection>());
    return var;
  }
  for (const RecordField& field : type.fields) {
    if (field.type.IsComposite()) {
      var.fields.push_back(field.init ? EvalComposite(*field.init) : NewComposite(field.type));
      continue;
    }
    Variable value;
    value.value = Coerce(field.init ? Eval(*field.init) : PlValue(), field.type, session_);
    var.fields.push_back(std::move(value));
  }
  return var;
}

Variable Executor::NewElement(const TypeSpec& collection) {
  return collection.element->IsComposite() ? NewComposite(*collection.element) : Variable();
}

CollectionKey Executor::KeyOf(const TypeSpec& collection, const PlValue& index) {
  if (index.IsNull())
    throw ValueError("NULL index table key value");
  CollectionKey key;
  if (collection.textKeys) {
    key.text = TextOf(index, session_);
    return key;
  }
  const long double n = std::round(NumberOf(index));
  if (n < -2147483648.0L || n > 2147483647.0L)
    throw ValueError("numeric overflow");
  key.number = static_cast<long long>(n);
  return key;
}

Variable& Executor::Locate(const Expr& expr, bool write) {
  if (expr.kind == Expr::Kind::Variable)
    return Find(expr.variable);
  if (expr.kind == Expr::Kind::Field) {
    Variable& record = expr.args.empty() ? Find(expr.variable) : Locate(*expr.args[0], write);
    const auto i = static_cast<size_t>(expr.fieldIndex);
    if (i < record.fields.size())
      return record.fields[i];
    // A NULL object's attributes read NULL, but cannot be written.
    if (write)
      throw MakeError(6530, "Reference to uninitialized composite");
    temporaries_.push_back(NullOf(*expr.type));
    return temporaries_.back();
  }
  // f(x).field, f(x)(i), and a field of a qualified expression bound to SQL.
  if (expr.kind == Expr::Kind::Call || expr.kind == Expr::Kind::Construct ||
      expr.kind == Expr::Kind::JsonMethod) {
    temporaries_.push_back(EvalComposite(expr));
    return temporaries_.back();
  }
  if (expr.kind != Expr::Kind::Element)
    throw MakeError(6550, "PLS-00382: expression is of wrong type");
  const TypeSpec& type = *TypeOf(*expr.args[0]);
  const CollectionKey key = KeyOf(type, Eval(*expr.args[1]));
  Variable& base = Locate(*expr.args[0], write);
  Collection* collection = base.collection.get();
  if (collection == nullptr)
    throw Uninitialised();
  if (!IsIndexBy(type)) {
    if (key.number < 1 ||
        (type.collection == TypeSpec::Collection::Varray && key.number > type.limit))
      throw OutsideLimit();
    if (key.number > collection->size)
      throw BeyondCount();
  }
  auto found = collection->elements.find(key);
  if (found != collection->elements.end())
    return found->second;
  if (!write)
    throw PredefinedError(1403);
  return collection->elements[key] = NewElement(type);
}

Variable Executor::ElementValue(const TypeSpec& type, const Expr& value) {
  if (type.IsComposite())
    return EvalComposite(value);
  Variable var;
  var.value = Coerce(Eval(value), type, session_);
  return var;
}

Variable Executor::EvalAggregate(const Expr& expr) {
  const TypeSpec& type = *expr.type;
  if (type.base == TypeSpec::Base::Record) {
    // Fields without a value take the OTHERS value, else their default.
    Variable record = type.IsObject() ? EmptyObject(type) : NewComposite(type);
    const Expr* others = expr.args.size() > type.fields.size() ? expr.args.back().get() : nullptr;
    for (size_t i = 0; i < type.fields.size(); ++i) {
      const Expr* value = expr.args[i] ? expr.args[i].get() : others;
      if (value == nullptr)
        continue;
      record.fields[i] = ElementValue(type.fields[i].type, *value);
    }
    return record;
  }
  auto collection = std::make_unique<Collection>();
  for (size_t i = 0; i + 1 < expr.args.size(); i += 2) {
    const CollectionKey key = KeyOf(type, Eval(*expr.args[i]));
    collection->elements[key] = ElementValue(*type.element, *expr.args[i + 1]);
  }
  Variable var;
  var.collection.Reset(std::move(collection));
  return var;
}

Variable Executor::EvalComposite(const Expr& expr) {
  if (expr.kind == Expr::Kind::Construct &&
      (expr.type->base == TypeSpec::Base::Record || IsIndexBy(*expr.type)))
    return EvalAggregate(expr);
  if (expr.kind == Expr::Kind::Construct) {
    const TypeSpec& type = *expr.type;
    if (type.collection == TypeSpec::Collection::Varray &&
        static_cast<long long>(expr.args.size()) > type.limit)
      throw OutsideLimit();
    auto collection = std::make_unique<Collection>();
    for (const auto& arg : expr.args)
      collection->elements[CollectionKey{++collection->size, {}}] =
          ElementValue(*type.element, *arg);
    Variable var;
    var.collection.Reset(std::move(collection));
    return var;
  }
  // NULL: a null nested table, varray or object; a typed literal is SQL's
  // argument of a schema-level type.
  if (expr.kind == Expr::Kind::Literal)
    return expr.type != nullptr ? FromColumnValue(expr.value, *expr.type, session_) : Variable();
  if (expr.kind == Expr::Kind::Call) {
    CallRoutine(*expr.routine, expr.args, expr.line);
    return std::move(returnComposite_);
  }
  if (expr.kind == Expr::Kind::JsonMethod)
    return CallJson(expr);
  if (expr.kind == Expr::Kind::Builtin) {  // a supplied function's cursor variable
    Variable var;
    CallSupplied(*FindSupplied(expr.name), expr.args, expr.line, &var.cursor);
    return var;
  }
  const TemporariesMark mark(temporaries_);
  return Locate(expr, false);
}

PlValue Executor::EvalMethod(const Expr& expr) {
  const TypeSpec& type = *TypeOf(*expr.args[0]);
  const Collection* collection = Locate(*expr.args[0], false).collection.get();
  const std::string& name = expr.name;
  if (name == "EXISTS") {
    if (collection == nullptr)
      return PlValue::Boolean(false);
    const PlValue index = Eval(*expr.args[1]);
    if (index.IsNull())
      return PlValue::Boolean(false);
    return PlValue::Boolean(collection->elements.count(KeyOf(type, index)) != 0);
  }
  if (name == "LIMIT") {
    if (collection == nullptr)
      throw Uninitialised();
    return type.collection == TypeSpec::Collection::Varray
               ? PlValue::Number(static_cast<long double>(type.limit))
               : PlValue();
  }
  if (collection == nullptr)
    throw Uninitialised();
  const auto& elements = collection->elements;
  if (name == "COUNT")
    return PlValue::Number(static_cast<long double>(elements.size()));
  if (name == "FIRST")
    return elements.empty() ? PlValue() : ValueOfKey(type, elements.begin()->first);
  if (name == "LAST")
    return elements.empty() ? PlValue() : ValueOfKey(type, elements.rbegin()->first);
  const PlValue index = Eval(*expr.args[1]);
  if (index.IsNull())
    return {};
  const CollectionKey key = KeyOf(type, index);
  if (name == "NEXT") {
    const auto next = elements.upper_bound(key);
    return next == elements.end() ? PlValue() : ValueOfKey(type, next->first);
  }
  auto prior = elements.lower_bound(key);  // PRIOR
  if (prior == elements.begin())
    return {};
  return ValueOfKey(type, (--prior)->first);
}

void Executor::ExecCollectionCall(const Stmt& stmt) {
  const Expr& call = *stmt.exprs[0];
  const TypeSpec& type = *TypeOf(*call.args[0]);
  std::vector<PlValue> args;
  for (size_t i = 1; i < call.args.size(); ++i)
    args.push_back(Eval(*call.args[i]));
  Collection* collection = Locate(*call.args[0], true).collection.get();
  if (collection == nullptr)
    throw Uninitialised();
  auto& elements = collection->elements;
  if (call.name == "DELETE") {
    if (args.empty()) {
      elements.clear();
      collection->size = 0;
      return;
    }
    for (const PlValue& a : args) {
      if (a.IsNull())
        return;
    }
    const CollectionKey low = KeyOf(type, args[0]);
    const CollectionKey high = args.size() > 1 ? KeyOf(type, args[1]) : low;
    if (high < low)
      return;
    elements.erase(elements.lower_bound(low), elements.upper_bound(high));
    return;
  }
  const long double n = args.empty() ? 1 : args[0].IsNull() ? 0 : std::round(NumberOf(args[0]));
  if (n < 0)
    throw BeyondCount();
  const auto count = static_cast<long long>(std::min<long double>(n, 2147483647.0L));
  if (call.name == "TRIM") {
    if (count > collection->size)
      throw BeyondCount();
    for (long long i = 0; i < count; ++i)
      elements.erase(CollectionKey{collection->size--, {}});
    return;
  }
  // EXTEND [(n [, i])]: n null elements, or n copies of element i.
  const long long limit =
      type.collection == TypeSpec::Collection::Varray ? type.limit : 2147483647LL;
  if (count > limit - collection->size)
    throw OutsideLimit();
  // The sandbox holds elements in memory; more than it can hold is
  // Oracle's storage error rather than an exhausted process.
  if (count > kMaxElements - collection->size)
    throw MakeError(6500, "PL/SQL: storage error");
  Variable copy = NewElement(type);
  if (args.size() > 1) {
    const auto source = elements.find(KeyOf(type, args[1]));
    if (source == elements.end())
      throw BeyondCount();
    copy = source->second;
  }
  for (long long i = 0; i < count; ++i)
    elements[CollectionKey{++collection->size, {}}] = copy;
}

}  // namespace sandbox::plsql
