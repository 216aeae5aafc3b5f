#include "app/main_window.h"

#include <QApplication>
#include <QDateEdit>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QRadioButton>
#include <QWindow>
#include <algorithm>
#include <cstdlib>

#include "app/qt_text.h"
#include "app/xp_style.h"
#include "calendar/holidays.h"
#include "calendar/month_limits.h"
#include "pay/pay.h"
#include "values/dates.h"
#include "values/fatal.h"
#include "values/numbers.h"

namespace app {
namespace {

constexpr QSize kWindowSize{751, 313};
constexpr QColor kRed{255, 0, 0};

QFont PixelFont(int pixels) {
  QFont font = QApplication::font();
  font.setPixelSize(pixels);
  font.setWeight(QFont::Normal);
  return font;
}

// A label drawn as text only: the window's background shows through, and
// the text stands on one line, vertically centred.
class TransparentLabel : public QLabel {
 public:
  TransparentLabel(const QString& text, QWidget* parent) : QLabel(text, parent) {
    setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    // The text takes the label's own text colour, whatever the background.
    setForegroundRole(QPalette::WindowText);
    setAutoFillBackground(false);
    setAttribute(Qt::WA_TransparentForMouseEvents);
  }
};

// Text cut into the background: drawn in white, then in black one pixel to
// the right and down.
class EngravedLabel : public TransparentLabel {
 public:
  using TransparentLabel::TransparentLabel;

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.setFont(font());
    const QRect box = contentsRect();
    painter.setPen(Qt::white);
    painter.drawText(box, alignment(), text());
    painter.setPen(Qt::black);
    painter.drawText(box.translated(1, 1), alignment(), text());
  }
};

// The title: centred, with its underline kept inside the label even where
// the face's line spacing is taller than its character height.
class TitleLabel : public TransparentLabel {
 public:
  using TransparentLabel::TransparentLabel;

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    QFont plain = font();
    plain.setUnderline(false);
    painter.setFont(plain);
    const QFontMetrics metrics(plain);
    const int textWidth = metrics.horizontalAdvance(text());
    const int x = (width() - textWidth) / 2;
    const int baseline = (height() + metrics.ascent() - metrics.descent()) / 2;
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(x, baseline, text());
    const int underline = std::min(baseline + metrics.underlinePos(), height() - 1);
    painter.drawLine(x, underline, x + textWidth - 1, underline);
  }
};

QDate ToQDate(values::DateTime d) {
  return QDate(values::YearOf(d), values::MonthOf(d), values::DayOf(d));
}

int64_t SteadyMs() {
  static QElapsedTimer clock = [] {
    QElapsedTimer t;
    t.start();
    return t;
  }();
  return clock.elapsed();
}

}  // namespace

MainWindow::MainWindow(Dialogs& dialogs, records::KeyCost keyCost, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint),
      steadyMs(SteadyMs),
      endProcess([](int status) { std::exit(status); }),
      dialogs_(dialogs),
      store_(std::make_unique<records::OvertimeStore>(keyCost)) {
  setObjectName(QStringLiteral("MainWindow"));
  setAttribute(Qt::WA_DeleteOnClose, false);
  setBackgroundRole(QPalette::Button);
  setAutoFillBackground(true);
  setFixedSize(kWindowSize);
  move(50, 50);
  SetOutline();
  BuildControls();

  dateCatchUp_.setSingleShot(true);
  dateCatchUp_.setInterval(ChangeReportGate::kQuietMs + 20);
  connect(&dateCatchUp_, &QTimer::timeout, this, [this] { CatchUpDate(); });
}

MainWindow::~MainWindow() = default;

