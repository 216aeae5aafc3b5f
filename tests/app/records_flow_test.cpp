// The record file as the user meets it: the first start, the password gate,
// recording, deleting and the month totals, from the click to the labels.
#include <gtest/gtest.h>

#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "app/main_window.h"
#include "app/start_up.h"
#include "fake_dialogs.h"
#include "temp_directory.h"
#include "values/dates.h"

namespace {

using app::MainWindow;
using testing_app::FakeDialogs;
using Answers = std::deque<std::optional<QString>>;

const QString kRecordFile = QStringLiteral("加班.edb");

class RecordsFlowTest : public testing::Test {
 protected:
  void SetUp() override {
    values::SetClock([] { return values::MakeDateTime(2024, 3, 7, 10, 0, 0); });
  }
  void TearDown() override { values::SetClock(nullptr); }

  // A new window started up with these password answers.
  bool Start(Answers answers) {
    dialogs_ = std::make_unique<FakeDialogs>();
    dialogs_->passwordAnswers = std::move(answers);
    window_ = std::make_unique<MainWindow>(*dialogs_, testing_app::kCheapKeys);
    return app::StartUp(*window_, directory_.text());
  }

  // A window past the gate on a new file with password "pw".
  void StartReady() {
    ASSERT_TRUE(Start({"pw", "pw", "pw"}));
    dialogs_->shown.clear();
  }

  bool FileThere() const { return QFile::exists(directory_.file(kRecordFile)); }

  void Pick(int year, int month, int day) { window_->日期框1->setDate(QDate(year, month, day)); }

  void Record(int year, int month, int day, const char* hours, QRadioButton* category = nullptr) {
    Pick(year, month, day);
    window_->编辑框加班小时->setText(QString::fromUtf8(hours));
    QTest::mouseClick(category ? category : window_->单选框G1, Qt::LeftButton);
    QTest::mouseClick(window_->按钮加班记录, Qt::LeftButton);
  }

  QStringList HourBoxes() const {
    return {window_->编辑框G1加班小时->text(), window_->编辑框G2加班小时->text(),
            window_->编辑框G3加班小时->text(), window_->编辑框事假旷工时数->text(),
            window_->编辑框病假时数->text()};
  }
  QString CountedLabel() const { return window_->标签当前统计到的加班日期->text(); }

