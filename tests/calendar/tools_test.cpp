// The developer tools print the whole calendar; a few lines of each, and the
// number of lines, are checked here.
#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace {

std::vector<std::string> RunTool(const char* path) {
  std::vector<std::string> lines;
  FILE* pipe = popen(path, "r");
  if (!pipe) return lines;
  std::string line;
  for (int c; (c = std::fgetc(pipe)) != EOF;) {
    if (c == '\n') {
      lines.push_back(line);
      line.clear();
    } else {
      line += static_cast<char>(c);
    }
  }
  EXPECT_EQ(pclose(pipe), 0);
  EXPECT_TRUE(line.empty());
  return lines;
}

std::map<std::string, std::string> ByKey(const std::vector<std::string>& lines) {
  std::map<std::string, std::string> map;
  for (const std::string& line : lines) {
    const size_t tab = line.find('\t');
    map[line.substr(0, tab)] = tab == std::string::npos ? "" : line.substr(tab + 1);
  }
  return map;
}

TEST(ToolsTest, HolidayTable) {
  const std::vector<std::string> lines = RunTool(HOLIDAY_TABLE);
  ASSERT_EQ(lines.size(), 151u * 12);
  EXPECT_EQ(lines.front(), "1900-01\t元旦 1");
  EXPECT_EQ(lines.back(), "2050-12\t0");
  const auto map = ByKey(lines);
  EXPECT_EQ(map.at("2023-01"), "正月初二 春节 除夕 元旦 4");
  EXPECT_EQ(map.at("2020-10"), "国庆 中秋节 4");
  EXPECT_EQ(map.at("1901-02"), "正月初二 春节 2");
}

TEST(ToolsTest, LunarTable) {
  const std::vector<std::string> lines = RunTool(LUNAR_TABLE);
  // A header and every day from 1901-02-19 to 2048-12-31.
  ASSERT_EQ(lines.size(), 1u + 54008);
  EXPECT_EQ(lines[1], "1901-02-19\t1901\t1\t1\t0\t29\t2");
  EXPECT_EQ(lines.back(), "2048-12-31\t2048\t11\t27\t0\t30\t0");
  const auto map = ByKey(lines);
  EXPECT_EQ(map.at("2009-06-27"), "2009\t5\t5\t1\t29\t0");
  EXPECT_EQ(map.at("2024-04-04"), "2024\t2\t26\t0\t30\t5");
}

}  // namespace
