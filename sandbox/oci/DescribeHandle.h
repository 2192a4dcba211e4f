// DescribeHandle: the result of OCIDescribeAny on a table or view: a
// top-level parameter (OCI_ATTR_PARAM) whose type, column count and column
// list can be read with OCIAttrGet.
#pragma once

#include <string>
#include <vector>

#include "sandbox/oci/ColumnListDescriptor.h"
#include "sandbox/oci/ErrorHandle.h"
#include "sandbox/oci/Handle.h"
#include "sandbox/server/Server.h"

namespace sandbox::oci {

// The top-level parameter of a described table or view.
class ObjectDescriptor : public Handle {
 public:
  static constexpr ub4 kType = OCI_DTYPE_PARAM;
  ObjectDescriptor(Handle* parent, ub1 objectType, std::vector<ColumnInfo> columns);

  sword GetAttribute(ub4 attribute, void* value, ub4* size, ErrorHandle& errors) override;

 private:
  ub1 objectType_;
  ColumnListDescriptor* columns_;
};

class DescribeHandle : public Handle {
 public:
  static constexpr ub4 kType = OCI_HTYPE_DESCRIBE;
  DescribeHandle(Handle* parent, std::size_t userMemorySize)
      : Handle(kType, parent, userMemorySize) {}

  // Describes the table or view name (as "OWNER.NAME" or "NAME") in session.
  sword Describe(Session& session, const std::string& name, ub1 objectType, ErrorHandle& errors);

  sword GetAttribute(ub4 attribute, void* value, ub4* size, ErrorHandle& errors) override;

 private:
  ObjectDescriptor* object_ = nullptr;
};

}  // namespace sandbox::oci
