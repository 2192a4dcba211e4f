// Piecewise fetch of LONG columns defined with OCI_DYNAMIC_FETCH.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "OciTestClient.h"

namespace sandbox::testing {
namespace {

class SandboxOciLongPieces : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(connection.ConnectFresh("PIECES")) << connection.LastErrorText();
    ASSERT_EQ(connection.Run("create table documents (id number, body long)"), OCI_SUCCESS)
        << connection.LastErrorText();
  }
  void Insert(int id, const std::string& body) {
    Statement statement(connection.Environment(), connection.Error(), connection.Context());
    ASSERT_EQ(statement.Prepare("insert into documents values (" + std::to_string(id) + ", :body)"),
              OCI_SUCCESS);
    OCIBind* bind = nullptr;
    ASSERT_EQ(Oci().BindByName(statement.Handle(), &bind, connection.Error(),
                               reinterpret_cast<const OraText*>(":body"), 5,
                               const_cast<char*>(body.data()), static_cast<sb4>(body.size()),
                               SQLT_LNG, nullptr, nullptr, nullptr, 0, nullptr, OCI_DEFAULT),
              OCI_SUCCESS);
    ASSERT_EQ(statement.Execute(1), OCI_SUCCESS) << statement.LastError().text;
  }

  // Fetches the body of document id in pieces of pieceSize bytes, recording
  // each fetch status and piece length.
  std::string FetchInPieces(int id, ub4 pieceSize, std::vector<sword>& statuses,
                            std::vector<ub4>& lengths, std::vector<ub1>& pieces) {
    Statement statement(connection.Environment(), connection.Error(), connection.Context());
    EXPECT_EQ(statement.Prepare("select body from documents where id = " + std::to_string(id)),
              OCI_SUCCESS);
    EXPECT_EQ(statement.Execute(0), OCI_SUCCESS);
    OCIDefine* define = nullptr;
    EXPECT_EQ(Oci().DefineByPos(statement.Handle(), &define, connection.Error(), 1, nullptr,
                                0x7FFFFFFF, SQLT_LNG, nullptr, nullptr, nullptr, OCI_DYNAMIC_FETCH),
              OCI_SUCCESS);
    std::string result;
    std::vector<char> buffer(pieceSize);
    sword status = statement.Fetch(1);
    statuses.push_back(status);
    while (status == OCI_NEED_DATA) {
      void* handle = nullptr;
      ub4 type = 0;
      ub1 direction = 0;
      ub4 iteration = 0;
      ub4 index = 0;
      ub1 piece = 0;
      EXPECT_EQ(Oci().StmtGetPieceInfo(statement.Handle(), connection.Error(), &handle, &type,
                                       &direction, &iteration, &index, &piece),
                OCI_SUCCESS);
      EXPECT_EQ(handle, define);
      EXPECT_EQ(type, OCI_HTYPE_DEFINE);
      EXPECT_EQ(direction, OCI_PARAM_OUT);
      pieces.push_back(piece);
      ub4 length = pieceSize;
      EXPECT_EQ(Oci().StmtSetPieceInfo(handle, OCI_HTYPE_DEFINE, connection.Error(), buffer.data(),
                                       &length, piece, nullptr, nullptr),
                OCI_SUCCESS);
      status = statement.Fetch(1);
      statuses.push_back(status);
      lengths.push_back(length);
      if (status == OCI_SUCCESS || status == OCI_NEED_DATA)
        result.append(buffer.data(), length);
    }
    return result;
  }

  TestConnection connection;
};

TEST_F(SandboxOciLongPieces, A25000ByteLongArrivesIn10240_10240And4520BytePieces) {
  std::string body;
  for (int i = 0; body.size() < 25000; ++i)
    body += static_cast<char>('a' + i % 26);
  Insert(1, body);

  std::vector<sword> statuses;
  std::vector<ub4> lengths;
  std::vector<ub1> pieces;
  std::string fetched = FetchInPieces(1, 10240, statuses, lengths, pieces);

  EXPECT_EQ(statuses,
            (std::vector<sword>{OCI_NEED_DATA, OCI_NEED_DATA, OCI_NEED_DATA, OCI_SUCCESS}));
  EXPECT_EQ(lengths, (std::vector<ub4>{10240, 10240, 4520}));
  EXPECT_EQ(pieces, (std::vector<ub1>{OCI_FIRST_PIECE, OCI_NEXT_PIECE, OCI_NEXT_PIECE}));
  EXPECT_EQ(fetched, body);
}

TEST_F(SandboxOciLongPieces, ValueOfExactlyOnePieceEndsWithTheFirstFilledPiece) {
  Insert(2, std::string(10240, 'x'));
  std::vector<sword> statuses;
  std::vector<ub4> lengths;
  std::vector<ub1> pieces;
  EXPECT_EQ(FetchInPieces(2, 10240, statuses, lengths, pieces), std::string(10240, 'x'));
  EXPECT_EQ(statuses, (std::vector<sword>{OCI_NEED_DATA, OCI_SUCCESS}));
}

TEST_F(SandboxOciLongPieces, FetchWithoutAPieceBufferIsRefused) {
  Insert(3, "short");
  Statement statement(connection.Environment(), connection.Error(), connection.Context());
  ASSERT_EQ(statement.Prepare("select body from documents"), OCI_SUCCESS);
  ASSERT_EQ(statement.Execute(0), OCI_SUCCESS);
  OCIDefine* define = nullptr;
  ASSERT_EQ(Oci().DefineByPos(statement.Handle(), &define, connection.Error(), 1, nullptr,
                              0x7FFFFFFF, SQLT_LNG, nullptr, nullptr, nullptr, OCI_DYNAMIC_FETCH),
            OCI_SUCCESS);
  ASSERT_EQ(statement.Fetch(1), OCI_NEED_DATA);
  EXPECT_EQ(statement.Fetch(1), OCI_ERROR);
  EXPECT_EQ(statement.LastError().code, 24306);
}

}  // namespace
}  // namespace sandbox::testing
