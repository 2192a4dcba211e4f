// DescribeHandle and ObjectDescriptor: explicit describes of tables and views.
#include "sandbox/oci/DescribeHandle.h"

#include <algorithm>
#include <cctype>

#include "sandbox/oci/AttributeValues.h"
#include "sandbox/oci/ClientErrors.h"
#include "sandbox/oci/DescribeAttributes.h"

namespace sandbox::oci {

ObjectDescriptor::ObjectDescriptor(Handle* parent, ub1 objectType, std::vector<ColumnInfo> columns)
    : Handle(kType, parent, 0),
      objectType_(objectType),
      columns_(&AddChild<ColumnListDescriptor>(std::move(columns))) {}

sword ObjectDescriptor::GetAttribute(ub4 attribute, void* value, ub4* size, ErrorHandle& errors) {
  switch (attribute) {
    case kAttrPtype:
      return PutAttribute<ub1>(value, size, objectType_, errors);
    case kAttrNumCols:
      return PutAttribute<ub2>(value, size, static_cast<ub2>(columns_->Count()), errors);
    case kAttrListColumns:
      return PutAttribute<void*>(value, size, static_cast<Handle*>(columns_), errors);
    default:
      return Handle::GetAttribute(attribute, value, size, errors);
  }
}

sword DescribeHandle::Describe(Session& session, const std::string& name, ub1 objectType,
                               ErrorHandle& errors) {
  if (object_ != nullptr) {
    FreeChild(object_);
    object_ = nullptr;
  }
  std::vector<ColumnInfo> columns = session.DescribeTable(name);
  if (columns.empty()) {
    std::string shown = name;
    std::transform(shown.begin(), shown.end(), shown.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    errors.Add(errors::ObjectDoesNotExist(shown));
    return OCI_ERROR;
  }
  // The server does not tell tables from views here; the caller's expectation names it.
  ub1 type = objectType == OCI_PTYPE_VIEW ? OCI_PTYPE_VIEW : OCI_PTYPE_TABLE;
  object_ = &AddChild<ObjectDescriptor>(type, std::move(columns));
  return OCI_SUCCESS;
}

sword DescribeHandle::GetAttribute(ub4 attribute, void* value, ub4* size, ErrorHandle& errors) {
  if (attribute == kAttrParam && object_ != nullptr) {
    return PutAttribute<void*>(value, size, static_cast<Handle*>(object_), errors);
  }
  return Handle::GetAttribute(attribute, value, size, errors);
}

}  // namespace sandbox::oci
