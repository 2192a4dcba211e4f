// DefineHandle: one select-list position defined into a client buffer by
// OCIDefineByPos. With OCI_DYNAMIC_FETCH the value is handed over in pieces:
// each OCIStmtSetPieceInfo names the buffer for the next piece. Owned by its
// statement.
#pragma once

#include "sandbox/oci/ClientBuffer.h"
#include "sandbox/oci/Handle.h"

namespace sandbox::oci {

// The buffer that OCIStmtSetPieceInfo supplied for the next piece.
struct PieceBuffer {
  void* data = nullptr;
  ub4* length = nullptr;  // in: room in data; out: bytes written
  sb2* indicator = nullptr;
  ub2* returnCode = nullptr;
};

class DefineHandle : public Handle {
 public:
  static constexpr ub4 kType = OCI_HTYPE_DEFINE;
  DefineHandle(Handle* parent, ub4 position) : Handle(kType, parent, 0), position_(position) {}

  ub4 Position() const { return position_; }
  const ClientBuffer& Buffer() const { return buffer_; }
  bool IsDynamic() const { return dynamic_; }
  void Set(const ClientBuffer& buffer, bool dynamic) {
    buffer_ = buffer;
    dynamic_ = dynamic;
  }

  PieceBuffer& Piece() { return piece_; }

 private:
  ub4 position_;
  ClientBuffer buffer_;
  bool dynamic_ = false;
  PieceBuffer piece_;
};

}  // namespace sandbox::oci
