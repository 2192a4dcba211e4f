// LOB locators and piecewise reading through OCILobRead.
#include "oracle/LobValues.h"

#include <algorithm>

#include "oracle/OracleSession.h"

namespace {

// Characters of UTF-8 text: every byte that does not continue a sequence.
ub4 CharacterCount(const char* text, std::size_t size) {
  ub4 count = 0;
  for (std::size_t i = 0; i < size; ++i) {
    if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) {
      ++count;
    }
  }
  return count;
}

constexpr std::size_t MaxUtf8CharacterBytes = 4;

}  // namespace

LobLocatorArray::LobLocatorArray(OracleSession& session, int rows, ub4 descriptorType)
    : session_(session),
      descriptorType_(descriptorType),
      locators_(static_cast<std::size_t>(std::max(rows, 1)), nullptr) {
  for (OCILobLocator*& locator : locators_) {
    void* descriptor = nullptr;
    if (session_.Oci().OCIDescriptorAlloc(session_.Environment(), &descriptor, descriptorType_, 0,
                                          nullptr) != OCI_SUCCESS) {
      valid_ = false;
      return;
    }
    locator = static_cast<OCILobLocator*>(descriptor);
  }
}

LobLocatorArray::~LobLocatorArray() {
  for (OCILobLocator* locator : locators_) {
    if (locator != nullptr) {
      session_.Oci().OCIDescriptorFree(locator, descriptorType_);
    }
  }
}

LobReader::LobReader(OracleSession& session, OCILobLocator* locator, bool characters)
    : session_(session), locator_(locator), characters_(characters) {}

bool LobReader::Length(ub4& length) {
  length = 0;
  if (session_.Oci().OCILobGetLength(session_.ServiceContext(), session_.ErrorHandle(), locator_,
                                     &length) != OCI_SUCCESS) {
    failed_ = true;
    return false;
  }
  return true;
}

bool LobReader::NextPiece(std::string& piece, std::size_t maxBytes) {
  piece.clear();
  if (failed_) {
    return false;
  }
  maxBytes = std::max(maxBytes, MaxUtf8CharacterBytes);
  buffer_.resize(maxBytes);
  // Characters are asked for only as many as surely fit, so that the read
  // never needs a second call for the rest of its amount.
  ub4 amount = static_cast<ub4>(characters_ ? maxBytes / MaxUtf8CharacterBytes : maxBytes);
  const sword status = session_.Oci().OCILobRead(
      session_.ServiceContext(), session_.ErrorHandle(), locator_, &amount, offset_, buffer_.data(),
      static_cast<ub4>(buffer_.size()), nullptr, nullptr, 0, SQLCS_IMPLICIT);
  if (status == OCI_NO_DATA) {
    return false;
  }
  if (status != OCI_SUCCESS) {
    failed_ = true;
    return false;
  }
  // The amount read comes back in bytes for a client character set of
  // varying width, so the characters are counted here.
  const std::size_t bytes = std::min<std::size_t>(amount, buffer_.size());
  if (bytes == 0) {
    return false;
  }
  piece.assign(buffer_.data(), bytes);
  offset_ += characters_ ? CharacterCount(piece.data(), piece.size()) : static_cast<ub4>(bytes);
  return true;
}

bool BfileName(OracleSession& session, const OCILobLocator* locator, std::string& directory,
               std::string& file) {
  // A directory object's name has at most 128 bytes, a file name (a path
  // below the directory) at most 255 characters: room for both in UTF-8.
  constexpr ub2 DirectoryBytes = 128 * 4;
  constexpr ub2 FileBytes = 255 * 4;
  OraText directoryBuffer[DirectoryBytes];
  OraText fileBuffer[FileBytes];
  ub2 directoryLength = DirectoryBytes;
  ub2 fileLength = FileBytes;
  if (session.Oci().OCILobFileGetName(session.Environment(), session.ErrorHandle(), locator,
                                      directoryBuffer, &directoryLength, fileBuffer,
                                      &fileLength) != OCI_SUCCESS) {
    return false;
  }
  directory.assign(reinterpret_cast<const char*>(directoryBuffer),
                   std::min(directoryLength, DirectoryBytes));
  file.assign(reinterpret_cast<const char*>(fileBuffer), std::min(fileLength, FileBytes));
  return true;
}
