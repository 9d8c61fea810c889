#include "app/windows/tform6.h"

#include "app/data/tdata.h"
#include "app/login/operators.h"
#include "app/windows/datasettablemodel.h"
#include "platform/ui/uiservices.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QScreen>
#include <QTableView>
#include <QVBoxLayout>

#include <exception>

namespace pemvora::app {

TForm6::TForm6(data::TData& data, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                          Qt::MSWindowsFixedSizeDialogHint),
      data_(data)
{
    setObjectName("Form6");
    setWindowTitle(QString::fromUtf8("用户管理"));

    grid = new QTableView(this);
    grid->setObjectName("DBGrid1");
    model_ = new DatasetTableModel(data_.users,
                                   {{"user_name", QString::fromUtf8("用户名")}, {"password", QString::fromUtf8("密码")}},
                                   this);
    model_->attach(grid);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->setEditTriggers(QAbstractItemView::AllEditTriggers);
    grid->horizontalHeader()->setStretchLastSection(true);
    grid->verticalHeader()->setDefaultSectionSize(22);
    grid->setMinimumSize(320, 200);

    BitBtn1 = new QPushButton(QString::fromUtf8("增 加"), this);
    BitBtn1->setObjectName("BitBtn1");
    BitBtn2 = new QPushButton(QString::fromUtf8("删除"), this);
    BitBtn2->setObjectName("BitBtn2");
    BitBtn3 = new QPushButton(QString::fromUtf8("退出"), this);
    BitBtn3->setObjectName("BitBtn3");
    for (QPushButton* b : {BitBtn1, BitBtn2, BitBtn3}) b->setAutoDefault(false);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BitBtn1);
    buttons->addWidget(BitBtn2);
    buttons->addWidget(BitBtn3);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(grid);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(BitBtn1, &QPushButton::clicked, this, [this] { run(addOperatorRow); });
    connect(BitBtn2, &QPushButton::clicked, this, [this] { run(deleteOperatorRow); });
    connect(BitBtn3, &QPushButton::clicked, this, &QDialog::close);
}

void TForm6::run(void (*operation)(data::Dataset&))
{
    try {
        operation(data_.users);
    } catch (const std::exception& e) {
        ui::services().error(e.what());
    }
    grid->setFocus();
}

void TForm6::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
}

void TForm6::done(int result)
{
    try {
        data_.users.checkBrowseMode();
    } catch (const std::exception& e) {
        ui::services().error(e.what());
    }
    QDialog::done(result);
}

} // namespace pemvora::app
