// OracleStatement is one prepared statement of an OracleSession: all values
// travel as text in caller-owned buffers, selected rows arrive in batches of
// as many rows as the array defines hold. Usual order: Prepare, binds, defines, Execute; when it
// returns true process rows 0 .. RowsInBatch() - 1, then FetchNext and process
// each new batch for as long as it returns true.
//
// Prepare, bind and define failures are silent; the following Execute fails
// and the caller reports through OracleSession::ReportError.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "oracle/OciApi.h"

class OracleSession;

class OracleStatement {
 public:
  static constexpr int MaxArrayColumns = 2000;
  // Rows of one fetch of the dictionary reads.
  static constexpr int MaxRowsPerFetch = 20;
  // Rows of one array define at most (ub2 return lengths index them).
  static constexpr int MaxArrayRows = 32767;
  // Size of one piece of a piecewise LONG fetch.
  static constexpr ub4 LongPieceSize = 10240;

  explicit OracleStatement(OracleSession& session);
  ~OracleStatement();
  OracleStatement(const OracleStatement&) = delete;
  OracleStatement& operator=(const OracleStatement&) = delete;

  // Prepares text after reducing every "%%" to "%"; a new text resets the
  // batch counters.
  void Prepare(const std::string& text);
  static std::string ReducePercents(const std::string& text);

  // buffer holds maxLength + 1 bytes (a null-terminated string).
  void BindString(const std::string& name, char* buffer, int maxLength, sb2* indicator = nullptr);
  void BindInt(const std::string& name, int* value);
  void DefineString(int position, char* buffer, int maxLength, sb2* indicator = nullptr);
  // rows consecutive slots of maxLength + 1 bytes; uses the statement's own
  // indicators. rows is limited to MaxArrayRows and position to
  // MaxArrayColumns. A NULL value reads as an empty string.
  void DefineStringArray(int position, char* buffer, int maxLength, int rows);
  // The LOB values of the column at position (type SQLT_CLOB, SQLT_BLOB or
  // SQLT_BFILEE) into rows locators the caller allocated (OCI_DTYPE_LOB, or
  // OCI_DTYPE_FILE for a BFILE); a NULL value
  // shows in Indicator. Limits as for DefineStringArray.
  void DefineLobArray(int position, OCILobLocator** locators, ub2 type, int rows);
  // The same with caller-supplied indicators and return lengths (rows each).
  void DefineStringArrayWith(int position, char* buffer, int maxLength, int rows, sb2* indicators,
                             ub2* lengths);

  // Executes; a SELECT also fetches its first batch, except when count is
  // requested: then it only executes and describes. False for an error or for
  // a SELECT without rows.
  bool Execute(int* sqlFunctionCode = nullptr, int* count = nullptr, int* status = nullptr,
               short* statementType = nullptr);
  // False at the end of the rows and on failure; FetchFailed tells them apart.
  bool FetchNext();
  // True when the last FetchNext or FetchLongPieces ended in an error rather
  // than at the end of the rows (the session's LastError holds it).
  bool FetchFailed() const { return fetchFailed_; }

  // Asks the client to bring rows ahead of the fetches, by count and by
  // bytes (OCI_ATTR_PREFETCH_ROWS and _MEMORY); a client that refuses only
  // costs round trips.
  void SetPrefetch(ub4 rows, ub4 memoryBytes);

  // OCIStmtExecute with the given iterations and no batch bookkeeping.
  sword ExecuteWithIterations(ub4 iterations);
  // Reads the LONG column at position of the next row piece by piece into
  // value (the statement is executed without fetching), calling onPiece after
  // each piece. Returns false when there was no row or the fetch failed;
  // FetchFailed tells them apart, the session's LastError holds the failure
  // (not reported here) and value may then hold a part of the value only.
  bool FetchLongPieces(int position, std::string& value, const std::function<void()>& onPiece);

  int RowsInBatch() const { return rowsInBatch_; }
  int RowsPerFetch() const { return rowsPerFetch_; }
  int TotalRows() const { return totalRows_; }
  short StatementType() const { return statementType_; }
  const std::string& Text() const { return text_; }
  // Indicator of row (0-based) of an array define at position (1-based).
  sb2 Indicator(int position, int row) const;

  // A value buffer that lives as long as the statement (first byte 0).
  char* AllocateAuxiliaryBuffer(std::size_t size);
  char* AuxiliaryBuffer() const { return auxiliary_.get(); }

  OCIStmt* Handle() const { return handle_; }
  OCIDefine* LastDefine() const { return define_; }

 private:
  // An array define with the statement's own indicators and lengths.
  struct OwnArrayDefine {
    char* buffer = nullptr;
    int maxLength = -1;  // -1: no array define at this position
    std::vector<sb2> indicators;
    std::vector<ub2> lengths;
  };

  bool CanCallServer() const;
  bool EnsureHandle();
  // The define record at position with indicators and lengths for rows;
  // nullptr (and the define refused) past MaxArrayColumns.
  OwnArrayDefine* ReserveArrayDefine(int position, int rows);
  void Define(int position, char* buffer, int maxLength, sb2* indicator, ub2* length);
  void BlankNullValues();
  ub4 ReadCountAttribute(ub4 attribute);

  OracleSession& session_;
  std::unique_ptr<char[]> auxiliary_;
  // By position - 1, as far as the highest array define.
  std::vector<OwnArrayDefine> ownArrayDefines_;
  int rowsInBatch_ = 0;
  bool fetchFailed_ = false;
  OCIStmt* handle_ = nullptr;
  unsigned handleGeneration_ = 0;
  short statementType_ = 0;
  int rowsPerFetch_ = 1;
  OCIDefine* define_ = nullptr;
  std::string text_;
  OCIBind* bind_ = nullptr;
  int totalRows_ = 0;
  std::string refusedDefine_;
};
