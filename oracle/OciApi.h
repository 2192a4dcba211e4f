// OCI 8 handle interface: the types, constants and entry-point signatures that
// this program uses, declared here (and only here) so that the client library
// can be loaded at run time without Oracle's headers. Every width and every
// parameter order must match a real client's ABI: the same declarations are
// used against the installed Oracle client on a user's machine.
#pragma once

#include <cstddef>
#include <cstdint>

#if defined(_WIN32) && !defined(_WIN64)
#define OCI_CALL __cdecl
#else
#define OCI_CALL
#endif

extern "C" {

using ub1 = std::uint8_t;
using sb1 = std::int8_t;
using ub2 = std::uint16_t;
using sb2 = std::int16_t;
using ub4 = std::uint32_t;
using sb4 = std::int32_t;
using sword = std::int32_t;
using OraText = unsigned char;

typedef struct OCIEnv OCIEnv;
typedef struct OCIError OCIError;
typedef struct OCISvcCtx OCISvcCtx;
typedef struct OCIStmt OCIStmt;
typedef struct OCIBind OCIBind;
typedef struct OCIDefine OCIDefine;
typedef struct OCIDescribe OCIDescribe;
typedef struct OCIServer OCIServer;
typedef struct OCISession OCISession;
typedef struct OCISnapshot OCISnapshot;
typedef struct OCILobLocator OCILobLocator;
typedef struct OCIParam OCIParam;
typedef struct cda_def Lda_Def;  // opaque, by pointer only

typedef void*(OCI_CALL* PFN_OCIMallocCb)(void* ctxp, size_t size);
typedef void*(OCI_CALL* PFN_OCIReallocCb)(void* ctxp, void* memptr, size_t newsize);
typedef void(OCI_CALL* PFN_OCIFreeCb)(void* ctxp, void* memptr);

typedef sword(OCI_CALL* PFN_OCIInitialize)(ub4 mode, void* ctxp, PFN_OCIMallocCb malocfp,
                                           PFN_OCIReallocCb ralocfp, PFN_OCIFreeCb mfreefp);
typedef sword(OCI_CALL* PFN_OCIEnvInit)(OCIEnv** envp, ub4 mode, size_t xtramem_sz,
                                        void** usrmempp);
typedef sword(OCI_CALL* PFN_OCIHandleAlloc)(const void* parenth, void** hndlpp, const ub4 type,
                                            const size_t xtramem_sz, void** usrmempp);
typedef sword(OCI_CALL* PFN_OCIHandleFree)(void* hndlp, const ub4 type);
typedef sword(OCI_CALL* PFN_OCIDescriptorAlloc)(const void* parenth, void** descpp, const ub4 type,
                                                const size_t xtramem_sz, void** usrmempp);
typedef sword(OCI_CALL* PFN_OCIDescriptorFree)(void* descp, const ub4 type);
typedef sword(OCI_CALL* PFN_OCIServerAttach)(OCIServer* srvhp, OCIError* errhp,
                                             const OraText* dblink, sb4 dblink_len, ub4 mode);
typedef sword(OCI_CALL* PFN_OCIServerDetach)(OCIServer* srvhp, OCIError* errhp, ub4 mode);
typedef sword(OCI_CALL* PFN_OCISessionBegin)(OCISvcCtx* svchp, OCIError* errhp, OCISession* usrhp,
                                             ub4 credt, ub4 mode);
typedef sword(OCI_CALL* PFN_OCISessionEnd)(OCISvcCtx* svchp, OCIError* errhp, OCISession* usrhp,
                                           ub4 mode);
typedef sword(OCI_CALL* PFN_OCILogoff)(OCISvcCtx* svchp, OCIError* errhp);
typedef sword(OCI_CALL* PFN_OCIStmtPrepare)(OCIStmt* stmtp, OCIError* errhp, const OraText* stmt,
                                            ub4 stmt_len, ub4 language, ub4 mode);
typedef sword(OCI_CALL* PFN_OCIBindByPos)(OCIStmt* stmtp, OCIBind** bindp, OCIError* errhp,
                                          ub4 position, void* valuep, sb4 value_sz, ub2 dty,
                                          void* indp, ub2* alenp, ub2* rcodep, ub4 maxarr_len,
                                          ub4* curelep, ub4 mode);
typedef sword(OCI_CALL* PFN_OCIBindByName)(OCIStmt* stmtp, OCIBind** bindp, OCIError* errhp,
                                           const OraText* placeholder, sb4 placeh_len, void* valuep,
                                           sb4 value_sz, ub2 dty, void* indp, ub2* alenp,
                                           ub2* rcodep, ub4 maxarr_len, ub4* curelep, ub4 mode);
typedef sword(OCI_CALL* PFN_OCIStmtGetPieceInfo)(OCIStmt* stmtp, OCIError* errhp, void** hndlpp,
                                                 ub4* typep, ub1* in_outp, ub4* iterp, ub4* idxp,
                                                 ub1* piecep);
typedef sword(OCI_CALL* PFN_OCIStmtSetPieceInfo)(void* hndlp, ub4 type, OCIError* errhp,
                                                 const void* bufp, ub4* alenp, ub1 piece,
                                                 const void* indp, ub2* rcodep);
typedef sword(OCI_CALL* PFN_OCIStmtExecute)(OCISvcCtx* svchp, OCIStmt* stmtp, OCIError* errhp,
                                            ub4 iters, ub4 rowoff, const OCISnapshot* snap_in,
                                            OCISnapshot* snap_out, ub4 mode);
typedef sword(OCI_CALL* PFN_OCIDefineByPos)(OCIStmt* stmtp, OCIDefine** defnp, OCIError* errhp,
                                            ub4 position, void* valuep, sb4 value_sz, ub2 dty,
                                            void* indp, ub2* rlenp, ub2* rcodep, ub4 mode);
typedef sword(OCI_CALL* PFN_OCIStmtFetch)(OCIStmt* stmtp, OCIError* errhp, ub4 nrows,
                                          ub2 orientation, ub4 mode);
typedef sword(OCI_CALL* PFN_OCIStmtFetch2)(OCIStmt* stmtp, OCIError* errhp, ub4 nrows,
                                           ub2 orientation, sb4 fetchOffset, ub4 mode);
typedef sword(OCI_CALL* PFN_OCIDescribeAny)(OCISvcCtx* svchp, OCIError* errhp, void* objptr,
                                            ub4 objnm_len, ub1 objptr_typ, ub1 info_level,
                                            ub1 objtyp, OCIDescribe* dschp);
typedef sword(OCI_CALL* PFN_OCIParamGet)(const void* hndlp, ub4 htype, OCIError* errhp,
                                         void** parmdpp, ub4 pos);
typedef sword(OCI_CALL* PFN_OCIErrorGet)(void* hndlp, ub4 recordno, OraText* sqlstate,
                                         sb4* errcodep, OraText* bufp, ub4 bufsiz, ub4 type);
typedef sword(OCI_CALL* PFN_OCILobGetLength)(OCISvcCtx* svchp, OCIError* errhp, OCILobLocator* locp,
                                             ub4* lenp);
// Called by OCILobRead for each piece in callback mode (not used here).
typedef sb4(OCI_CALL* OCICallbackLobRead)(void* ctxp, const void* bufp, ub4 len, ub1 piece);
typedef sword(OCI_CALL* PFN_OCILobRead)(OCISvcCtx* svchp, OCIError* errhp, OCILobLocator* locp,
                                        ub4* amtp, ub4 offset, void* bufp, ub4 bufl, void* ctxp,
                                        OCICallbackLobRead cbfp, ub2 csid, ub1 csfrm);
typedef sword(OCI_CALL* PFN_OCILobFileGetName)(OCIEnv* envhp, OCIError* errhp,
                                               const OCILobLocator* filep, OraText* dir_alias,
                                               ub2* d_length, OraText* filename, ub2* f_length);
typedef sword(OCI_CALL* PFN_OCIBreak)(void* hndlp, OCIError* errhp);
typedef sword(OCI_CALL* PFN_OCIReset)(void* hndlp, OCIError* errhp);
typedef sword(OCI_CALL* PFN_OCIServerVersion)(void* hndlp, OCIError* errhp, OraText* bufp,
                                              ub4 bufsz, ub1 hndltype);
typedef sword(OCI_CALL* PFN_OCIAttrGet)(const void* trgthndlp, ub4 trghndltyp, void* attributep,
                                        ub4* sizep, ub4 attrtype, OCIError* errhp);
typedef sword(OCI_CALL* PFN_OCIAttrSet)(void* trgthndlp, ub4 trghndltyp, void* attributep, ub4 size,
                                        ub4 attrtype, OCIError* errhp);
typedef sword(OCI_CALL* PFN_OCILdaToSvcCtx)(OCISvcCtx** svchpp, OCIError* errhp, Lda_Def* ldap);

}  // extern "C"

