// Exported entry points of statements: prepare, bind, define, execute, fetch,
// piecewise fetch, select-list and explicit describe.
#include <string>
#include <type_traits>

#include "oracle/OciApi.h"
#include "sandbox/oci/ApiCall.h"
#include "sandbox/oci/ClientErrors.h"
#include "sandbox/oci/ColumnListDescriptor.h"
#include "sandbox/oci/ConnectionBreaker.h"
#include "sandbox/oci/DescribeHandle.h"
#include "sandbox/oci/ErrorHandle.h"
#include "sandbox/oci/ServiceContextHandle.h"
#include "sandbox/oci/SessionHandle.h"
#include "sandbox/oci/StatementHandle.h"

using namespace sandbox::oci;

namespace {

// Checks what every bind call must carry, and builds its buffer.
sword CheckBind(ErrorHandle& errors, sb4 valueSize, ub2 type, ub4 maxArrayLength, ub4 mode) {
  if (mode != OCI_DEFAULT) {
    // Binds that hand their value over in pieces are not supported.
    errors.Add(errors::BadModeValue());
    return OCI_ERROR;
  }
  // LOB values are written through locators, which no statement here takes as input.
  if (maxArrayLength > 0 || type == SQLT_CLOB || type == SQLT_BLOB || type == SQLT_BFILEE ||
      !ClientBuffer::SupportsType(type, valueSize)) {
    errors.Add(errors::UnsupportedDatatype());
    return OCI_ERROR;
  }
  return OCI_SUCCESS;
}

}  // namespace

