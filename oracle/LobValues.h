// LobValues: the OCI LOB locators of one LOB column of an array fetch (one
// per row, freed with the array), the reading of a located value in pieces,
// so that a value of any size passes through a bounded buffer, and the
// directory and file name a BFILE locator points at.
#pragma once

#include <string>
#include <vector>

#include "oracle/OciApi.h"

class OracleSession;

class LobLocatorArray {
 public:
  // descriptorType: OCI_DTYPE_LOB for CLOB and BLOB columns, OCI_DTYPE_FILE
  // for BFILE columns.
  LobLocatorArray(OracleSession& session, int rows, ub4 descriptorType = OCI_DTYPE_LOB);
  ~LobLocatorArray();
  LobLocatorArray(const LobLocatorArray&) = delete;
  LobLocatorArray& operator=(const LobLocatorArray&) = delete;

  // False when the client could not allocate every locator.
  bool IsValid() const { return valid_; }
  OCILobLocator** Data() { return locators_.data(); }
  OCILobLocator* At(int row) const { return locators_[static_cast<std::size_t>(row)]; }

 private:
  OracleSession& session_;
  ub4 descriptorType_;
  std::vector<OCILobLocator*> locators_;
  bool valid_ = true;
};

// The directory object and file name of a BFILE locator; false when the
// client failed (the session's LastError holds why).
bool BfileName(OracleSession& session, const OCILobLocator* locator, std::string& directory,
               std::string& file);

class LobReader {
 public:
  // characters: a CLOB or NCLOB, read and measured in characters of the
  // client's character set (UTF-8); else a BLOB, in bytes.
  LobReader(OracleSession& session, OCILobLocator* locator, bool characters);

  // The value's length in characters or bytes; false when the client failed.
  bool Length(ub4& length);
  // The next piece, at most maxBytes bytes (at least 4) and never ending
  // inside a character. False at the end of the value or on a failure, which
  // Failed() tells apart (the session's LastError holds it).
  bool NextPiece(std::string& piece, std::size_t maxBytes);
  bool Failed() const { return failed_; }

 private:
  OracleSession& session_;
  OCILobLocator* locator_;
  bool characters_;
  ub4 offset_ = 1;  // of the next piece, in characters or bytes
  bool failed_ = false;
  std::vector<char> buffer_;
};
