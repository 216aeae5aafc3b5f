// The program's one window, with every control in its place.
#pragma once

#include <QPoint>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>

#include "app/change_gate.h"
#include "app/dialogs.h"
#include "records/overtime_store.h"
#include "records/record_actions.h"
#include "records/secret_text.h"
#include "values/dates.h"
#include "values/text.h"

class QDateEdit;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace app {

class MainWindow : public QWidget {
  Q_OBJECT

 public:
  // `keyCost` is the cost of deriving the record file's key from a new
  // password.
  explicit MainWindow(Dialogs& dialogs, records::KeyCost keyCost = records::kDefaultKeyCost,
                      QWidget* parent = nullptr);
  ~MainWindow() override;

  // The day picked in the date box, at 00:00.
  values::DateTime PickedDate() const;

  // Actions of the buttons and the date box.
  void ShowResults();
  void UpdateMonthLimits();
  void ReadMonthTotals();
  void Refresh();
  void RecordEntry();
  void DeleteLastEntry();
  // The picked month's statutory holidays into their label.
  void ShowHolidayLabel();

  Dialogs& dialogs() { return dialogs_; }
  records::OvertimeStore& store() { return *store_; }

  // The password that opened the record file at start-up.
  records::SecretText sessionPassword;

  // Milliseconds of a steady clock, for the date box's change reports; tests
  // replace it.
  std::function<int64_t()> steadyMs;
  // Ends the process at once after a fatal error; tests replace it.
  std::function<void(int)> endProcess;

  // Runs an action; a fatal error in it is shown in the error box, and then
  // the process ends with status -1.
  void RunAction(const std::function<void()>& action);

  // Edit boxes.
  QLineEdit* 编辑框正常工作时间工资;
  QLineEdit* 编辑框考核岗位津贴;
  QLineEdit* 编辑框职务津贴;
  QLineEdit* 编辑框地区津贴;
  QLineEdit* 编辑框事假旷工时数;
  QLineEdit* 编辑框病假时数;
  QLineEdit* 编辑框住房公积金代扣;
  QLineEdit* 编辑框伙食代扣;
  QLineEdit* 编辑框住宿费代扣;
  QLineEdit* 编辑框G1加班小时;
  QLineEdit* 编辑框G2加班小时;
  QLineEdit* 编辑框G3加班小时;
  QLineEdit* 编辑框技能津贴;
  QLineEdit* 编辑框夜班津贴;
  QLineEdit* 编辑框特殊岗位津贴;
  QLineEdit* 编辑框加班小时;

  QDateEdit* 日期框1;

  QRadioButton* 单选框G1;
  QRadioButton* 单选框G2;
  QRadioButton* 单选框G3;
  QRadioButton* 单选框事假;
  QRadioButton* 单选框病假;

  QPushButton* 按钮加班记录;
  QPushButton* 按钮删除;
  QPushButton* 按钮读取数据库;
  QPushButton* 按钮结果输出;
  QPushButton* 按钮刷新;
  QPushButton* 按钮退出;

  // Labels that the actions write or hide.
  QLabel* 透明标签17;
  QLabel* 标签G1工资;
  QLabel* 标签G2工资;
  QLabel* 标签G3工资;
  QLabel* 标签加班费总和;
  QLabel* 标签事假病假减项;
  QLabel* 标签应发工资;
  QLabel* 标签实发工资;
  QLabel* 标签正常班时薪;
  QLabel* 标签正常班日薪;
  QLabel* 标签10小时日薪;
  QLabel* 标签G1时薪;
  QLabel* 标签G2时薪;
  QLabel* 标签G3时薪;
  QLabel* 标签本月G1最多时数;
  QLabel* 标签本月G2最多时数;
  QLabel* 标签G3最多时数;
  QLabel* 标签本月最多加班时数;
  QLabel* 标签加班总小时;
  QLabel* 标签本月节日;
  QLabel* 标签当前统计到的加班日期;

  // The month number of the last counted month; empty until totals are read.
  values::Text countedMonthText;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  void BuildControls();
  std::optional<records::EntryCategory> SelectedCategory() const;
  // Drops the session's password and every key derived from it.
  void WipeSecrets();
  void SetOutline();
  void OnDateChanged();
  void CatchUpDate();

  Dialogs& dialogs_;
  std::unique_ptr<records::OvertimeStore> store_;
  ChangeReportGate dateGate_;
  // A date change that the gate dropped is caught up once the box is quiet,
  // so the month's figures always belong to the date shown.
  QTimer dateCatchUp_;
  values::DateTime limitsDate_ = 0;
  std::optional<QPoint> dragOffset_;
};

}  // namespace app
