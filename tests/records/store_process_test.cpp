// The record file under crashes and concurrent programs: a writer killed at
// any moment leaves the old or the new file, and two programs appending at
// the same time lose none of each other's records.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <random>
#include <string>
#include <vector>

#include "records/overtime_store.h"
#include "store_test_support.h"

namespace records::testing {
namespace {

const Text kPassword = "pw";

// The i-th record of a writer's sequence.
Row Nth(const std::string& prefix, int i) {
  return {prefix + std::to_string(i), {i, 0, 0, 0, 0}};
}

// Appends one record the way the program's actions do: open, append, close.
bool AppendOnce(OvertimeStore& store, const Row& row) {
  if (!store.OpenStore(kBareName, kPassword)) return false;
  const bool ok = store.AppendRecord({TextValue(row.key), IntegerValue(row.hours[0])});
  store.CloseStore();
  return ok;
}

// The child's wait status; -1 when it cannot be waited for.
int WaitFor(pid_t pid) {
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0) {
    if (errno != EINTR) return -1;
  }
  return status;
}

class StoreProcessTest : public TempDirTest {};

TEST_F(StoreProcessTest, AWriterKilledAtAnyMomentLeavesTheOldOrTheNewFile) {
  MakeFile(kBareName, kPassword, {});
  OvertimeStore reader(kTestCost);
  std::mt19937 rng(20240601);
  std::uniform_int_distribution<int> delay_us(0, 8000);
  int32_t last_count = 0;
  for (int round = 0; round < 200; ++round) {
    // The child reports through the pipe once its first append is in place,
    // so that the kill falls among its later writes however long it took to
    // start.
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const int ready_out = ready[1];
    const pid_t child = StartChild(
        [ready_out] {
          OvertimeStore store(kTestCost);
          for (bool first = true;; first = false) {
            if (!store.OpenStore(kBareName, kPassword)) return 1;
            const int n = store.RecordCount();
            const bool ok = store.AppendRecord({TextValue(Nth("r", n).key), IntegerValue(n)});
            store.CloseStore();
            if (!ok) return 2;
            const char byte = 1;
            if (first && ::write(ready_out, &byte, 1) != 1) return 3;
          }
        },
        ready_out);
    ::close(ready[1]);
    ASSERT_GT(child, 0);
    char byte = 0;
    const bool started = ::read(ready[0], &byte, 1) == 1;
    ::close(ready[0]);
    if (started) ::usleep(static_cast<useconds_t>(delay_us(rng)));
    ::kill(child, SIGKILL);
    const int status = WaitFor(child);
    ASSERT_TRUE(started && WIFSIGNALED(status))
        << "round " << round << " exit " << WEXITSTATUS(status);

    ASSERT_TRUE(reader.OpenStore(kBareName, kPassword)) << "round " << round;
    const std::vector<Row> rows = ReadRows(reader);
    reader.CloseStore();
    ASSERT_GT(static_cast<int32_t>(rows.size()), last_count) << "round " << round;
    for (int i = 0; i < static_cast<int>(rows.size()); ++i) {
      ASSERT_EQ(rows[i], Nth("r", i)) << "round " << round;
    }
    last_count = static_cast<int32_t>(rows.size());
  }
  EXPECT_EQ(DirectoryEntries(), std::vector<std::string>{kDiskName});
}

TEST_F(StoreProcessTest, TwoProgramsAppendingAtOnceLoseNothing) {
  constexpr int kEach = 40;
  MakeFile(kBareName, kPassword, {});
  std::vector<pid_t> children;
  for (const char* prefix : {"a", "b"}) {
    children.push_back(StartChild([prefix] {
      OvertimeStore store(kTestCost);
      for (int i = 0; i < kEach; ++i) {
        if (!AppendOnce(store, Nth(prefix, i))) return 1;
      }
      return 0;
    }));
  }
  for (pid_t c : children) {
    ASSERT_GT(c, 0);
    const int status = WaitFor(c);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
  }
  OvertimeStore store(kTestCost);
  ASSERT_TRUE(store.OpenStore(kBareName, kPassword));
  std::vector<Row> a, b;
  for (const Row& r : ReadRows(store)) (r.key[0] == 'a' ? a : b).push_back(r);
  ASSERT_EQ(a.size(), static_cast<size_t>(kEach));
  ASSERT_EQ(b.size(), static_cast<size_t>(kEach));
  for (int i = 0; i < kEach; ++i) {
    EXPECT_EQ(a[i], Nth("a", i));
    EXPECT_EQ(b[i], Nth("b", i));
  }
}

// While one program has the file open, another one's opening waits for the
// close instead of reading a state that is about to change.
TEST_F(StoreProcessTest, AnOpeningWaitsWhileAnotherProgramHasTheFileOpen) {
  MakeFile(kBareName, kPassword, {});
  OvertimeStore holder(kTestCost);
  ASSERT_TRUE(holder.OpenStore(kBareName, kPassword));
  const pid_t child = StartChild([] {
    OvertimeStore store(kTestCost);
    return AppendOnce(store, Nth("child", 1)) ? 0 : 1;
  });
  ASSERT_GT(child, 0);
  ::usleep(200000);
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, WNOHANG), 0) << "the child did not wait";
  ASSERT_TRUE(holder.AppendRecord({TextValue(Nth("holder", 1).key), IntegerValue(1)}));
  holder.CloseStore();
  status = WaitFor(child);
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
  ASSERT_TRUE(holder.OpenStore(kBareName, kPassword));
  EXPECT_EQ(ReadRows(holder), (std::vector<Row>{Nth("holder", 1), Nth("child", 1)}));
}

}  // namespace
}  // namespace records::testing