void MainWindow::BuildControls() {
  auto place = [this](QWidget* w, const char16_t* name, int x, int y, int width, int height) {
    w->setObjectName(QString::fromUtf16(name));
    w->setGeometry(x, y, width, height);
  };
  auto label = [&](const char16_t* name, int x, int y, int width, int height,
                   const QString& text = QString()) {
    auto* l = new TransparentLabel(text, this);
    place(l, name, x, y, width, height);
    return l;
  };
  auto box = [&](const char16_t* name, int x, int y, int width, int height, const char* text) {
    auto* e = new QLineEdit(QString::fromLatin1(text), this);
    place(e, name, x, y, width, height);
    e->setTextMargins(0, 0, 0, 0);
    e->installEventFilter(this);
    return e;
  };
  auto captioned = [&](const char16_t* captionName, const char16_t* caption, int lx, int ly,
                       int lwidth, const char16_t* name, int x, int y, const char* text) {
    label(captionName, lx, ly, lwidth, 16, QString::fromUtf16(caption));
    return box(name, x, y, 37, 13, text);
  };
  auto button = [&](const char16_t* name, const char16_t* text, int x, int y, int width) {
    auto* b = new QPushButton(QString::fromUtf16(text), this);
    place(b, name, x, y, width, 18);
    b->setAutoDefault(false);
    return b;
  };
  auto radio = [&](const char16_t* name, const char16_t* text, int x, int y, int width,
                   bool centred) {
    auto* r = new QRadioButton(QString::fromUtf16(text), this);
    place(r, name, x, y, width, 16);
    r->setProperty(kCentredTextProperty, centred);
    return r;
  };

  auto* title = new TitleLabel(QStringLiteral("Quorvin1.0版"), this);
  place(title, u"透明标签24", 6, 10, 224, 20);
  QFont titleFont(QStringLiteral("黑体"));
  titleFont.setPixelSize(20);
  titleFont.setWeight(QFont::Normal);
  titleFont.setUnderline(true);
  title->setFont(titleFont);
  title->setAlignment(Qt::AlignCenter);

  日期框1 = new QDateEdit(this);
  place(日期框1, u"日期框1", 246, 11, 110, 19);
  const QLocale chinese(QLocale::Chinese, QLocale::China);
  日期框1->setLocale(chinese);
  // The long date of a Chinese desktop: 2024年2月10日.
  日期框1->setDisplayFormat(QStringLiteral("yyyy年M月d日"));
  日期框1->setCalendarPopup(true);
  日期框1->setDate(ToQDate(values::CurrentDate()));
  connect(日期框1, &QDateEdit::dateChanged, this, [this] { OnDateChanged(); });

  单选框G1 = radio(u"单选框G1", u"加班G1", 356, 14, 64, false);
  单选框G2 = radio(u"单选框G2", u"加班G2", 411, 14, 64, false);
  单选框G3 = radio(u"单选框G3", u"加班G3", 466, 14, 56, true);
  单选框事假 = radio(u"单选框事假", u"事假/旷工", 356, 32, 74, true);
  单选框病假 = radio(u"单选框病假", u"病假", 466, 32, 56, true);

  编辑框加班小时 = box(u"编辑框加班小时", 526, 14, 23, 16, "2");
  编辑框加班小时->setAlignment(Qt::AlignCenter);

  按钮加班记录 = button(u"按钮加班记录", u"加班记录", 553, 12, 56);
  按钮删除 = button(u"按钮删除", u"删除最后一次添加", 632, 12, 104);

  编辑框正常工作时间工资 = captioned(u"透明标签1", u"正常工作时间工资：", 16, 54, 100,
                                     u"编辑框正常工作时间工资", 122, 55, "1820");
  编辑框考核岗位津贴 = captioned(u"透明标签2", u"考核岗位津贴：", 16, 79, 100,
                                 u"编辑框考核岗位津贴", 122, 80, "200");
  编辑框职务津贴 =
      captioned(u"透明标签3", u"职务津贴：", 16, 104, 100, u"编辑框职务津贴", 122, 105, "0");
  编辑框地区津贴 =
      captioned(u"透明标签4", u"地区津贴：", 16, 129, 100, u"编辑框地区津贴", 122, 130, "0");
  编辑框事假旷工时数 = captioned(u"透明标签5", u"事假旷工时数：", 16, 154, 100,
                                 u"编辑框事假旷工时数", 122, 155, "0");
  编辑框病假时数 =
      captioned(u"透明标签6", u"病假时数：", 16, 179, 100, u"编辑框病假时数", 122, 180, "0");
  编辑框住房公积金代扣 = captioned(u"透明标签7", u"住房公积金代扣：", 16, 204, 100,
                                   u"编辑框住房公积金代扣", 122, 205, "175");
  编辑框伙食代扣 =
      captioned(u"透明标签8", u"伙食代扣：", 16, 229, 100, u"编辑框伙食代扣", 122, 230, "300");
  编辑框住宿费代扣 =
      captioned(u"透明标签9", u"住宿费代扣：", 16, 260, 100, u"编辑框住宿费代扣", 122, 261, "0");
  编辑框G1加班小时 =
      captioned(u"透明标签10", u"G1加班小时：", 177, 54, 77, u"编辑框G1加班小时", 262, 55, "0");
  编辑框G2加班小时 =
      captioned(u"透明标签11", u"G2加班小时：", 177, 79, 77, u"编辑框G2加班小时", 262, 80, "0");
  编辑框G3加班小时 =
      captioned(u"透明标签12", u"G3加班小时：", 177, 104, 77, u"编辑框G3加班小时", 262, 105, "0");
  编辑框技能津贴 =
      captioned(u"透明标签13", u"技能津贴：", 177, 179, 77, u"编辑框技能津贴", 262, 180, "300");
  编辑框夜班津贴 =
      captioned(u"透明标签14", u"夜班津贴：", 177, 204, 77, u"编辑框夜班津贴", 262, 205, "0");
  编辑框特殊岗位津贴 = captioned(u"透明标签15", u"特殊岗位津贴：", 177, 229, 77,
                                 u"编辑框特殊岗位津贴", 262, 230, "200");

  label(u"透明标签16", 408, 288, 144, 16, QStringLiteral("作者：VandrelQuorvin"));

  const QFont small = PixelFont(12);
  auto smallLabel = [&](const char16_t* name, int x, int y, int width) {
    auto* l = label(name, x, y, width, 16);
    l->setFont(small);
    return l;
  };
  auto red = [](QLabel* l) {
    QPalette p = l->palette();
    p.setColor(QPalette::WindowText, kRed);
    l->setPalette(p);
    return l;
  };

  标签G1工资 = label(u"标签G1工资", 384, 54, 132, 16);
  标签G2工资 = label(u"标签G2工资", 384, 88, 132, 16);
  标签G3工资 = label(u"标签G3工资", 384, 122, 132, 16);
  标签加班费总和 = label(u"标签加班费总和", 384, 156, 132, 16);
  标签事假病假减项 = label(u"标签事假病假减项", 384, 190, 132, 16);
  标签应发工资 = label(u"标签应发工资", 384, 224, 132, 16);
  标签实发工资 = label(u"标签实发工资", 384, 260, 132, 16);
  标签正常班时薪 = smallLabel(u"标签正常班时薪", 577, 54, 126);
  标签正常班日薪 = smallLabel(u"标签正常班日薪", 577, 78, 126);
  标签10小时日薪 = smallLabel(u"标签10小时日薪", 577, 102, 126);
  标签G1时薪 = smallLabel(u"标签G1时薪", 577, 126, 126);
  标签G2时薪 = smallLabel(u"标签G2时薪", 577, 150, 126);
  标签G3时薪 = smallLabel(u"标签G3时薪", 577, 174, 126);
  标签本月G1最多时数 = red(smallLabel(u"标签本月G1最多时数", 577, 198, 126));
  标签本月G2最多时数 = red(smallLabel(u"标签本月G2最多时数", 577, 222, 126));
  标签G3最多时数 = red(label(u"标签G3最多时数", 577, 246, 138, 16));
  标签本月最多加班时数 = red(smallLabel(u"标签本月最多加班时数", 577, 276, 138));
  标签加班总小时 = red(label(u"标签加班总小时", 177, 136, 127, 16));
  标签本月节日 = red(label(u"标签本月节日", 176, 256, 216, 24));
  标签当前统计到的加班日期 = label(u"标签当前统计到的加班日期", 594, 288, 144, 16);

  // The placeholder lies over the result area until the first results.
  auto* placeholder = new EngravedLabel(QStringLiteral("结果输出区域"), this);
  place(placeholder, u"透明标签17", 344, 104, 360, 112);
  placeholder->setFont(PixelFont(56));
  透明标签17 = placeholder;

  按钮读取数据库 = button(u"按钮读取数据库", u"读取数据库", 8, 286, 88);
  按钮结果输出 = button(u"按钮结果输出", u"结果输出", 107, 286, 88);
  按钮刷新 = button(u"按钮刷新", u"刷新", 206, 286, 88);
  按钮退出 = button(u"按钮退出", u"退出", 305, 286, 88);

  connect(按钮结果输出, &QPushButton::clicked, this,
          [this] { RunAction([this] { ShowResults(); }); });
  connect(按钮读取数据库, &QPushButton::clicked, this,
          [this] { RunAction([this] { ReadMonthTotals(); }); });
  connect(按钮刷新, &QPushButton::clicked, this, [this] { RunAction([this] { Refresh(); }); });
  connect(按钮加班记录, &QPushButton::clicked, this,
          [this] { RunAction([this] { RecordEntry(); }); });
  connect(按钮删除, &QPushButton::clicked, this,
          [this] { RunAction([this] { DeleteLastEntry(); }); });
  connect(按钮退出, &QPushButton::clicked, this, [this] { close(); });
}

