// What the values layer asks of the operating system.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "test_util.h"
#include "values/gbk.h"
#include "values/system.h"

namespace {

namespace fs = std::filesystem;
using values::DirectoryOfPath;
using values::FileExists;
using values::ProgramDirectory;
using values_test::G;
using values_test::Hex;

struct DirectoryCase {
  const char* path;  // UTF-8 source, converted to GBK
  char separator;
  const char* directory;
};

const DirectoryCase kDirectoryCases[] = {
    // The example.
    {"D:\\工具\\app.exe", '\\', "D:\\工具"},
    // A file name with a double-byte character whose trail byte is 0x5C
    // (淺 is 9C 5C, 乗 is 81 5C).
    {"D:\\工具\\淺.exe", '\\', "D:\\工具"},
    {"D:\\淺\\乗.exe", '\\', "D:\\淺"},
    {"D:\\淺", '\\', "D:"},
    {"D:\\工具\\淺", '\\', "D:\\工具"},
    {"淺乗", '\\', ""},
    {"/usr/bin/app", '/', "/usr/bin"},
    {"/opt/加班/淺", '/', "/opt/加班"},
    {"/app", '/', ""},
    {"app", '/', ""},
    {"", '/', ""},
    {"a/b/", '/', "a/b"},
    {"a\\b/c", '/', "a\\b"},
    {"a\\b/c", '\\', "a"},
};

TEST(DirectoryOfPath, Table) {
  for (const auto& c : kDirectoryCases) {
    SCOPED_TRACE(std::string(c.path) + " by " + c.separator);
    EXPECT_EQ(Hex(DirectoryOfPath(G(c.path), c.separator)), Hex(G(c.directory)));
  }
}

TEST(DirectoryOfPath, TrailByte5CIsNotASeparator) {
  const std::string path = G("D:\\工具\\淺.exe");
  ASSERT_EQ(Hex(path.substr(8, 2)), "9C 5C");  // the check needs the 0x5C trail byte
  // A byte-wise search for the last backslash would cut inside 淺.
  EXPECT_EQ(path.rfind('\\'), 9u);
  EXPECT_EQ(DirectoryOfPath(path, '\\'), G("D:\\工具"));
}

TEST(DirectoryOfPath, DefaultSeparatorIsThePlatforms) {
  EXPECT_EQ(DirectoryOfPath(std::string("a") + values::kPathSeparator + "b"), "a");
}

TEST(ProgramDirectory, IsTheDirectoryOfTheExecutable) {
  const fs::path exe = fs::read_symlink("/proc/self/exe");
  const std::string dir = ProgramDirectory();
  EXPECT_EQ(dir, values::Utf8ToGbk(exe.parent_path().string()));
  EXPECT_FALSE(dir.empty());
  EXPECT_NE(dir.back(), '/');
  EXPECT_TRUE(FileExists(dir));
  EXPECT_TRUE(FileExists(dir + "/" + values::Utf8ToGbk(exe.filename().string())));
  EXPECT_EQ(ProgramDirectory(), dir);  // determined once
}

class FileExistsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string pattern = (fs::temp_directory_path() / "values_tests_XXXXXX").string();
    std::string buffer = pattern;
    ASSERT_NE(mkdtemp(buffer.data()), nullptr);
    root_ = buffer;
  }
  void TearDown() override {
    std::error_code ec;
    fs::remove_all(root_, ec);
  }
  // The GBK form of a path below the temporary directory.
  std::string GbkPath(const std::string& utf8_name) const {
    return values::Utf8ToGbk((root_ / fs::path(utf8_name)).string());
  }
  fs::path root_;
};

TEST_F(FileExistsTest, FindsFilesAndDirectories) {
  std::ofstream(root_ / "加班.edb") << "x";
  fs::create_directory(root_ / "工具");
  std::ofstream(root_ / "淺.txt") << "x";

  EXPECT_TRUE(FileExists(GbkPath("加班.edb")));
  EXPECT_TRUE(FileExists(GbkPath("工具")));
  EXPECT_TRUE(FileExists(GbkPath("淺.txt")));
  EXPECT_TRUE(FileExists(values::Utf8ToGbk(root_.string())));
  EXPECT_FALSE(FileExists(GbkPath("加班2.edb")));
  EXPECT_FALSE(FileExists(GbkPath("工具/加班.edb")));
}

TEST_F(FileExistsTest, OddPathsAreNotFound) {
  EXPECT_FALSE(FileExists(""));
  EXPECT_FALSE(FileExists(GbkPath("x") + "\xFF"));   // not GBK
  EXPECT_FALSE(FileExists(std::string(5000, 'a')));  // too long: no exception
}

}  // namespace
