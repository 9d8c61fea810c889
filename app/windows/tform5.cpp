#include "app/windows/tform5.h"

#include "app/windows/datasettablemodel.h"

#include <QTableView>
#include <QVBoxLayout>

namespace pemvora::app {

TForm5::TForm5(ReferenceLists& lists, QWidget* parent) : ListWindow("Form5", "用途", QSize(250, 247), false, parent)
{
    DBGrid1 = new QTableView(this);
    DBGrid1->setObjectName("DBGrid1");
    auto* model = new DatasetTableModel(lists.ad_yt, {{"ytmc", QString::fromUtf8("用途")}}, DBGrid1);
    attachGrid(DBGrid1, model, lists.purposes);
    styleGrid(DBGrid1, QColor(0x80, 0x00, 0x00), {226});
    DBNavigator1 = makeListNavigator(lists.purposes, this);
    DBNavigator1->setFixedHeight(25);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addWidget(DBGrid1);
    layout->addWidget(DBNavigator1);
}

} // namespace pemvora::app
