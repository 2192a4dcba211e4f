// Attribute numbers of explicit describes (OCIDescribeAny) that the program's
// own OCI declarations do not carry, with the values of Oracle's headers.
#pragma once

#include "oracle/OciApi.h"

namespace sandbox::oci {

inline constexpr ub4 kAttrNumCols = 102;      // OCI_ATTR_NUM_COLS, ub2
inline constexpr ub4 kAttrListColumns = 103;  // OCI_ATTR_LIST_COLUMNS, a parameter
inline constexpr ub4 kAttrNumParams = 121;    // OCI_ATTR_NUM_PARAMS, ub2
inline constexpr ub4 kAttrPtype = 123;        // OCI_ATTR_PTYPE, ub1
inline constexpr ub4 kAttrParam = 124;        // OCI_ATTR_PARAM, the top-level parameter

}  // namespace sandbox::oci
