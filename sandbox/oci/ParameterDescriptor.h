// ParameterDescriptor: the description of one select-list column that
// OCIParamGet hands out after an execution, read with OCIAttrGet (name, data
// type, size, precision, scale, nullability). Owned by its statement.
#pragma once

#include "sandbox/oci/ErrorHandle.h"
#include "sandbox/oci/Handle.h"
#include "sandbox/server/Server.h"

namespace sandbox::oci {

class ParameterDescriptor : public Handle {
 public:
  static constexpr ub4 kType = OCI_DTYPE_PARAM;
  ParameterDescriptor(Handle* parent, ColumnInfo column)
      : Handle(kType, parent, 0), column_(std::move(column)) {}

  sword GetAttribute(ub4 attribute, void* value, ub4* size, ErrorHandle& errors) override;

 private:
  ColumnInfo column_;
};

}  // namespace sandbox::oci
