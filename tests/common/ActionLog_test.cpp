#include <gtest/gtest.h>

#include <filesystem>
#include <thread>
#include <vector>

#include "TestSupport.h"
#include "WCard_ShareOper.h"

namespace wenlock {
namespace {

class ActionLogTest : public ::testing::Test {
 protected:
  testing::ScopedCurrentDir dir_;
  testing::FixedClock clock_{testing::MakeDateTime(2024, 5, 9, 23, 59, 58)};
};

TEST_F(ActionLogTest, CreatesTheFolderAndAppendsTimeStampedLinesToTheDailyFile) {
  ASSERT_FALSE(std::filesystem::exists("log"));
  ActionLog(true, "first");
  ActionLog(true, "second");

  const std::string stamp = RegionalDateTimeText(testing::MakeDateTime(2024, 5, 9, 23, 59, 58));
  EXPECT_EQ(testing::ReadWholeFile(std::filesystem::path("log") / "WriteCard_2024-05-09.log"),
            stamp + " : first\r\n" + stamp + " : second\r\n");
}

TEST_F(ActionLogTest, WritesTheBareMessageWithoutShowtime) {
  ActionLog(false, "bare \xB3\xC9\xB9\xA6");
  EXPECT_EQ(testing::ReadWholeFile(ActionLogPath(testing::MakeDateTime(2024, 5, 9))),
            "bare \xB3\xC9\xB9\xA6\r\n");
}

TEST_F(ActionLogTest, StartsANewFileAfterMidnight) {
  ActionLog(false, "before");
  clock_.Set(testing::MakeDateTime(2024, 5, 10, 0, 0, 1));
  ActionLog(false, "after");
  EXPECT_EQ(testing::ReadWholeFile(std::filesystem::path("log") / "WriteCard_2024-05-09.log"),
            "before\r\n");
  EXPECT_EQ(testing::ReadWholeFile(std::filesystem::path("log") / "WriteCard_2024-05-10.log"),
            "after\r\n");
}

TEST_F(ActionLogTest, RaisesWhenTheLogFolderCannotBeMade) {
  testing::WriteWholeFile("log", "a file where the folder should be");
  EXPECT_THROW(ActionLog(true, "lost"), IoError);
}

TEST_F(ActionLogTest, LinesOfConcurrentThreadsNeitherInterleaveNorGetLost) {
  constexpr int kThreads = 4;
  constexpr int kLines = 200;
  const std::string payload(100, 'x');
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      for (int i = 0; i < kLines; ++i) ActionLog(false, std::to_string(t) + payload);
    });
  }
  for (auto& thread : threads) thread.join();

  const std::string content = testing::ReadWholeFile(ActionLogPath(testing::MakeDateTime(2024, 5, 9)));
  std::size_t lines = 0;
  for (std::size_t start = 0; start < content.size(); ++lines) {
    const std::size_t end = content.find("\r\n", start);
    ASSERT_NE(end, std::string::npos);
    EXPECT_EQ(content.substr(start + 1, end - start - 1), payload);
    start = end + 2;
  }
  EXPECT_EQ(lines, static_cast<std::size_t>(kThreads * kLines));
}

}  // namespace
}  // namespace wenlock
