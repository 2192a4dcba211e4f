// A query read as it is fetched: OCIBreak from another thread, what other
// statements see of an open cursor, and memory that does not grow with rows.
#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <string>
#include <thread>

#include "OciTestClient.h"

namespace sandbox::testing {
namespace {

using Clock = std::chrono::steady_clock;

class SandboxOciStreaming : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(connection.ConnectFresh("STREAM")) << connection.LastErrorText();
  }

  // A table N of count rows: N = 1 .. count, and a text of width bytes.
  void FillTable(int count, int width) {
    ASSERT_EQ(connection.Run("create table N (N number, PAD varchar2(4000))"), OCI_SUCCESS)
        << connection.LastErrorText();
    ASSERT_EQ(
        connection.Run("insert into N values (1, rpad('x', " + std::to_string(width) + ", 'x'))"),
        OCI_SUCCESS)
        << connection.LastErrorText();
    // Doubling: a row generator whose cost is the rows it makes.
    for (int rows = 1; rows < count; rows *= 2) {
      ASSERT_EQ(connection.Run("insert into N select N + " + std::to_string(rows) +
                               ", PAD from N where N + " + std::to_string(rows) +
                               " <= " + std::to_string(count)),
                OCI_SUCCESS)
          << connection.LastErrorText();
    }
  }

  TestConnection connection;
};

// Resident memory of this process in kilobytes.
long ResidentKilobytes() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("VmRSS:", 0) == 0)
      return std::stol(line.substr(6));
  }
  return 0;
}

TEST_F(SandboxOciStreaming, BreakEndsARunningQueryAndTheSessionGoesOn) {
  FillTable(1000, 1);
  Statement query(connection.Environment(), connection.Error(), connection.Context());
  // A billion rows to count: far longer than the test may wait.
  ASSERT_EQ(query.Prepare("select count(*) from N a, N b, N c"), OCI_SUCCESS);
  char count[64] = {};
  ASSERT_EQ(query.DefineString(1, count, sizeof count), OCI_SUCCESS);
  OCIError* breakError = nullptr;
  ASSERT_EQ(Oci().HandleAlloc(connection.Environment(), reinterpret_cast<void**>(&breakError),
                              OCI_HTYPE_ERROR, 0, nullptr),
            OCI_SUCCESS);
  std::thread breaker([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_EQ(Oci().Break(connection.Context(), breakError), OCI_SUCCESS);
  });
  const Clock::time_point start = Clock::now();
  EXPECT_EQ(query.Execute(1), OCI_ERROR);
  const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
  breaker.join();
  EXPECT_EQ(query.LastError().code, 1013);
  EXPECT_EQ(query.LastError().text, "ORA-01013: user requested cancel of current operation\n");
  EXPECT_LT(seconds, 1.3);
  Oci().HandleFree(breakError, OCI_HTYPE_ERROR);

  // The session is usable at once, and so is the statement.
  EXPECT_EQ(connection.Rows("select count(*) from N where N <= 10"),
            std::vector<std::string>{"10"});
  ASSERT_EQ(query.Prepare("select max(N) from N"), OCI_SUCCESS);
  ASSERT_EQ(query.DefineString(1, count, sizeof count), OCI_SUCCESS);
  EXPECT_EQ(query.Execute(1), OCI_SUCCESS) << query.LastError().text;
  EXPECT_STREQ(count, "1000");
}

TEST_F(SandboxOciStreaming, ABreakBetweenCallsEndsTheNextUnlessReset) {
  FillTable(10, 1);
  ASSERT_EQ(Oci().Break(connection.Context(), connection.Error()), OCI_SUCCESS);
  EXPECT_EQ(connection.Run("update N set N = N + 1"), OCI_ERROR);
  EXPECT_EQ(connection.LastErrorCode(), 1013);
  // The break was taken by the call it ended.
  EXPECT_EQ(connection.Rows("select count(*) from N where N > 10"), std::vector<std::string>{"0"});

  ASSERT_EQ(Oci().Break(connection.Server(), connection.Error()), OCI_SUCCESS);
  ASSERT_EQ(Oci().Reset(connection.Server(), connection.Error()), OCI_SUCCESS);
  EXPECT_EQ(connection.Run("update N set N = N + 1"), OCI_SUCCESS) << connection.LastErrorText();
  EXPECT_EQ(Oci().Reset(nullptr, connection.Error()), OCI_INVALID_HANDLE);
}

TEST_F(SandboxOciStreaming, StatementsOnAReadTableLeaveTheOpenCursorWhole) {
  FillTable(100, 1);
  Statement query(connection.Environment(), connection.Error(), connection.Context());
  ASSERT_EQ(query.Prepare("select N from N order by N"), OCI_SUCCESS);
  char value[32] = {};
  ASSERT_EQ(query.DefineString(1, value, sizeof value), OCI_SUCCESS);
  ASSERT_EQ(query.Execute(1), OCI_SUCCESS);
  EXPECT_STREQ(value, "1");
  // DML on the table, a commit and DDL while the cursor is half read.
  ASSERT_EQ(connection.Run("delete from N where N > 50"), OCI_SUCCESS);
  ASSERT_EQ(connection.Run("commit"), OCI_SUCCESS);
  ASSERT_EQ(connection.Run("create table OTHER (X number)"), OCI_SUCCESS)
      << connection.LastErrorText();
  ASSERT_EQ(connection.Run("drop table N"), OCI_SUCCESS) << connection.LastErrorText();
  int fetched = 1;
  int expected = 2;
  while (query.Fetch(1) == OCI_SUCCESS) {
    EXPECT_EQ(std::string(value), std::to_string(expected++));
    ++fetched;
  }
  EXPECT_EQ(fetched, 100);
}

TEST_F(SandboxOciStreaming, MemoryDoesNotGrowWithTheRowsRead) {
#ifdef __SANITIZE_ADDRESS__
  // The address sanitizer holds freed memory in quarantine, so resident
  // memory grows with every allocation however little is kept.
  GTEST_SKIP() << "resident memory is not the program's own under the address sanitizer";
#endif
  // 200,000 rows of about 200 bytes: held in memory they would take 40 MB and more.
  FillTable(200000, 200);
  Statement query(connection.Environment(), connection.Error(), connection.Context());
  ASSERT_EQ(query.Prepare("select N, PAD from N"), OCI_SUCCESS);
  constexpr ub4 kRows = 500;
  static char numbers[kRows][24];
  static char pads[kRows][256];
  ASSERT_EQ(query.DefineString(1, &numbers[0][0], sizeof numbers[0]), OCI_SUCCESS);
  ASSERT_EQ(query.DefineString(2, &pads[0][0], sizeof pads[0]), OCI_SUCCESS);
  ASSERT_EQ(query.Execute(kRows), OCI_SUCCESS);
  long rows = kRows;
  long early = 0;
  long peak = 0;
  sword status = OCI_SUCCESS;
  while (status == OCI_SUCCESS) {
    status = query.Fetch(kRows);
    rows += status == OCI_SUCCESS ? kRows : 0;
    const long resident = ResidentKilobytes();
    if (rows == 20000)
      early = resident;
    peak = std::max(peak, resident);
  }
  EXPECT_EQ(status, OCI_NO_DATA);
  EXPECT_EQ(query.RowCount(), 200000u);
  ASSERT_GT(early, 0);
  EXPECT_LT(peak - early, 20 * 1024) << "resident memory grew from " << early << " kB to " << peak
                                     << " kB while the rows were read";
}

}  // namespace
}  // namespace sandbox::testing