// Constants, under the names of Oracle's headers.

// Handle and descriptor types.
inline constexpr ub4 OCI_HTYPE_ENV = 1;
inline constexpr ub4 OCI_HTYPE_ERROR = 2;
inline constexpr ub4 OCI_HTYPE_SVCCTX = 3;
inline constexpr ub4 OCI_HTYPE_STMT = 4;
inline constexpr ub4 OCI_HTYPE_BIND = 5;
inline constexpr ub4 OCI_HTYPE_DEFINE = 6;
inline constexpr ub4 OCI_HTYPE_DESCRIBE = 7;
inline constexpr ub4 OCI_HTYPE_SERVER = 8;
inline constexpr ub4 OCI_HTYPE_SESSION = 9;
inline constexpr ub4 OCI_DTYPE_LOB = 50;
inline constexpr ub4 OCI_DTYPE_PARAM = 53;
inline constexpr ub4 OCI_DTYPE_ROWID = 54;
inline constexpr ub4 OCI_DTYPE_FILE = 56;

// Attributes. Numbers are unique only within one kind of target: the describe
// attributes (DATA_SIZE .. IS_NULL) reuse numbers of handle attributes.
inline constexpr ub4 OCI_ATTR_SERVER = 6;
inline constexpr ub4 OCI_ATTR_SESSION = 7;
inline constexpr ub4 OCI_ATTR_ROW_COUNT = 9;
inline constexpr ub4 OCI_ATTR_SQLFNCODE = 10;
inline constexpr ub4 OCI_ATTR_PREFETCH_ROWS = 11;
inline constexpr ub4 OCI_ATTR_PREFETCH_MEMORY = 13;
inline constexpr ub4 OCI_ATTR_PARAM_COUNT = 18;
inline constexpr ub4 OCI_ATTR_USERNAME = 22;
inline constexpr ub4 OCI_ATTR_PASSWORD = 23;
inline constexpr ub4 OCI_ATTR_STMT_TYPE = 24;
inline constexpr ub4 OCI_ATTR_CHARSET_FORM = 32;
inline constexpr ub4 OCI_ATTR_DATA_SIZE = 1;
inline constexpr ub4 OCI_ATTR_DATA_TYPE = 2;
inline constexpr ub4 OCI_ATTR_NAME = 4;
inline constexpr ub4 OCI_ATTR_PRECISION = 5;
inline constexpr ub4 OCI_ATTR_SCALE = 6;
inline constexpr ub4 OCI_ATTR_IS_NULL = 7;
inline constexpr ub4 OCI_ATTR_CHAR_USED = 285;
inline constexpr ub4 OCI_ATTR_CHAR_SIZE = 286;

