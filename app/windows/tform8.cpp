#include "app/windows/tform8.h"

#include "app/windows/datasettablemodel.h"

#include <QHeaderView>
#include <QTableView>
#include <QVBoxLayout>

namespace pemvora::app {

TForm8::TForm8(ReferenceLists& lists, QWidget* parent)
    : ListWindow("Form8", "收款单位", QSize(243, 251), false, parent)
{
    DBGrid1 = new QTableView(this);
    DBGrid1->setObjectName("DBGrid1");
    auto* model = new DatasetTableModel(lists.adskdw, {{"skdw", QString::fromUtf8("收款单位")}}, DBGrid1);
    attachGrid(DBGrid1, model, lists.payees);
    styleGrid(DBGrid1, palette().color(QPalette::ButtonText), {217});
    QPalette rows = DBGrid1->palette();
    rows.setColor(QPalette::Base, QColor(0xEE, 0xEE, 0xEE));
    DBGrid1->setPalette(rows);
    // The title is a button with a sort mark; the view never sorts (sorting
    // stays disabled), so the rows stay in table order.
    QHeaderView* title = DBGrid1->horizontalHeader();
    title->setSectionsClickable(true);
    title->setSortIndicatorShown(true);
    title->setSortIndicator(0, Qt::AscendingOrder);
    DBNavigator1 = makeListNavigator(lists.payees, this);
    DBNavigator1->setFixedHeight(25);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addWidget(DBGrid1);
    layout->addWidget(DBNavigator1);
}

} // namespace pemvora::app