values::DateTime MainWindow::PickedDate() const {
  const QDate d = 日期框1->date();
  return values::MakeDate(d.year(), d.month(), d.day());
}

void MainWindow::ShowResults() {
  透明标签17->hide();
  UpdateMonthLimits();

  auto text = [](const QLineEdit* e) { return ToGbk(e->text()); };
  pay::PayInputs in;
  in.wage = text(编辑框正常工作时间工资);
  in.postAllowance = text(编辑框考核岗位津贴);
  in.positionAllowance = text(编辑框职务津贴);
  in.regionalAllowance = text(编辑框地区津贴);
  in.g1Hours = text(编辑框G1加班小时);
  in.g2Hours = text(编辑框G2加班小时);
  in.g3Hours = text(编辑框G3加班小时);
  in.personalLeaveHours = text(编辑框事假旷工时数);
  in.sickLeaveHours = text(编辑框病假时数);
  in.nightShiftAllowance = text(编辑框夜班津贴);
  in.specialPostAllowance = text(编辑框特殊岗位津贴);
  in.skillAllowance = text(编辑框技能津贴);
  in.housingFund = text(编辑框住房公积金代扣);
  in.meals = text(编辑框伙食代扣);
  in.lodging = text(编辑框住宿费代扣);

  const pay::PayLabelTexts texts = pay::ComputePayLabels(in);
  QLabel* const labels[pay::kPayLabelCount] = {
      标签G1工资,     标签G2工资,     标签G3工资,     标签加班费总和, 标签事假病假减项,
      标签正常班时薪, 标签正常班日薪, 标签10小时日薪, 标签应发工资,   标签实发工资,
      标签G1时薪,     标签G2时薪,     标签G3时薪};
  for (std::size_t i = 0; i < pay::kPayLabelCount; ++i) labels[i]->setText(ToQString(texts[i]));
}

