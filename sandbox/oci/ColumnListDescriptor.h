// ColumnListDescriptor: the list of columns of a described table or view
// (OCI_ATTR_LIST_COLUMNS); OCIParamGet on it gives the column at a position.
#pragma once

#include <vector>

#include "sandbox/oci/ErrorHandle.h"
#include "sandbox/oci/Handle.h"
#include "sandbox/server/Server.h"

namespace sandbox::oci {

class ColumnListDescriptor : public Handle {
 public:
  static constexpr ub4 kType = OCI_DTYPE_PARAM;
  ColumnListDescriptor(Handle* parent, std::vector<ColumnInfo> columns)
      : Handle(kType, parent, 0), columns_(std::move(columns)) {}

  std::size_t Count() const { return columns_.size(); }
  // The descriptor of column position (from 1); ORA-24334 past the end.
  sword Column(ub4 position, Handle*& descriptor, ErrorHandle& errors);

  sword GetAttribute(ub4 attribute, void* value, ub4* size, ErrorHandle& errors) override;

 private:
  std::vector<ColumnInfo> columns_;
};

}  // namespace sandbox::oci
