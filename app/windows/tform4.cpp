#include "app/windows/tform4.h"

#include "app/windows/fieldbinding.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace pemvora::app {

TForm4::TForm4(ReferenceLists& lists, QWidget* parent)
    : ListWindow("Form4", "使用单位信息", QSize(393, 198), false, parent)
{
    data::Dataset& unit = lists.data.SYDW;
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(6);
    const auto field = [&](const char* caption, const char* column, int row, int col, int span) {
        auto* edit = new QLineEdit(this);
        new FieldBinding(edit, unit, column);
        grid->addWidget(new QLabel(QString::fromUtf8(caption), this), row, col);
        grid->addWidget(edit, row, col + 1, 1, span);
        return edit;
    };
    DBEdit1 = field("单位名称", "uses_dwmc", 0, 0, 3);
    DBEdit2 = field("单位法人", "uses_dwfr", 1, 0, 1);
    DBEdit3 = field("单位邮编", "uses_yb", 1, 2, 1);
    DBEdit4 = field("单位地址", "uses_addrs", 2, 0, 3);
    DBEdit5 = field("联 系 人", "uses_lxr", 3, 0, 1);
    DBEdit6 = field("单位电话", "uses_dwdh", 3, 2, 1);
    DBEdit7 = field("EMAIL地址", "E_MAIL", 4, 0, 3);
    int n = 1;
    for (QLineEdit* e : {DBEdit1, DBEdit2, DBEdit3, DBEdit4, DBEdit5, DBEdit6, DBEdit7})
        e->setObjectName(QString("DBEdit%1").arg(n++));

    BitBtn1 = new QPushButton(QString::fromUtf8("保  存"), this);
    BitBtn1->setObjectName("BitBtn1");
    BitBtn2 = new QPushButton(QString::fromUtf8("退  出"), this);
    BitBtn2->setObjectName("BitBtn2");
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BitBtn1);
    buttons->addWidget(BitBtn2);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);

    connect(BitBtn1, &QPushButton::clicked, this, [&lists] { lists.saveUserUnit(); });
    // Closing keeps unsaved edits pending in SYDW; they show again at the next opening.
    connect(BitBtn2, &QPushButton::clicked, this, &QDialog::close);
}

} // namespace pemvora::app
