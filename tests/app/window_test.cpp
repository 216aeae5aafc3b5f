// The window's behaviour: start-up, the edit boxes, the date box, the
// results, moving and closing.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>

#include "app/main_window.h"
#include "app/start_up.h"
#include "app/xp_style.h"
#include "fake_dialogs.h"
#include "temp_directory.h"
#include "values/dates.h"
#include "values/fatal.h"

namespace {

using app::MainWindow;

class WindowTest : public testing::Test {
 protected:
  void SetUp() override {
    values::SetClock([] { return values::MakeDateTime(2025, 10, 6, 9, 30, 0); });
    window_ = std::make_unique<MainWindow>(dialogs_, testing_app::kCheapKeys);
  }
  void TearDown() override {
    window_.reset();
    values::SetClock(nullptr);
  }

  // Start-up in an empty directory, setting and then entering a password.
  bool StartUpWithFile() {
    dialogs_.passwordAnswers = {"pw", "pw", "pw"};
    const bool ready = app::StartUp(*window_, directory_.text());
    dialogs_.shown.clear();
    return ready;
  }

  QString Text(const char* label) {
    return window_->findChild<QLabel*>(QString::fromUtf8(label))->text();
  }

  testing_app::TemporaryWorkingDirectory directory_;
  testing_app::FakeDialogs dialogs_;
  std::unique_ptr<MainWindow> window_;
};

TEST_F(WindowTest, IsAFramelessRoundedWindowAtItsPlace) {
  EXPECT_EQ(window_->size(), QSize(751, 313));
  EXPECT_EQ(window_->pos(), QPoint(50, 50));
  EXPECT_TRUE(window_->windowFlags() & Qt::FramelessWindowHint);
  const QRegion outline = window_->mask();
  EXPECT_TRUE(outline.contains(QPoint(375, 156)));
  EXPECT_TRUE(outline.contains(QPoint(375, 0)));
  EXPECT_FALSE(outline.contains(QPoint(0, 0)));
  EXPECT_FALSE(outline.contains(QPoint(750, 312)));
  // The corner ellipse is 62 x 62: the corner's diagonal point (9, 9) lies
  // outside it, (10, 10) inside.
  EXPECT_FALSE(outline.contains(QPoint(8, 8)));
  EXPECT_TRUE(outline.contains(QPoint(10, 10)));
}

TEST_F(WindowTest, StartUpSetsStyleCaptionAndCategory) {
  ASSERT_TRUE(StartUpWithFile());
  EXPECT_EQ(window_->windowTitle(), QStringLiteral("VandrelQuorvin"));
  EXPECT_TRUE(dynamic_cast<app::XpSilverStyle*>(QApplication::style()));
  const auto radios = window_->findChildren<QRadioButton*>();
  EXPECT_EQ(std::count_if(radios.begin(), radios.end(), [](auto* r) { return r->isChecked(); }), 1);
  EXPECT_TRUE(window_->单选框G1->isChecked());
  QTest::mouseClick(window_->单选框病假, Qt::LeftButton);
  EXPECT_TRUE(window_->单选框病假->isChecked());
  EXPECT_FALSE(window_->单选框G1->isChecked());
  // The result labels stay empty until results are asked for.
  EXPECT_TRUE(Text("标签实发工资").isEmpty());
}

TEST_F(WindowTest, DateBoxStartsOnTodayInChinese) {
  EXPECT_EQ(window_->日期框1->date(), QDate(2025, 10, 6));
  EXPECT_EQ(window_->日期框1->text(), QStringLiteral("2025年10月6日"));
  EXPECT_EQ(window_->PickedDate(), values::MakeDate(2025, 10, 6));
}

TEST_F(WindowTest, LeftButtonReleaseEmptiesABoxAndNothingElse) {
  for (QLineEdit* box : window_->findChildren<QLineEdit*>()) {
    if (box->parent() != window_.get()) continue;
    SCOPED_TRACE(box->objectName().toStdString());
    box->setText(QStringLiteral("123"));
    QTest::mouseClick(box, Qt::RightButton);
    EXPECT_EQ(box->text(), QStringLiteral("123"));
    QTest::mouseClick(box, Qt::LeftButton);
    EXPECT_EQ(box->text(), QString());
  }
  EXPECT_EQ(window_->编辑框技能津贴->text(), QString());
  EXPECT_TRUE(Text("标签实发工资").isEmpty());
}

TEST_F(WindowTest, TabIntoABoxKeepsItsText) {
  window_->show();
  QApplication::setActiveWindow(window_.get());
  window_->编辑框正常工作时间工资->setFocus();
  QTest::keyClick(window_->编辑框正常工作时间工资, Qt::Key_Tab);
  EXPECT_EQ(window_->编辑框正常工作时间工资->text(), QStringLiteral("1820"));
  EXPECT_EQ(window_->编辑框考核岗位津贴->text(), QStringLiteral("200"));
}

TEST_F(WindowTest, HoursBoxTakesOnlyTypedDigitsAndMinusButPastedTextWhole) {
  QLineEdit* hours = window_->编辑框加班小时;
  hours->clear();
  QTest::keyClicks(hours, "1a.+ 2-Z3");
  EXPECT_EQ(hours->text(), QStringLiteral("12-3"));
  QTest::keyClick(hours, Qt::Key_Backspace);
  EXPECT_EQ(hours->text(), QStringLiteral("12-"));

  hours->clear();
  QApplication::clipboard()->setText(QStringLiteral("2.5"));
  hours->paste();
  EXPECT_EQ(hours->text(), QStringLiteral("2.5"));

  // The other boxes take any text.
  QTest::keyClicks(window_->编辑框伙食代扣, "a.+");
  EXPECT_EQ(window_->编辑框伙食代扣->text(), QStringLiteral("300a.+"));
}

struct ResultsCase {
  const char* name;
  std::vector<std::pair<const char*, const char*>> boxes;
  std::vector<std::pair<const char*, const char*>> labels;
};

TEST_F(WindowTest, ResultsButtonHidesThePlaceholderAndFillsTheLabels) {
  const ResultsCase cases[] = {
      {"initial boxes",
       {},
       {{"标签G1工资", "G1工资：0"},
        {"标签G2工资", "G2工资：0"},
        {"标签G3工资", "G3工资：0"},
        {"标签加班费总和", "加班费总和：0"},
        {"标签事假病假减项", "事假病假减项：0"},
        {"标签正常班时薪", "时薪：11.61"},
        {"标签正常班日薪", "8小时日薪：92.88"},
        {"标签10小时日薪", "10小时日薪：127.71"},
        {"标签应发工资", "应发工资：2520"},
        {"标签实发工资", "实发工资：2045"},
        {"标签G1时薪", "G1时薪17.42"},
        {"标签G2时薪", "G2时薪23.22"},
        {"标签G3时薪", "G3时薪34.83"}}},
      {"overtime and leave",
       {{"编辑框G1加班小时", "36"},
        {"编辑框G2加班小时", "16"},
        {"编辑框G3加班小时", "8"},
        {"编辑框事假旷工时数", "4"},
        {"编辑框病假时数", "8"}},
       {{"标签G1工资", "G1工资：626.94"},
        {"标签G2工资", "G2工资：371.52"},
        {"标签G3工资", "G3工资：278.64"},
        {"标签加班费总和", "加班费总和：1277.1"},
        {"标签事假病假减项", "事假病假减项：52.04"},
        {"标签应发工资", "应发工资：3745.06"},
        {"标签实发工资", "实发工资：3270.06"}}},
      {"emptied hour boxes count as 0",
       {{"编辑框G1加班小时", ""},
        {"编辑框G2加班小时", ""},
        {"编辑框G3加班小时", ""},
        {"编辑框事假旷工时数", ""},
        {"编辑框病假时数", ""}},
       {{"标签加班费总和", "加班费总和：0"}, {"标签实发工资", "实发工资：2045"}}},
      {"full-width input", {{"编辑框G1加班小时", "１"}}, {{"标签G1工资", "G1工资：17.415"}}},
  };
  for (const ResultsCase& c : cases) {
    SCOPED_TRACE(c.name);
    window_ = std::make_unique<MainWindow>(dialogs_, testing_app::kCheapKeys);
    window_->show();
    for (const auto& [box, text] : c.boxes) {
      window_->findChild<QLineEdit*>(QString::fromUtf8(box))->setText(QString::fromUtf8(text));
    }
    EXPECT_TRUE(window_->透明标签17->isVisible());
    QTest::mouseClick(window_->按钮结果输出, Qt::LeftButton);
    EXPECT_FALSE(window_->透明标签17->isVisible());
    for (const auto& [label, text] : c.labels) {
      EXPECT_EQ(Text(label), QString::fromUtf8(text)) << label;
    }
  }
  // The placeholder stays hidden.
  QTest::mouseClick(window_->按钮结果输出, Qt::LeftButton);
  window_->日期框1->setDate(QDate(2024, 3, 1));
  EXPECT_FALSE(window_->透明标签17->isVisible());
}

TEST_F(WindowTest, StartUpShowsTheMonthsHolidaysButNoCeilings) {
  ASSERT_TRUE(StartUpWithFile());
  EXPECT_EQ(Text("标签本月节日"), QStringLiteral("本月法定节假日有：中秋节 国庆 "));
  EXPECT_TRUE(Text("标签本月G1最多时数").isEmpty());
  EXPECT_TRUE(Text("标签加班总小时").isEmpty());
}

TEST_F(WindowTest, ResultsRewriteTheCeilingsFirst) {
  window_->编辑框G1加班小时->setText(QStringLiteral("2.5"));
  window_->编辑框G2加班小时->setText(QStringLiteral("3"));
  window_->编辑框G3加班小时->clear();
  QTest::mouseClick(window_->按钮结果输出, Qt::LeftButton);
  EXPECT_EQ(Text("标签本月G1最多时数"), QStringLiteral("本月G1最多时数：46"));
  EXPECT_EQ(Text("标签本月G2最多时数"), QStringLiteral("本月G2最多时数：40"));
  EXPECT_EQ(Text("标签G3最多时数"), QStringLiteral("本月G3最多时数：40"));
  EXPECT_EQ(Text("标签本月最多加班时数"), QStringLiteral("本月最多加班时数：126"));
  EXPECT_EQ(Text("标签加班总小时"), QStringLiteral("月，已加班5.5个小时。"));
  EXPECT_EQ(Text("标签本月节日"), QStringLiteral("本月法定节假日有：中秋节 国庆 "));

  window_->countedMonthText = "3";
  window_->编辑框G1加班小时->setText(QStringLiteral("12"));
  window_->编辑框G2加班小时->setText(QStringLiteral("20"));
  QTest::mouseClick(window_->按钮结果输出, Qt::LeftButton);
  EXPECT_EQ(Text("标签加班总小时"), QStringLiteral("3月，已加班32个小时。"));
}

TEST_F(WindowTest, PickingADayComputesThatMonthsCeilingsWhateverTheClockSays) {
  values::SetClock([] { return values::MakeDateTime(2025, 11, 20, 8, 0, 0); });
  int64_t now = 0;
  window_->steadyMs = [&] { return now; };
  window_->日期框1->setDate(QDate(2024, 2, 10));
  EXPECT_EQ(Text("标签本月G1最多时数"), QStringLiteral("本月G1最多时数：42"));
  EXPECT_EQ(Text("标签本月G2最多时数"), QStringLiteral("本月G2最多时数：40"));
  EXPECT_EQ(Text("标签G3最多时数"), QStringLiteral("本月G3最多时数：30"));
  EXPECT_EQ(Text("标签本月最多加班时数"), QStringLiteral("本月最多加班时数：112"));
  EXPECT_EQ(Text("标签加班总小时"), QStringLiteral("月，已加班0个小时。"));
  EXPECT_EQ(Text("标签本月节日"), QStringLiteral("本月法定节假日有：正月初二 春节 除夕 "));

  now = 1000;
  window_->日期框1->setDate(QDate(2024, 3, 15));
  EXPECT_EQ(Text("标签本月最多加班时数"), QStringLiteral("本月最多加班时数：92"));
  EXPECT_TRUE(Text("标签本月节日").isEmpty());
}

TEST_F(WindowTest, AQuickSecondDateChangeIsCaughtUpOnceTheBoxIsQuiet) {
  int64_t now = 0;
  window_->steadyMs = [&] { return now; };
  window_->日期框1->setDate(QDate(2024, 3, 15));
  now = 50;  // within 100 ms of the first: dropped for now
  window_->日期框1->setDate(QDate(2024, 2, 15));
  EXPECT_EQ(Text("标签本月最多加班时数"), QStringLiteral("本月最多加班时数：92"));
  now = 400;
  QTRY_COMPARE_WITH_TIMEOUT(Text("标签本月最多加班时数"), QStringLiteral("本月最多加班时数：112"),
                            2000);
}

TEST(ChangeReportGate, DropsReportsWithin100MsOfTheLastOneFinished) {
  app::ChangeReportGate gate;
  struct Step {
    int64_t at;
    bool admitted;
    int64_t finishedAt;  // for admitted reports
  };
  const Step steps[] = {
      {0, true, 5},                       // the first report is always handled
      {105, false, 0},                    // 100 ms after the previous one finished: dropped
      {206, true, 210},                   // 101 ms after the drop
      {400, true, 420}, {520, false, 0},  // exactly 100 ms
      {621, true, 621},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.at);
    EXPECT_EQ(gate.Admit(step.at), step.admitted);
    if (step.admitted) gate.Finished(step.finishedAt);
  }
  // No report is handled while an earlier one still is.
  app::ChangeReportGate busy;
  ASSERT_TRUE(busy.Admit(0));
  EXPECT_FALSE(busy.Admit(1000));
}

