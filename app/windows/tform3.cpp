#include "app/windows/tform3.h"

#include "app/windows/datasettablemodel.h"
#include "app/windows/fieldbinding.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>

namespace pemvora::app {

namespace {

const QColor kMaroon(0x80, 0x00, 0x00);

QComboBox* templateBankBox(QWidget* parent)
{
    auto* box = new QComboBox(parent);
    for (const char* bank : kTemplateBanks) box->addItem(QString::fromUtf8(bank));
    return box;
}

} // namespace

TForm3::TForm3(ReferenceLists& lists, QWidget* parent)
    : ListWindow("Form3", "开户银行", QSize(300, 231), false, parent)
{
    data::Dataset& banks = lists.AD_bank;
    PageControl1 = new QTabWidget(this);
    PageControl1->setDocumentMode(true);   // no frame around the pages
    PageControl1->tabBar()->setDrawBase(false);
    // Tabs as flat buttons: the chosen one pressed in, the other a flat face.
    PageControl1->setStyleSheet(
        "QTabBar::tab { background: palette(window); border: 1px solid palette(window);"
        " padding: 3px 10px; margin: 3px 2px 3px 3px; }"
        "QTabBar::tab:selected { border-color: palette(dark) palette(light) palette(light) palette(dark); }");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(PageControl1);

    // ---- 录入信息 ----
    TabSheet1 = new QWidget;
    auto* fields = new QGridLayout;
    DBEdit1 = new QLineEdit(TabSheet1);
    DBEdit1->setObjectName("DBEdit1");
    new FieldBinding(DBEdit1, banks, "bank_name");
    DBEdit2 = new QLineEdit(TabSheet1);
    DBEdit2->setObjectName("DBEdit2");
    new FieldBinding(DBEdit2, banks, "bank_zh");
    DBComboBox1 = templateBankBox(TabSheet1);
    DBComboBox1->setObjectName("DBComboBox1");
    new FieldBinding(DBComboBox1, banks, "bank_mb");
    fields->addWidget(new QLabel(QString::fromUtf8("开户银行："), TabSheet1), 0, 0);
    fields->addWidget(DBEdit1, 0, 1);
    fields->addWidget(new QLabel(QString::fromUtf8("银行帐号："), TabSheet1), 1, 0);
    fields->addWidget(DBEdit2, 1, 1);
    fields->addWidget(new QLabel(QString::fromUtf8("打印模板："), TabSheet1), 2, 0);
    fields->addWidget(DBComboBox1, 2, 1);
    DBNavigator1 = makeListNavigator(lists.banks, TabSheet1);
    DBNavigator1->setFixedHeight(25);
    auto* page1 = new QVBoxLayout(TabSheet1);
    page1->addSpacing(12);
    page1->addLayout(fields);
    page1->addStretch();
    page1->addWidget(DBNavigator1);
    PageControl1->addTab(TabSheet1, QString::fromUtf8("录入信息"));

    // ---- 查询浏览 ----
    TabSheet2 = new QWidget;
    DBGrid1 = new QTableView(TabSheet2);
    DBGrid1->setObjectName("DBGrid1");
    auto* model = new DatasetTableModel(banks,
                                        {{"bank_name", QString::fromUtf8("开户银行")},
                                         {"bank_zh", QString::fromUtf8("帐号")},
                                         {"bank_mb", QString::fromUtf8("打印模板")}},
                                        DBGrid1);
    attachGrid(DBGrid1, model, lists.banks);
    styleGrid(DBGrid1, kMaroon, {98, 93, 75});
    DBGrid1->setSelectionBehavior(QAbstractItemView::SelectItems);
    DBGrid1->setSelectionMode(QAbstractItemView::SingleSelection);
    DBNavigator2 = makeListNavigator(lists.banks, TabSheet2);
    DBNavigator2->setFixedHeight(25);
    auto* page2 = new QVBoxLayout(TabSheet2);
    page2->setContentsMargins(2, 2, 2, 2);
    page2->addWidget(DBGrid1);
    page2->addWidget(DBNavigator2);
    dbmb = templateBankBox(TabSheet2);
    dbmb->setObjectName("dbmb");
    new FieldBinding(dbmb, banks, "bank_mb");
    dbmb->hide();
    PageControl1->addTab(TabSheet2, QString::fromUtf8("查询浏览"));

    // The drop-down follows the focused cell: a new current cell, a scroll, a
    // column resized, the grid resized.
    connect(DBGrid1->selectionModel(), &QItemSelectionModel::currentChanged, this, &TForm3::placeTemplateBox);
    connect(DBGrid1->horizontalScrollBar(), &QScrollBar::valueChanged, this, &TForm3::placeTemplateBox);
    connect(DBGrid1->verticalScrollBar(), &QScrollBar::valueChanged, this, &TForm3::placeTemplateBox);
    connect(DBGrid1->horizontalHeader(), &QHeaderView::sectionResized, this, &TForm3::placeTemplateBox);
    connect(model, &QAbstractItemModel::modelReset, this, &TForm3::placeTemplateBox);
}

void TForm3::placeTemplateBox()
{
    const QModelIndex current = DBGrid1->currentIndex();
    if (!current.isValid() || current.column() != kTemplateColumn) {
        dbmb->hide();
        return;
    }
    // The cell's rectangle, from the grid's viewport into the tab page.
    const QRect cell = DBGrid1->visualRect(current);
    const QPoint topLeft = DBGrid1->viewport()->mapTo(TabSheet2, cell.topLeft());
    dbmb->setGeometry(QRect(topLeft, cell.size()));
    dbmb->raise();
    dbmb->show();
}

} // namespace pemvora::app