void MainWindow::RunAction(const std::function<void()>& action) {
  try {
    action();
  } catch (const values::FatalError& error) {
    dialogs_.ShowFatalError(FatalErrorText(error.code(), ToQString(error.message())));
    WipeSecrets();
    endProcess(-1);
  }
}

void MainWindow::UpdateMonthLimits() {
  const values::DateTime date = PickedDate();
  const calendar::MonthLimitTexts limits = calendar::ComputeMonthLimits(
      date, ToGbk(编辑框G1加班小时->text()), ToGbk(编辑框G2加班小时->text()),
      ToGbk(编辑框G3加班小时->text()), countedMonthText);
  标签本月G1最多时数->setText(ToQString(limits.g1Ceiling));
  标签本月G2最多时数->setText(ToQString(limits.g2Ceiling));
  标签加班总小时->setText(ToQString(limits.hoursSoFar));
  标签G3最多时数->setText(ToQString(limits.g3Ceiling));
  标签本月最多加班时数->setText(ToQString(limits.totalCeiling));
  标签本月节日->setText(ToQString(limits.holidayLabel));
  limitsDate_ = date;
}

void MainWindow::WipeSecrets() {
  sessionPassword.Wipe();
  store_.reset();
}

std::optional<records::EntryCategory> MainWindow::SelectedCategory() const {
  const QRadioButton* const buttons[records::kCategoryCount] = {单选框G1, 单选框G2, 单选框G3,
                                                                单选框事假, 单选框病假};
  for (int i = 0; i < records::kCategoryCount; ++i) {
    if (buttons[i]->isChecked()) return static_cast<records::EntryCategory>(i);
  }
  return std::nullopt;
}