TEST_F(WindowTest, ExitButtonClosesTheWindow) {
  window_->show();
  ASSERT_TRUE(window_->isVisible());
  QTest::mouseClick(window_->按钮退出, Qt::LeftButton);
  EXPECT_FALSE(window_->isVisible());
  EXPECT_TRUE(dialogs_.shown.isEmpty());
}

TEST_F(WindowTest, DraggingTheBackgroundMovesTheWindow) {
  window_->show();
  const QPoint start = window_->pos();
  const QPoint grip(330, 60);  // bare background
  QTest::mousePress(window_.get(), Qt::LeftButton, {}, grip);
  QMouseEvent move(QEvent::MouseMove, QPointF(grip + QPoint(40, 25)),
                   QPointF(window_->mapToGlobal(grip + QPoint(40, 25))), Qt::NoButton,
                   Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(window_.get(), &move);
  QTest::mouseRelease(window_.get(), Qt::LeftButton, {}, grip + QPoint(40, 25));
  EXPECT_EQ(window_->pos(), start + QPoint(40, 25));
}

TEST_F(WindowTest, FatalErrorIsShownAndEndsTheProcess) {
  int status = 0;
  window_->endProcess = [&](int s) { status = s; };
  window_->RunAction([] { throw values::FatalError(5, "bad"); });
  ASSERT_EQ(dialogs_.shown.size(), 1);
  EXPECT_EQ(dialogs_.shown[0], QStringLiteral("fatal 运行时出错!\n\n错误代码：5\n\n错误信息：bad"));
  EXPECT_EQ(status, -1);

  window_->RunAction([] { throw values::FatalError(0, "x"); });
  EXPECT_EQ(dialogs_.shown[1], QStringLiteral("fatal 运行时出错!\n\n错误信息：x"));
}

}  // namespace