// Modes.
inline constexpr ub4 OCI_DEFAULT = 0x00000000;
inline constexpr ub4 OCI_THREADED = 0x00000001;
inline constexpr ub4 OCI_OBJECT = 0x00000002;
inline constexpr ub4 OCI_CRED_RDBMS = 1;
inline constexpr ub4 OCI_CRED_EXT = 2;
inline constexpr ub4 OCI_NTV_SYNTAX = 1;
inline constexpr ub4 OCI_V7_SYNTAX = 2;
inline constexpr ub4 OCI_V8_SYNTAX = 3;
inline constexpr ub2 OCI_FETCH_NEXT = 0x0002;
inline constexpr ub4 OCI_DYNAMIC_FETCH = 0x00000002;
inline constexpr ub4 OCI_DATA_AT_EXEC = 0x00000002;
inline constexpr ub4 OCI_EXACT_FETCH = 0x00000002;
inline constexpr ub4 OCI_DESCRIBE_ONLY = 0x00000010;
inline constexpr ub4 OCI_COMMIT_ON_SUCCESS = 0x00000020;
inline constexpr ub4 OCI_BATCH_ERRORS = 0x00000080;
inline constexpr ub4 OCI_PARSE_ONLY = 0x00000100;

// Return codes.
inline constexpr sword OCI_SUCCESS = 0;
inline constexpr sword OCI_SUCCESS_WITH_INFO = 1;
inline constexpr sword OCI_NEED_DATA = 99;
inline constexpr sword OCI_NO_DATA = 100;
inline constexpr sword OCI_ERROR = -1;
inline constexpr sword OCI_INVALID_HANDLE = -2;
inline constexpr sword OCI_STILL_EXECUTING = -3123;
inline constexpr sword OCI_CONTINUE = -24200;

// Pieces and piece directions.
inline constexpr ub1 OCI_ONE_PIECE = 0;
inline constexpr ub1 OCI_FIRST_PIECE = 1;
inline constexpr ub1 OCI_NEXT_PIECE = 2;
inline constexpr ub1 OCI_LAST_PIECE = 3;
inline constexpr ub1 OCI_PARAM_IN = 0x01;
inline constexpr ub1 OCI_PARAM_OUT = 0x02;

