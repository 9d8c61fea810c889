#pragma once
// The cheque window, the program's main window: a thin view over
// ChequeController. Controls keep their short names.

#include "app/cheque/chequecontroller.h"

#include <QMainWindow>

#include <memory>

class QButtonGroup;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolBar;
class QToolButton;

namespace pemvora::amountgrid {
class TsncCurrencyEdit;
class TsncCurrencyLabel;
class TsncDBCurrencyEdit;
class AmountFieldLink;
} // namespace pemvora::amountgrid

namespace pemvora::widgets {
class ButtonEdit;
class DateEdit;
class DosMove;
class Navigator;
class NumberEdit;
class TitleLabel;
} // namespace pemvora::widgets

namespace pemvora::app {

class ReferenceLists;
class DatasetAmountLink;

class TForm1 : public QMainWindow, private ChequeController::View {
    Q_OBJECT
public:
    // The creation step runs here, before the data module exists.
    explicit TForm1(QWidget* parent = nullptr, std::function<DateTime()> now = {});
    ~TForm1() override;

    // The windows this one opens; each may be missing (its button then does nothing).
    struct Windows {
        QWidget* payees = nullptr;      // TForm8, "收款单位"
        QWidget* purposes = nullptr;    // TForm5, "用  途"
        QWidget* banks = nullptr;       // TForm3, "帐号设置"
        QWidget* userUnit = nullptr;    // TForm4, "使用单位"
        QWidget* operators = nullptr;   // TForm6, "人员管理"
        QWidget* payeePicker = nullptr; // TForm9, the button of the payee box
    };
    // Once the data module and the reference lists exist.
    void attach(data::TData& data, ReferenceLists& lists, Windows windows);

    ChequeController& controller() { return *controller_; }

    // ---- Controls ----
    QToolBar* ToolBar1 = nullptr;
    QToolButton* ToolButton6 = nullptr;   // 收款单位
    QToolButton* ToolButton4 = nullptr;   // 用  途
    QToolButton* ToolButton2 = nullptr;   // 帐号设置
    QToolButton* ToolButton3 = nullptr;   // 使用单位
    QToolButton* ToolButton1 = nullptr;   // 人员管理
    QToolButton* ToolButton7 = nullptr;   // 退  出
    widgets::TitleLabel* AALabel1 = nullptr;
    QComboBox* czplx = nullptr;
    widgets::DateEdit* csj = nullptr;
    widgets::NumberEdit* rxdbj = nullptr;
    QGroupBox* cms = nullptr;
    QButtonGroup* cmsItems = nullptr;
    widgets::ButtonEdit* cdw = nullptr;
    QLineEdit* czphm = nullptr;
    QComboBox* cyh = nullptr;
    QComboBox* czh = nullptr;
    QComboBox* cyt = nullptr;
    QPushButton* BitBtn2 = nullptr;   // 保存
    QPushButton* BitBtn3 = nullptr;   // 打印
    QPushButton* BitBtn1 = nullptr;   // 增加
    widgets::Navigator* DBN1 = nullptr;
    amountgrid::TsncDBCurrencyEdit* snccy = nullptr;
    QPushButton* BitBtn4 = nullptr;   // 打印修改
    amountgrid::TsncCurrencyLabel* sncCurrencyLabel1 = nullptr;
    QLabel* cdx = nullptr;
    QLabel* sj = nullptr;
    QLabel* Label11 = nullptr;
    QLabel* Label12 = nullptr;
    QLabel* Label13 = nullptr;
    amountgrid::TsncCurrencyEdit* sncCurrencyEdit1 = nullptr;
    QLabel* statusPanel1 = nullptr;
    QLabel* statusPanel2 = nullptr;
    widgets::DosMove* DosMove1 = nullptr;

protected:
    // Showing (once, after login) fills the lists and shows the last cheque.
    void showEvent(QShowEvent* event) override;
    // Asks the quit question; No keeps the window and everything typed in it.
    void closeEvent(QCloseEvent* event) override;

private:
    // ChequeController::View
    void textsChanged() override;
    void listsChanged() override;
    void enablingChanged() override;

    void build();
    void openModal(QWidget* window);
    void openPurposes();

    std::unique_ptr<ChequeController> controller_;
    std::unique_ptr<DatasetAmountLink> amountLink_;   // snccy on the ZPJE column
    ReferenceLists* lists_ = nullptr;
    Windows windows_;
    bool shown_ = false;
};

} // namespace pemvora::app
