#include "app/windows/tform9.h"

#include "app/windows/datasettablemodel.h"

#include <QEvent>
#include <QFocusEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace pemvora::app {

TForm9::TForm9(ReferenceLists& lists, PayeePicker::Choose choose, QWidget* parent)
    : ListWindow("Form9", "选择单位", QSize(266, 293), true, parent), picker_(lists, ui::services(), std::move(choose))
{
    dwxz = new QTableView(this);
    dwxz->setObjectName("dwxz");
    dwxz->setToolTip(QString::fromUtf8("双击选择单位"));
    dwxz->setEditTriggers(QAbstractItemView::NoEditTriggers);
    dwxz->setSelectionBehavior(QAbstractItemView::SelectRows);
    dwxz->setSelectionMode(QAbstractItemView::SingleSelection);
    auto* model = new DatasetTableModel(lists.adskdw, {{"skdw", QString::fromUtf8("收款单位列表"), true}}, dwxz);
    attachGrid(dwxz, model, lists.payees);
    styleGrid(dwxz, QColor(0x00, 0x80, 0x00), {229});

    cjm = new QLineEdit(this);
    cjm->setObjectName("cjm");
    cjm->installEventFilter(this);
    BitBtn1 = new QPushButton(QString::fromUtf8("确 定"), this);
    BitBtn1->setObjectName("BitBtn1");
    BitBtn1->setAutoDefault(false);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(new QLabel(QString::fromUtf8("简 码"), this));
    bottom->addWidget(cjm);
    bottom->addWidget(BitBtn1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(dwxz);
    layout->addLayout(bottom);

    connect(BitBtn1, &QPushButton::clicked, this, [this] {
        if (picker_.confirm()) accept();
    });
    connect(dwxz, &QTableView::doubleClicked, this, [this] {
        if (picker_.confirm()) accept();
    });
}

void TForm9::showEvent(QShowEvent* event)
{
    picker_.opened();
    ListWindow::showEvent(event);
}

bool TForm9::eventFilter(QObject* watched, QEvent* event)
{
    // Leaving the short-code box (Tab, a click elsewhere) looks the code up.
    // Losing the focus to another window (a message, another program) is not leaving.
    if (watched == cjm && event->type() == QEvent::FocusOut && isVisible()) {
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason)
            return ListWindow::eventFilter(watched, event);
        if (picker_.shortCodeLeft(cjm->text().toStdString())) accept();
    }
    return ListWindow::eventFilter(watched, event);
}

} // namespace pemvora::app