extern "C" {

sword OCIStmtPrepare(OCIStmt* stmtp, OCIError* errhp, const OraText* stmt, ub4 stmt_len,
                     ub4 language, ub4 mode) {
  (void)language;
  (void)mode;
  return ApiCall([&](HandleRegistry& registry) {
    auto* errors = registry.Find<ErrorHandle>(errhp);
    auto* statement = registry.Find<StatementHandle>(stmtp);
    if (errors == nullptr || statement == nullptr)
      return OCI_INVALID_HANDLE;
    errors->BeginCall();
    std::string text;
    if (stmt != nullptr)
      text.assign(reinterpret_cast<const char*>(stmt), stmt_len);
    return statement->Prepare(std::move(text), *errors);
  });
}

sword OCIBindByName(OCIStmt* stmtp, OCIBind** bindp, OCIError* errhp, const OraText* placeholder,
                    sb4 placeh_len, void* valuep, sb4 value_sz, ub2 dty, void* indp, ub2* alenp,
                    ub2* rcodep, ub4 maxarr_len, ub4* curelep, ub4 mode) {
  (void)curelep;
  return ApiCall([&](HandleRegistry& registry) {
    auto* errors = registry.Find<ErrorHandle>(errhp);
    auto* statement = registry.Find<StatementHandle>(stmtp);
    if (errors == nullptr || statement == nullptr || bindp == nullptr)
      return OCI_INVALID_HANDLE;
    errors->BeginCall();
    if (placeholder == nullptr || placeh_len <= 0) {
      errors->Add(errors::IllegalVariableName());
      return OCI_ERROR;
    }
    if (sword status = CheckBind(*errors, value_sz, dty, maxarr_len, mode); status != OCI_SUCCESS) {
      return status;
    }
    std::string name(reinterpret_cast<const char*>(placeholder), static_cast<size_t>(placeh_len));
    BindHandle* bind = nullptr;
    sword status = statement->BindByName(
        std::move(name), ClientBuffer(valuep, value_sz, dty, indp, alenp, rcodep), bind, *errors);
    if (status == OCI_SUCCESS)
      *bindp = static_cast<OCIBind*>(ToClient(bind));
    return status;
  });
}

sword OCIBindByPos(OCIStmt* stmtp, OCIBind** bindp, OCIError* errhp, ub4 position, void* valuep,
                   sb4 value_sz, ub2 dty, void* indp, ub2* alenp, ub2* rcodep, ub4 maxarr_len,
                   ub4* curelep, ub4 mode) {
  (void)curelep;
  return ApiCall([&](HandleRegistry& registry) {
    auto* errors = registry.Find<ErrorHandle>(errhp);
    auto* statement = registry.Find<StatementHandle>(stmtp);
    if (errors == nullptr || statement == nullptr || bindp == nullptr)
      return OCI_INVALID_HANDLE;
    errors->BeginCall();
    if (sword status = CheckBind(*errors, value_sz, dty, maxarr_len, mode); status != OCI_SUCCESS) {
      return status;
    }
    BindHandle* bind = nullptr;
    sword status = statement->BindByPosition(
        position, ClientBuffer(valuep, value_sz, dty, indp, alenp, rcodep), bind, *errors);
    if (status == OCI_SUCCESS)
      *bindp = static_cast<OCIBind*>(ToClient(bind));
    return status;
  });
}

sword OCIDefineByPos(OCIStmt* stmtp, OCIDefine** defnp, OCIError* errhp, ub4 position, void* valuep,
                     sb4 value_sz, ub2 dty, void* indp, ub2* rlenp, ub2* rcodep, ub4 mode) {
  return ApiCall([&](HandleRegistry& registry) {
    auto* errors = registry.Find<ErrorHandle>(errhp);
    auto* statement = registry.Find<StatementHandle>(stmtp);
    if (errors == nullptr || statement == nullptr || defnp == nullptr)
      return OCI_INVALID_HANDLE;
    errors->BeginCall();
    if ((mode & ~OCI_DYNAMIC_FETCH) != 0) {
      errors->Add(errors::BadModeValue());
      return OCI_ERROR;
    }
    bool dynamic = (mode & OCI_DYNAMIC_FETCH) != 0;
    // A column holding a cursor (CURSOR(...) in a select list) is not kept.
    if (dty == SQLT_RSET || (dynamic ? !ClientBuffer::SupportsPieces(dty)
                                     : !ClientBuffer::SupportsType(dty, value_sz))) {
      errors->Add(errors::UnsupportedDatatype());
      return OCI_ERROR;
    }
    DefineHandle* define = nullptr;
    sword status = statement->Define(
        position,
        ClientBuffer(dynamic ? nullptr : valuep, dynamic ? 0 : value_sz, dty, indp, rlenp, rcodep),
        dynamic, define, *errors);
    if (status == OCI_SUCCESS)
      *defnp = static_cast<OCIDefine*>(ToClient(define));
    return status;
  });
}

sword OCIStmtExecute(OCISvcCtx* svchp, OCIStmt* stmtp, OCIError* errhp, ub4 iters, ub4 rowoff,
                     const OCISnapshot* snap_in, OCISnapshot* snap_out, ub4 mode) {
  // Every statement reads the latest committed state: snapshots change nothing.
  (void)snap_in;
  (void)snap_out;
  return ApiCall([&](HandleRegistry& registry) {
    auto* errors = registry.Find<ErrorHandle>(errhp);
    auto* context = registry.Find<ServiceContextHandle>(svchp);
    auto* statement = registry.Find<StatementHandle>(stmtp);
    if (errors == nullptr || context == nullptr || statement == nullptr) {
      return OCI_INVALID_HANDLE;
    }
    errors->BeginCall();
    if (SessionHandle* session = context->Session(); session != nullptr && session->GetConnection())
      ConnectionBreaker::Instance().BeforeCall(*session->GetConnection(),
                                               ConnectionBreaker::Call::Execute);
    return statement->Execute(*context, iters, rowoff, mode, *errors);
  });
}

sword OCIStmtFetch(OCIStmt* stmtp, OCIError* errhp, ub4 nrows, ub2 orientation, ub4 mode) {
  (void)mode;
  return ApiCall([&](HandleRegistry& registry) {
    auto* errors = registry.Find<ErrorHandle>(errhp);
    auto* statement = registry.Find<StatementHandle>(stmtp);
    if (errors == nullptr || statement == nullptr)
      return OCI_INVALID_HANDLE;
    errors->BeginCall();
    return statement->Fetch(nrows, orientation, *errors);
  });
}

// Scrollable cursors are not offered: only OCI_FETCH_NEXT, whose offset
// counts for nothing.
sword OCIStmtFetch2(OCIStmt* stmtp, OCIError* errhp, ub4 nrows, ub2 orientation, sb4 fetchOffset,
                    ub4 mode) {
  (void)fetchOffset;
  return OCIStmtFetch(stmtp, errhp, nrows, orientation, mode);
}

sword OCIStmtGetPieceInfo(OCIStmt* stmtp, OCIError* errhp, void** hndlpp, ub4* typep, ub1* in_outp,
                          ub4* iterp, ub4* idxp, ub1* piecep) {
  return ApiCall([&](HandleRegistry& registry) {
    auto* errors = registry.Find<ErrorHandle>(errhp);
    auto* statement = registry.Find<StatementHandle>(stmtp);
    if (errors == nullptr || statement == nullptr)
      return OCI_INVALID_HANDLE;
    errors->BeginCall();
    DefineHandle* define = nullptr;
    ub4 iteration = 0;
    ub1 piece = OCI_ONE_PIECE;
    sword status = statement->PendingPiece(define, iteration, piece, *errors);
    if (status != OCI_SUCCESS)
      return status;
    if (hndlpp != nullptr)
      *hndlpp = ToClient(define);
    if (typep != nullptr)
      *typep = OCI_HTYPE_DEFINE;
    if (in_outp != nullptr)
      *in_outp = OCI_PARAM_OUT;
    if (iterp != nullptr)
      *iterp = iteration;
    if (idxp != nullptr)
      *idxp = 0;
    if (piecep != nullptr)
      *piecep = piece;
    return OCI_SUCCESS;
  });
}

sword OCIStmtSetPieceInfo(void* hndlp, ub4 type, OCIError* errhp, const void* bufp, ub4* alenp,
                          ub1 piece, const void* indp, ub2* rcodep) {
  (void)piece;
  return ApiCall([&](HandleRegistry& registry) {
    auto* errors = registry.Find<ErrorHandle>(errhp);
    // Only output pieces exist here: binds never take their value in pieces.
    auto* define = type == OCI_HTYPE_DEFINE ? registry.Find<DefineHandle>(hndlp) : nullptr;
    if (errors == nullptr || define == nullptr)
      return OCI_INVALID_HANDLE;
    errors->BeginCall();
    if (alenp == nullptr || (bufp == nullptr && *alenp > 0)) {
      errors->Add(errors::BadPieceBuffer());
      return OCI_ERROR;
    }
    // The indicator is written through: OCI declares it const only for input pieces.
    define->Piece() = {const_cast<void*>(bufp), alenp, static_cast<sb2*>(const_cast<void*>(indp)),
                       rcodep};
    return OCI_SUCCESS;
  });
}

sword OCIParamGet(const void* hndlp, ub4 htype, OCIError* errhp, void** parmdpp, ub4 pos) {
  return ApiCall([&](HandleRegistry& registry) {
    auto* errors = registry.Find<ErrorHandle>(errhp);
    // Select lists of statements, and column lists of explicit describes.
    auto* statement = htype == OCI_HTYPE_STMT ? registry.Find<StatementHandle>(hndlp) : nullptr;
    auto* list = htype == OCI_DTYPE_PARAM
                     ? dynamic_cast<ColumnListDescriptor*>(registry.Find(hndlp, htype))
                     : nullptr;
    if (errors == nullptr || (statement == nullptr && list == nullptr) || parmdpp == nullptr) {
      return OCI_INVALID_HANDLE;
    }
    errors->BeginCall();
    Handle* descriptor = nullptr;
    sword status = statement != nullptr ? statement->Parameter(pos, descriptor, *errors)
                                        : list->Column(pos, descriptor, *errors);
    if (status == OCI_SUCCESS)
      *parmdpp = ToClient(descriptor);
    return status;
  });
}

sword OCIDescribeAny(OCISvcCtx* svchp, OCIError* errhp, void* objptr, ub4 objnm_len, ub1 objptr_typ,
                     ub1 info_level, ub1 objtyp, OCIDescribe* dschp) {
  (void)info_level;
  return ApiCall([&](HandleRegistry& registry) {
    auto* errors = registry.Find<ErrorHandle>(errhp);
    auto* context = registry.Find<ServiceContextHandle>(svchp);
    auto* describe = registry.Find<DescribeHandle>(dschp);
    if (errors == nullptr || context == nullptr || describe == nullptr)
      return OCI_INVALID_HANDLE;
    errors->BeginCall();
    // Objects are described by name only; no object references exist here.
    if (objptr_typ != OCI_OTYPE_NAME || objptr == nullptr || objnm_len == 0) {
      errors->Add(errors::BadModeValue());
      return OCI_ERROR;
    }
    std::shared_ptr<Connection> connection;
    sandbox::OraError error;
    if (!context->UsableConnection(connection, error)) {
      errors->Add(error);
      return OCI_ERROR;
    }
    std::string name(static_cast<const char*>(objptr), objnm_len);
    return describe->Describe(connection->GetSession(), name, objtyp, *errors);
  });
}

}  // extern "C"

static_assert(std::is_same_v<decltype(&OCIStmtPrepare), PFN_OCIStmtPrepare>);
static_assert(std::is_same_v<decltype(&OCIBindByName), PFN_OCIBindByName>);
static_assert(std::is_same_v<decltype(&OCIBindByPos), PFN_OCIBindByPos>);
static_assert(std::is_same_v<decltype(&OCIDefineByPos), PFN_OCIDefineByPos>);
static_assert(std::is_same_v<decltype(&OCIStmtExecute), PFN_OCIStmtExecute>);
static_assert(std::is_same_v<decltype(&OCIStmtFetch), PFN_OCIStmtFetch>);
static_assert(std::is_same_v<decltype(&OCIStmtFetch2), PFN_OCIStmtFetch2>);
static_assert(std::is_same_v<decltype(&OCIStmtGetPieceInfo), PFN_OCIStmtGetPieceInfo>);
static_assert(std::is_same_v<decltype(&OCIStmtSetPieceInfo), PFN_OCIStmtSetPieceInfo>);
static_assert(std::is_same_v<decltype(&OCIParamGet), PFN_OCIParamGet>);
static_assert(std::is_same_v<decltype(&OCIDescribeAny), PFN_OCIDescribeAny>);
