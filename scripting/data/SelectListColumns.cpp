// Select-list description through the parameter descriptors of a statement.
#include "scripting/data/SelectListColumns.h"

#include "oracle/OracleSession.h"
#include "oracle/OracleStatement.h"

namespace {

// A parameter descriptor of the statement, freed when done.
class ParameterDescriptor {
 public:
  ParameterDescriptor(OracleSession& session, OracleStatement& statement, int position)
      : session_(session) {
    if (session.Oci().OCIParamGet(statement.Handle(), OCI_HTYPE_STMT, session.ErrorHandle(),
                                  &handle_, static_cast<ub4>(position)) != OCI_SUCCESS) {
      handle_ = nullptr;
    }
  }
  ~ParameterDescriptor() {
    if (handle_ != nullptr) {
      session_.Oci().OCIDescriptorFree(handle_, OCI_DTYPE_PARAM);
    }
  }
  ParameterDescriptor(const ParameterDescriptor&) = delete;
  ParameterDescriptor& operator=(const ParameterDescriptor&) = delete;

  bool IsValid() const { return handle_ != nullptr; }

  template <typename T>
  bool Get(ub4 attribute, T& value, ub4* size = nullptr) {
    return session_.Oci().OCIAttrGet(handle_, OCI_DTYPE_PARAM, &value, size, attribute,
                                     session_.ErrorHandle()) == OCI_SUCCESS;
  }

 private:
  OracleSession& session_;
  void* handle_ = nullptr;
};

}  // namespace

bool DescribeSelectList(OracleSession& session, OracleStatement& statement, int count,
                        std::vector<DescribedColumn>& columns) {
  columns.clear();
  for (int position = 1; position <= count; ++position) {
    ParameterDescriptor parameter(session, statement, position);
    OraText* name = nullptr;
    ub4 nameLength = 0;
    ub2 type = 0;
    ub2 size = 0;
    if (!parameter.IsValid() || !parameter.Get(OCI_ATTR_NAME, name, &nameLength) ||
        !parameter.Get(OCI_ATTR_DATA_TYPE, type) || !parameter.Get(OCI_ATTR_DATA_SIZE, size)) {
      return false;
    }
    DescribedColumn column;
    // Names are kept whole: they may be 128 bytes and longer in other character sets.
    column.Name.assign(reinterpret_cast<const char*>(name), name != nullptr ? nameLength : 0);
    column.Type = type;
    column.Size = size;
    columns.push_back(std::move(column));
  }
  return true;
}
