// ColumnListDescriptor: column descriptors of a described object.
#include "sandbox/oci/ColumnListDescriptor.h"

#include "sandbox/oci/AttributeValues.h"
#include "sandbox/oci/DescribeAttributes.h"
#include "sandbox/oci/ParameterDescriptor.h"

namespace sandbox::oci {

sword ColumnListDescriptor::Column(ub4 position, Handle*& descriptor, ErrorHandle& errors) {
  if (position == 0 || position > columns_.size()) {
    errors.Add(errors::NoDescriptorForPosition());
    return OCI_ERROR;
  }
  descriptor = &AddChild<ParameterDescriptor>(columns_[position - 1]);
  return OCI_SUCCESS;
}

sword ColumnListDescriptor::GetAttribute(ub4 attribute, void* value, ub4* size,
                                         ErrorHandle& errors) {
  if (attribute == kAttrNumParams) {
    return PutAttribute<ub2>(value, size, static_cast<ub2>(columns_.size()), errors);
  }
  if (attribute == kAttrPtype)
    return PutAttribute<ub1>(value, size, OCI_PTYPE_LIST, errors);
  return Handle::GetAttribute(attribute, value, size, errors);
}

}  // namespace sandbox::oci
