#pragma once
// The bank window: the unit's bank accounts, entered in bound boxes on one tab
// and browsed and edited in a grid on the other. In the grid, the template
// bank is picked from a drop-down laid over the focused "打印模板" cell.

#include "app/lists/referencelists.h"
#include "app/windows/listwindow.h"

class QComboBox;
class QLineEdit;
class QTabWidget;
class QTableView;

namespace pemvora::app {

class TForm3 : public ListWindow {
    Q_OBJECT
public:
    TForm3(ReferenceLists& lists, QWidget* parent = nullptr);

    QTabWidget* PageControl1 = nullptr;
    QWidget* TabSheet1 = nullptr;      // 录入信息
    QWidget* TabSheet2 = nullptr;      // 查询浏览
    QLineEdit* DBEdit1 = nullptr;      // bank_name
    QLineEdit* DBEdit2 = nullptr;      // bank_zh
    QComboBox* DBComboBox1 = nullptr;  // bank_mb
    QTableView* DBGrid1 = nullptr;
    QComboBox* dbmb = nullptr;         // laid over the focused 打印模板 cell
    widgets::Navigator* DBNavigator1 = nullptr;
    widgets::Navigator* DBNavigator2 = nullptr;

    // Shows dbmb over the grid's focused cell when it is in the 打印模板 column,
    // hides it otherwise.
    void placeTemplateBox();

private:
    static constexpr int kTemplateColumn = 2;
};

} // namespace pemvora::app
