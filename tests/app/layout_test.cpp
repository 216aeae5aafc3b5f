// Every control of the window against the layout: kind, place, size,
// initial text and look.
#include <gtest/gtest.h>

#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "app/main_window.h"
#include "fake_dialogs.h"

namespace {

enum class Kind { Box, Label, Button, Radio };

enum Look : unsigned {
  kDefault = 0,
  kRed = 1,
  kSmallFont = 2,  // 12-pixel character height
};

struct Control {
  const char* name;
  Kind kind;
  int x, y, width, height;
  const char* text;
  unsigned look = kDefault;
};

const Control kLayout[] = {
    {"编辑框正常工作时间工资", Kind::Box, 122, 55, 37, 13, "1820"},
    {"编辑框考核岗位津贴", Kind::Box, 122, 80, 37, 13, "200"},
    {"编辑框职务津贴", Kind::Box, 122, 105, 37, 13, "0"},
    {"编辑框地区津贴", Kind::Box, 122, 130, 37, 13, "0"},
    {"编辑框事假旷工时数", Kind::Box, 122, 155, 37, 13, "0"},
    {"编辑框病假时数", Kind::Box, 122, 180, 37, 13, "0"},
    {"编辑框住房公积金代扣", Kind::Box, 122, 205, 37, 13, "175"},
    {"编辑框伙食代扣", Kind::Box, 122, 230, 37, 13, "300"},
    {"编辑框住宿费代扣", Kind::Box, 122, 261, 37, 13, "0"},
    {"编辑框G1加班小时", Kind::Box, 262, 55, 37, 13, "0"},
    {"编辑框G2加班小时", Kind::Box, 262, 80, 37, 13, "0"},
    {"编辑框G3加班小时", Kind::Box, 262, 105, 37, 13, "0"},
    {"编辑框技能津贴", Kind::Box, 262, 180, 37, 13, "300"},
    {"编辑框夜班津贴", Kind::Box, 262, 205, 37, 13, "0"},
    {"编辑框特殊岗位津贴", Kind::Box, 262, 230, 37, 13, "200"},
    {"编辑框加班小时", Kind::Box, 526, 14, 23, 16, "2"},
    {"透明标签1", Kind::Label, 16, 54, 100, 16, "正常工作时间工资："},
    {"透明标签2", Kind::Label, 16, 79, 100, 16, "考核岗位津贴："},
    {"透明标签3", Kind::Label, 16, 104, 100, 16, "职务津贴："},
    {"透明标签4", Kind::Label, 16, 129, 100, 16, "地区津贴："},
    {"透明标签5", Kind::Label, 16, 154, 100, 16, "事假旷工时数："},
    {"透明标签6", Kind::Label, 16, 179, 100, 16, "病假时数："},
    {"透明标签7", Kind::Label, 16, 204, 100, 16, "住房公积金代扣："},
    {"透明标签8", Kind::Label, 16, 229, 100, 16, "伙食代扣："},
    {"透明标签9", Kind::Label, 16, 260, 100, 16, "住宿费代扣："},
    {"透明标签10", Kind::Label, 177, 54, 77, 16, "G1加班小时："},
    {"透明标签11", Kind::Label, 177, 79, 77, 16, "G2加班小时："},
    {"透明标签12", Kind::Label, 177, 104, 77, 16, "G3加班小时："},
    {"透明标签13", Kind::Label, 177, 179, 77, 16, "技能津贴："},
    {"透明标签14", Kind::Label, 177, 204, 77, 16, "夜班津贴："},
    {"透明标签15", Kind::Label, 177, 229, 77, 16, "特殊岗位津贴："},
    {"透明标签24", Kind::Label, 6, 10, 224, 20, "Quorvin1.0版"},
    {"透明标签16", Kind::Label, 408, 288, 144, 16, nullptr},  // the credit line
    {"透明标签17", Kind::Label, 344, 104, 360, 112, "结果输出区域"},
    {"标签G1工资", Kind::Label, 384, 54, 132, 16, ""},
    {"标签G2工资", Kind::Label, 384, 88, 132, 16, ""},
    {"标签G3工资", Kind::Label, 384, 122, 132, 16, ""},
    {"标签加班费总和", Kind::Label, 384, 156, 132, 16, ""},
    {"标签事假病假减项", Kind::Label, 384, 190, 132, 16, ""},
    {"标签应发工资", Kind::Label, 384, 224, 132, 16, ""},
    {"标签实发工资", Kind::Label, 384, 260, 132, 16, ""},
    {"标签正常班时薪", Kind::Label, 577, 54, 126, 16, "", kSmallFont},
    {"标签正常班日薪", Kind::Label, 577, 78, 126, 16, "", kSmallFont},
    {"标签10小时日薪", Kind::Label, 577, 102, 126, 16, "", kSmallFont},
    {"标签G1时薪", Kind::Label, 577, 126, 126, 16, "", kSmallFont},
    {"标签G2时薪", Kind::Label, 577, 150, 126, 16, "", kSmallFont},
    {"标签G3时薪", Kind::Label, 577, 174, 126, 16, "", kSmallFont},
    {"标签本月G1最多时数", Kind::Label, 577, 198, 126, 16, "", kRed | kSmallFont},
    {"标签本月G2最多时数", Kind::Label, 577, 222, 126, 16, "", kRed | kSmallFont},
    {"标签G3最多时数", Kind::Label, 577, 246, 138, 16, "", kRed},
    {"标签本月最多加班时数", Kind::Label, 577, 276, 138, 16, "", kRed | kSmallFont},
    {"标签加班总小时", Kind::Label, 177, 136, 127, 16, "", kRed},
    {"标签本月节日", Kind::Label, 176, 256, 216, 24, "", kRed},
    {"标签当前统计到的加班日期", Kind::Label, 594, 288, 144, 16, ""},
    {"按钮加班记录", Kind::Button, 553, 12, 56, 18, "加班记录"},
    {"按钮删除", Kind::Button, 632, 12, 104, 18, "删除最后一次添加"},
    {"按钮读取数据库", Kind::Button, 8, 286, 88, 18, "读取数据库"},
    {"按钮结果输出", Kind::Button, 107, 286, 88, 18, "结果输出"},
    {"按钮刷新", Kind::Button, 206, 286, 88, 18, "刷新"},
    {"按钮退出", Kind::Button, 305, 286, 88, 18, "退出"},
    {"单选框G1", Kind::Radio, 356, 14, 64, 16, "加班G1"},
    {"单选框G2", Kind::Radio, 411, 14, 64, 16, "加班G2"},
    {"单选框G3", Kind::Radio, 466, 14, 56, 16, "加班G3"},
    {"单选框事假", Kind::Radio, 356, 32, 74, 16, "事假/旷工"},
    {"单选框病假", Kind::Radio, 466, 32, 56, 16, "病假"},
};

QString TextOf(const QWidget* w) {
  if (auto* box = qobject_cast<const QLineEdit*>(w)) return box->text();
  if (auto* label = qobject_cast<const QLabel*>(w)) return label->text();
  if (auto* button = qobject_cast<const QAbstractButton*>(w)) return button->text();
  return QStringLiteral("<unknown kind>");
}

bool IsKind(const QWidget* w, Kind kind) {
  switch (kind) {
    case Kind::Box:
      return qobject_cast<const QLineEdit*>(w);
    case Kind::Label:
      return qobject_cast<const QLabel*>(w);
    case Kind::Button:
      return qobject_cast<const QPushButton*>(w);
    case Kind::Radio:
      return qobject_cast<const QRadioButton*>(w);
  }
  return false;
}

TEST(Layout, EveryControlHasItsPlaceSizeTextAndLook) {
  testing_app::FakeDialogs dialogs;
  app::MainWindow window(dialogs);
  int labels = 0;
  for (const Control& c : kLayout) {
    SCOPED_TRACE(c.name);
    auto* w = window.findChild<QWidget*>(QString::fromUtf8(c.name));
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(IsKind(w, c.kind));
    EXPECT_EQ(w->geometry(), QRect(c.x, c.y, c.width, c.height));
    if (c.text) {
      EXPECT_EQ(TextOf(w), QString::fromUtf8(c.text));
    }
    EXPECT_EQ(w->palette().color(QPalette::WindowText) == QColor(255, 0, 0), bool(c.look & kRed));
    if (c.look & kSmallFont) {
      EXPECT_EQ(w->font().pixelSize(), 12);
    }
    if (c.kind == Kind::Label) ++labels;
    EXPECT_TRUE(w->isVisibleTo(&window));
  }
  EXPECT_FALSE(window.findChild<QLabel*>("透明标签16")->text().isEmpty());
  // Every label of the window is in the table, and so is every box.
  EXPECT_EQ(window.findChildren<QLabel*>(Qt::FindDirectChildrenOnly).size(), labels);
  EXPECT_EQ(window.findChildren<QLineEdit*>(Qt::FindDirectChildrenOnly).size(), 16);
  EXPECT_EQ(window.findChildren<QRadioButton*>().size(), 5);
}

TEST(Layout, LabelFonts) {
  testing_app::FakeDialogs dialogs;
  app::MainWindow window(dialogs);
  const QFont title = window.findChild<QLabel*>("透明标签24")->font();
  EXPECT_EQ(title.family(), QStringLiteral("黑体"));
  EXPECT_EQ(title.pixelSize(), 20);
  EXPECT_TRUE(title.underline());
  EXPECT_EQ(window.findChild<QLabel*>("透明标签24")->alignment(), Qt::AlignCenter);

  const QFont placeholder = window.透明标签17->font();
  EXPECT_EQ(placeholder.pixelSize(), 56);
  EXPECT_FALSE(placeholder.bold());

  // 黑体 is drawn with an installed CJK face.
  EXPECT_TRUE(QFontInfo(title).family().contains(QStringLiteral("WenQuanYi")))
      << QFontInfo(title).family().toStdString();
}

// The colour of the text as drawn, not only as set.
TEST(Layout, LabelsDrawTheirTextInTheirColour) {
  testing_app::FakeDialogs dialogs;
  app::MainWindow window(dialogs);
  for (QLabel* label : {window.标签本月G1最多时数, window.标签G3最多时数, window.标签本月节日,
                        window.标签实发工资}) {
    SCOPED_TRACE(label->objectName().toStdString());
    label->setText(QStringLiteral("本月最多加班时数：126"));
    const QImage image = label->grab().toImage();
    int red = 0;
    int black = 0;
    for (int y = 0; y < image.height(); ++y) {
      for (int x = 0; x < image.width(); ++x) {
        const QColor c = image.pixelColor(x, y);
        red += c.red() > 200 && c.green() < 60 && c.blue() < 60;
        black += c.red() < 60 && c.green() < 60 && c.blue() < 60;
      }
    }
    const bool shouldBeRed = label != window.标签实发工资;
    EXPECT_GT(shouldBeRed ? red : black, 20);
    EXPECT_EQ(shouldBeRed ? black : red, 0);
  }
}

TEST(Layout, HoursBoxIsCentredAndTheDateBoxIsAPicker) {
  testing_app::FakeDialogs dialogs;
  app::MainWindow window(dialogs);
  EXPECT_EQ(window.编辑框加班小时->alignment() & Qt::AlignHCenter, Qt::AlignHCenter);
  EXPECT_EQ(window.日期框1->geometry(), QRect(246, 11, 110, 19));
  EXPECT_TRUE(window.日期框1->calendarPopup());
  EXPECT_FALSE(window.findChild<QRadioButton*>("单选框G1")->isChecked());
}

}  // namespace