// Statement types (OCI_ATTR_STMT_TYPE, a ub2).
inline constexpr ub2 OCI_STMT_UNKNOWN = 0;
inline constexpr ub2 OCI_STMT_SELECT = 1;
inline constexpr ub2 OCI_STMT_UPDATE = 2;
inline constexpr ub2 OCI_STMT_DELETE = 3;
inline constexpr ub2 OCI_STMT_INSERT = 4;
inline constexpr ub2 OCI_STMT_CREATE = 5;
inline constexpr ub2 OCI_STMT_DROP = 6;
inline constexpr ub2 OCI_STMT_ALTER = 7;
inline constexpr ub2 OCI_STMT_BEGIN = 8;
inline constexpr ub2 OCI_STMT_DECLARE = 9;
inline constexpr ub2 OCI_STMT_CALL = 10;
inline constexpr ub2 OCI_STMT_MERGE = 16;
inline constexpr ub2 OCI_STMT_ROLLBACK = 17;
inline constexpr ub2 OCI_STMT_COMMIT = 21;

// External data types (bind and define dty, and OCI_ATTR_DATA_TYPE).
inline constexpr ub2 SQLT_CHR = 1;
inline constexpr ub2 SQLT_NUM = 2;
inline constexpr ub2 SQLT_INT = 3;
inline constexpr ub2 SQLT_FLT = 4;
inline constexpr ub2 SQLT_STR = 5;
inline constexpr ub2 SQLT_VNU = 6;
inline constexpr ub2 SQLT_LNG = 8;
inline constexpr ub2 SQLT_VCS = 9;
inline constexpr ub2 SQLT_RID = 11;
inline constexpr ub2 SQLT_DAT = 12;
inline constexpr ub2 SQLT_BFLOAT = 21;
inline constexpr ub2 SQLT_BDOUBLE = 22;
inline constexpr ub2 SQLT_BIN = 23;
inline constexpr ub2 SQLT_LBI = 24;
inline constexpr ub2 SQLT_LVC = 94;
inline constexpr ub2 SQLT_LVB = 95;
inline constexpr ub2 SQLT_AFC = 96;
inline constexpr ub2 SQLT_AVC = 97;
inline constexpr ub2 SQLT_IBFLOAT = 100;
inline constexpr ub2 SQLT_IBDOUBLE = 101;
inline constexpr ub2 SQLT_CUR = 102;
inline constexpr ub2 SQLT_RDD = 104;
inline constexpr ub2 SQLT_NTY = 108;
inline constexpr ub2 SQLT_REF = 110;
inline constexpr ub2 SQLT_CLOB = 112;
inline constexpr ub2 SQLT_BLOB = 113;
inline constexpr ub2 SQLT_BFILEE = 114;
inline constexpr ub2 SQLT_CFILEE = 115;
inline constexpr ub2 SQLT_RSET = 116;
inline constexpr ub2 SQLT_NCO = 122;
inline constexpr ub2 SQLT_ODT = 156;
inline constexpr ub2 SQLT_DATE = 184;
inline constexpr ub2 SQLT_TIME = 185;
inline constexpr ub2 SQLT_TIME_TZ = 186;
inline constexpr ub2 SQLT_TIMESTAMP = 187;
inline constexpr ub2 SQLT_TIMESTAMP_TZ = 188;
inline constexpr ub2 SQLT_INTERVAL_YM = 189;
inline constexpr ub2 SQLT_INTERVAL_DS = 190;
inline constexpr ub2 SQLT_TIMESTAMP_LTZ = 232;

// Character set forms (OCI_ATTR_CHARSET_FORM).
inline constexpr ub1 SQLCS_IMPLICIT = 1;
inline constexpr ub1 SQLCS_NCHAR = 2;

// Describe helpers.
inline constexpr ub1 OCI_OTYPE_NAME = 1;
inline constexpr ub1 OCI_PTYPE_TABLE = 1;
inline constexpr ub1 OCI_PTYPE_VIEW = 2;
inline constexpr ub1 OCI_PTYPE_COL = 9;
inline constexpr ub1 OCI_PTYPE_LIST = 11;

// Message buffer sizes for OCIErrorGet.
inline constexpr ub4 OCI_ERROR_MAXMSG_SIZE = 1024;
inline constexpr ub4 OCI_ERROR_MAXMSG_SIZE2 = 3072;