  testing_app::TemporaryWorkingDirectory directory_;
  std::unique_ptr<FakeDialogs> dialogs_;
  std::unique_ptr<MainWindow> window_;
};

TEST_F(RecordsFlowTest, FirstStartSetsThePasswordAndOnlyItPassesTheGate) {
  ASSERT_TRUE(Start({"密码pw", "密码pw", "wrong", "密码PW", "", "密码pw"}));
  EXPECT_EQ(dialogs_->shown,
            (QStringList{"prompt 请设置密码", "prompt 确认密码", "prompt 请输入密码",
                         "prompt 请输入密码", "prompt 请输入密码", "prompt 请输入密码"}));
  EXPECT_TRUE(FileThere());
  EXPECT_EQ(window_->sessionPassword.view(), values::Utf8ToGbk("密码pw"));

  // A later start only asks for the password; Cancel ends the program, also
  // after wrong attempts.
  EXPECT_FALSE(Start({"x", "y", std::nullopt}));
  EXPECT_EQ(dialogs_->shown,
            (QStringList{"prompt 请输入密码", "prompt 请输入密码", "prompt 请输入密码"}));
  EXPECT_TRUE(Start({"密码pw"}));
}

TEST_F(RecordsFlowTest, EmptyOrCancelledFirstEntriesLeaveTheFileOpenToAnEmptyEntryOnly) {
  for (const Answers& first : {Answers{"", ""}, Answers{std::nullopt, std::nullopt}}) {
    QFile::remove(directory_.file(kRecordFile));
    Answers answers = first;
    answers.insert(answers.end(), {"typed", ""});
    ASSERT_TRUE(Start(answers));
    EXPECT_EQ(dialogs_->shown.count("prompt 请输入密码"), 2);
    EXPECT_TRUE(Start({"anything", ""}));
    EXPECT_EQ(dialogs_->shown.size(), 2);
  }
}

TEST_F(RecordsFlowTest, DifferentFirstEntriesEndTheProgramAndLeaveNoFile) {
  const Answers mismatches[] = {{"pw", "PW"}, {"pw", std::nullopt}, {std::nullopt, "pw"}};
  for (const Answers& answers : mismatches) {
    EXPECT_FALSE(Start(answers));
    EXPECT_EQ(dialogs_->shown.back(), QStringLiteral("error 两次密码输入不一致！"));
    EXPECT_FALSE(dialogs_->shown.contains("prompt 请输入密码"));
    EXPECT_FALSE(FileThere());
  }
  // So the next start asks to set the password again.
  ASSERT_TRUE(Start({"pw", "pw", "pw"}));
  EXPECT_EQ(dialogs_->shown.front(), QStringLiteral("prompt 请设置密码"));
}

TEST_F(RecordsFlowTest, AFileThatCannotBeCreatedIsReportedWithItsPath) {
  // The working directory disappears under the program: nothing can be made
  // there, even by root.
  const QString gone = directory_.file(QStringLiteral("gone"));
  ASSERT_TRUE(QDir().mkdir(gone));
  ASSERT_TRUE(QDir::setCurrent(gone));
  ASSERT_TRUE(QDir().rmdir(gone));
  dialogs_ = std::make_unique<FakeDialogs>();
  dialogs_->passwordAnswers = {"pw", "pw", "pw"};
  window_ = std::make_unique<MainWindow>(*dialogs_, testing_app::kCheapKeys);
  EXPECT_FALSE(app::StartUp(*window_, values::Utf8ToGbk(gone.toStdString())));
  EXPECT_EQ(dialogs_->shown, QStringList{"error 无法创建记录文件：" + gone + "/" + kRecordFile});
}

TEST_F(RecordsFlowTest, RecordingAppendsTheDayAndShowsItsKey) {
  StartReady();
  Record(2024, 3, 7, "2");
  EXPECT_EQ(CountedLabel(), QStringLiteral("当前加班统计到：3月7日"));
  EXPECT_TRUE(dialogs_->shown.isEmpty());

  // The same day of any year counts as recorded.
  Record(2025, 3, 7, "3");
  EXPECT_EQ(dialogs_->shown, QStringList{"info 今天已经记录过了。"});
  EXPECT_EQ(window_->编辑框加班小时->text(), QStringLiteral("3"));

  // The label shows the last appended key, whatever its date.
  Record(2024, 12, 25, "10", window_->单选框G3);
  Record(2024, 1, 3, "1", window_->单选框病假);
  EXPECT_EQ(CountedLabel(), QStringLiteral("当前加班统计到：1月3日"));
  // The hour boxes change only when the totals are read.
  EXPECT_EQ(HourBoxes(), (QStringList{"0", "0", "0", "0", "0"}));
}

TEST_F(RecordsFlowTest, HoursOutsideOneToTenAreRefusedAndTheBoxEmptied) {
  StartReady();
  int day = 1;
  for (const char* hours : {"0", "11", "abc", "", "-1", "2147483648"}) {
    SCOPED_TRACE(hours);
    dialogs_->shown.clear();
    Record(2024, 5, day++, hours);
    EXPECT_EQ(dialogs_->shown, QStringList{"error 请输入1-10之间的整数！"});
    EXPECT_EQ(window_->编辑框加班小时->text(), QString());
  }
  dialogs_->shown.clear();
  Record(2024, 5, 20, "1");
  Record(2024, 5, 21, "10");
  Record(2024, 5, 22, "2.5");  // read as 2
  EXPECT_TRUE(dialogs_->shown.isEmpty());
  QTest::mouseClick(window_->按钮读取数据库, Qt::LeftButton);
  EXPECT_EQ(HourBoxes(), (QStringList{"13", "0", "0", "0", "0"}));
}

TEST_F(RecordsFlowTest, MonthTotalsSumEachCategoryOverThatMonthOfEveryYear) {
  StartReady();
  Record(2024, 3, 1, "2");
  Record(2024, 3, 2, "3");
  Record(2024, 3, 5, "4", window_->单选框事假);
  Record(2024, 11, 3, "8", window_->单选框G2);
  Record(2024, 1, 3, "1", window_->单选框G3);
  Record(2023, 3, 9, "5", window_->单选框病假);

  struct Case {
    int month;
    QStringList boxes;
  };
  const Case cases[] = {
      {3, {"5", "0", "0", "4", "5"}},
      {1, {"0", "0", "1", "0", "0"}},  // 11月 does not count as 1月
      {11, {"0", "8", "0", "0", "0"}},
      {6, {"0", "0", "0", "0", "0"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.month);
    window_->编辑框G1加班小时->setText(QStringLiteral("99"));
    Pick(2024, c.month, 15);
    QTest::mouseClick(window_->按钮读取数据库, Qt::LeftButton);
    EXPECT_EQ(HourBoxes(), c.boxes);
    EXPECT_EQ(CountedLabel(), QStringLiteral("当前加班统计到：3月9日"));
    EXPECT_EQ(window_->countedMonthText, std::to_string(c.month));
  }

  // 刷新 reads the totals and then shows the results.
  Pick(2024, 3, 15);
  QTest::mouseClick(window_->按钮刷新, Qt::LeftButton);
  EXPECT_EQ(window_->标签G1工资->text(), QStringLiteral("G1工资：87.075"));
  EXPECT_EQ(window_->标签加班总小时->text(), QStringLiteral("3月，已加班5个小时。"));
  EXPECT_FALSE(window_->透明标签17->isVisible());
}

TEST_F(RecordsFlowTest, TotalsOfAnEmptyFile) {
  StartReady();
  QTest::mouseClick(window_->按钮读取数据库, Qt::LeftButton);
  EXPECT_EQ(HourBoxes(), (QStringList{"0", "0", "0", "0", "0"}));
  EXPECT_EQ(CountedLabel(), QStringLiteral("当前加班统计到："));
}

TEST_F(RecordsFlowTest, DeletingAsksFirstAndRemovesTheLastEntries) {
  StartReady();
  Record(2024, 3, 1, "2");
  Record(2024, 3, 2, "3");
  Record(2024, 3, 3, "4");

  dialogs_->confirmAnswers = {false};
  QTest::mouseClick(window_->按钮删除, Qt::LeftButton);
  EXPECT_EQ(dialogs_->shown.back(), QStringLiteral("confirm 确认要删除3月3日的加班记录！"));
  EXPECT_EQ(CountedLabel(), QStringLiteral("当前加班统计到：3月3日"));
  EXPECT_EQ(HourBoxes(), (QStringList{"0", "0", "0", "0", "0"}));

  dialogs_->confirmAnswers = {true, true};
  QTest::mouseClick(window_->按钮删除, Qt::LeftButton);
  QTest::mouseClick(window_->按钮删除, Qt::LeftButton);
  EXPECT_EQ(dialogs_->shown.back(), QStringLiteral("confirm 确认要删除3月2日的加班记录！"));
  // Each confirmed deletion ends with the totals and the results.
  EXPECT_EQ(HourBoxes(), (QStringList{"2", "0", "0", "0", "0"}));
  EXPECT_EQ(CountedLabel(), QStringLiteral("当前加班统计到：3月1日"));
  EXPECT_EQ(window_->标签G1工资->text(), QStringLiteral("G1工资：34.83"));

  // A deleted day can be recorded again.
  dialogs_->shown.clear();
  Record(2024, 3, 2, "1");
  EXPECT_TRUE(dialogs_->shown.isEmpty());
}

TEST_F(RecordsFlowTest, DeletingOnAnEmptyFileStillRefreshes) {
  StartReady();
  dialogs_->confirmAnswers = {true};
  QTest::mouseClick(window_->按钮删除, Qt::LeftButton);
  EXPECT_EQ(dialogs_->shown, QStringList{"confirm 确认要删除的加班记录！"});
  EXPECT_EQ(CountedLabel(), QStringLiteral("当前加班统计到："));
  EXPECT_EQ(window_->标签实发工资->text(), QStringLiteral("实发工资：2045"));
}

TEST_F(RecordsFlowTest, AFileRemovedWhileRunningIsAFatalError) {
  StartReady();
  int status = 0;
  window_->endProcess = [&](int s) { status = s; };
  ASSERT_TRUE(QFile::remove(directory_.file(kRecordFile)));
  QTest::mouseClick(window_->按钮读取数据库, Qt::LeftButton);
  EXPECT_EQ(status, -1);
  EXPECT_EQ(dialogs_->shown,
            QStringList{"fatal 运行时出错!\n\n错误信息：未指定当前数据库或者指定数据库未打开"});
  // The session's secrets are gone before the process ends.
  EXPECT_TRUE(window_->sessionPassword.view().empty());
}

TEST_F(RecordsFlowTest, TheFileOnDiskHoldsNoKeyOrHoursInTheClear) {
  StartReady();
  Record(2024, 12, 25, "7");
  QFile file(directory_.file(kRecordFile));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QByteArray bytes = file.readAll();
  const std::string key = values::Utf8ToGbk("12月25日");
  EXPECT_FALSE(bytes.contains(QByteArray::fromStdString(key)));
  EXPECT_FALSE(bytes.contains(QByteArray::fromStdString(values::Utf8ToGbk("月"))));
}

}  // namespace