void MainWindow::ReadMonthTotals() {
  countedMonthText = values::NumberToText(values::MonthOf(PickedDate()));
  const records::MonthTotals totals =
      records::ReadMonthTotals(*store_, sessionPassword.view(), countedMonthText);
  标签当前统计到的加班日期->setText(QStringLiteral("当前加班统计到：") + ToQString(totals.lastKey));
  QLineEdit* const boxes[records::kCategoryCount] = {
      编辑框G1加班小时, 编辑框G2加班小时, 编辑框G3加班小时, 编辑框事假旷工时数, 编辑框病假时数};
  for (int i = 0; i < records::kCategoryCount; ++i) {
    boxes[i]->setText(QString::number(totals.hours[i]));
  }
}

void MainWindow::Refresh() {
  ReadMonthTotals();
  ShowResults();
}

void MainWindow::RecordEntry() {
  const records::RecordResult result =
      records::RecordEntry(*store_, sessionPassword.view(), PickedDate(),
                           ToGbk(编辑框加班小时->text()), SelectedCategory());
  switch (result.outcome) {
    case records::RecordOutcome::BadHours:
      编辑框加班小时->clear();
      dialogs_.ShowMessage(MessageIcon::Error, QStringLiteral("请输入1-10之间的整数！"));
      break;
    case records::RecordOutcome::AlreadyRecorded:
      dialogs_.ShowMessage(MessageIcon::Information, QStringLiteral("今天已经记录过了。"));
      break;
    case records::RecordOutcome::Recorded:
      标签当前统计到的加班日期->setText(QStringLiteral("当前加班统计到：") +
                                        ToQString(result.lastKey));
      break;
  }
}

void MainWindow::DeleteLastEntry() {
  const values::Text key = records::LastEntryKey(*store_, sessionPassword.view());
  if (!dialogs_.Confirm(QStringLiteral("确认要删除") + ToQString(key) +
                        QStringLiteral("的加班记录！"))) {
    return;
  }
  records::DeleteLastEntry(*store_, sessionPassword.view());
  Refresh();
}

void MainWindow::ShowHolidayLabel() {
  标签本月节日->setText(ToQString(calendar::HolidayLabelText(PickedDate())));
}

void MainWindow::OnDateChanged() {
  if (!dateGate_.Admit(steadyMs())) {
    dateCatchUp_.start();
    return;
  }
  UpdateMonthLimits();
  dateGate_.Finished(steadyMs());
}

void MainWindow::CatchUpDate() {
  if (PickedDate() != limitsDate_) OnDateChanged();
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  auto* box = qobject_cast<QLineEdit*>(watched);
  if (box && event->type() == QEvent::MouseButtonRelease &&
      static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
    box->clear();  // ClearOnClick
  }
  if (watched == 编辑框加班小时 && event->type() == QEvent::KeyPress) {
    // The hours box takes only digits and "-" from the keyboard; pasting is
    // not filtered.
    const QString typed = static_cast<QKeyEvent*>(event)->text();
    const auto allowed = [](QChar c) { return (c >= u'0' && c <= u'9') || c == u'-'; };
    if (!typed.isEmpty() && typed.at(0).isPrint() &&
        !std::all_of(typed.begin(), typed.end(), allowed)) {
      return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}

void MainWindow::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  SetOutline();
}

void MainWindow::SetOutline() {
  // A rounded rectangle whose corner ellipse is r x r.
  const int r = std::min(width() / 5, height() / 5);
  QPainterPath outline;
  outline.addRoundedRect(QRectF(rect()), r / 2.0, r / 2.0);
  setMask(QRegion(outline.toFillPolygon().toPolygon()));
}

void MainWindow::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return QWidget::mousePressEvent(event);
  // A window manager moves the window best; without one, follow the mouse.
  if (windowHandle() && windowHandle()->startSystemMove()) return;
  dragOffset_ = event->globalPosition().toPoint() - frameGeometry().topLeft();
}

void MainWindow::mouseMoveEvent(QMouseEvent* event) {
  if (dragOffset_ && (event->buttons() & Qt::LeftButton)) {
    move(event->globalPosition().toPoint() - *dragOffset_);
  }
  QWidget::mouseMoveEvent(event);
}

void MainWindow::mouseReleaseEvent(QMouseEvent* event) {
  dragOffset_.reset();
  QWidget::mouseReleaseEvent(event);
}

}  // namespace app
