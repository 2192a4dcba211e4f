// ParameterDescriptor: the describe attributes, with the widths OCI gives them.
#include "sandbox/oci/ParameterDescriptor.h"

#include "sandbox/oci/AttributeValues.h"

namespace sandbox::oci {
namespace {

bool IsCharacterType(ub2 type) {
  return type == SQLT_CHR || type == SQLT_AFC || type == SQLT_VCS || type == SQLT_CLOB ||
         type == SQLT_LNG;
}

}  // namespace

sword ParameterDescriptor::GetAttribute(ub4 attribute, void* value, ub4* size,
                                        ErrorHandle& errors) {
  switch (attribute) {
    case OCI_ATTR_NAME:
      return PutTextAttribute(value, size, column_.name, errors);
    case OCI_ATTR_DATA_TYPE:
      return PutAttribute<ub2>(value, size, column_.dataType, errors);
    case OCI_ATTR_DATA_SIZE:
      return PutAttribute<ub2>(value, size, column_.dataSize, errors);
    case OCI_ATTR_PRECISION:
      return PutAttribute<sb2>(value, size, column_.precision, errors);
    case OCI_ATTR_SCALE:
      return PutAttribute<sb1>(value, size, column_.scale, errors);
    case OCI_ATTR_IS_NULL:
      return PutAttribute<ub1>(value, size, column_.nullable ? 1 : 0, errors);
    case OCI_ATTR_CHARSET_FORM:
      return PutAttribute<ub1>(value, size, IsCharacterType(column_.dataType) ? SQLCS_IMPLICIT : 0,
                               errors);
    case OCI_ATTR_CHAR_USED:
      return PutAttribute<ub1>(value, size, 0, errors);
    case OCI_ATTR_CHAR_SIZE:
      return PutAttribute<ub2>(
          value, size, IsCharacterType(column_.dataType) ? column_.dataSize : ub2{0}, errors);
    default:
      return Handle::GetAttribute(attribute, value, size, errors);
  }
}

}  // namespace sandbox::oci
