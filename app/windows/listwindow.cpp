#include "app/windows/listwindow.h"

#include "app/windows/datasettablemodel.h"
#include "app/windows/uifonts.h"

#include <QGuiApplication>
#include <QHeaderView>
#include <QScreen>
#include <QTableView>

namespace pemvora::app {

ListWindow::ListWindow(const char* objectName, const char* caption, QSize client, bool resizable, QWidget* parent)
    : QDialog(parent, resizable ? Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint
                                : Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                                      Qt::MSWindowsFixedSizeDialogHint)
{
    setObjectName(objectName);
    setWindowTitle(QString::fromUtf8(caption));
    setFont(uiFont());
    if (resizable) resize(client);
    else setFixedSize(client);
}

void ListWindow::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
}

widgets::Navigator* makeListNavigator(ListController& list, QWidget* parent)
{
    using B = widgets::Navigator::Button;
    auto* nav = new widgets::Navigator({B::First, B::Prior, B::Next, B::Last, B::Insert, B::Delete, B::Post}, parent);
    QObject::connect(nav, &widgets::Navigator::clicked, parent, [&list](B b) {
        switch (b) {
        case B::First: list.first(); break;
        case B::Prior: list.prior(); break;
        case B::Next: list.next(); break;
        case B::Last: list.last(); break;
        case B::Insert: list.insert(); break;
        case B::Delete: list.remove(); break;
        case B::Post: list.post(); break;
        }
    });
    return nav;
}

void attachGrid(QTableView* grid, DatasetTableModel* model, ListController& list)
{
    // Row changes go through the list controller, so that a row is written
    // only after its table's checks.
    model->setRowMover([&list](int recNo) { return list.moveToRecNo(recNo); });
    model->attach(grid);
    // One current row, one selection: a click on a column title then selects
    // no column (which would also move the current row to the top one).
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
}

void styleGrid(QTableView* grid, const QColor& titleColour, std::initializer_list<int> widths)
{
    QHeaderView* header = grid->horizontalHeader();
    header->setDefaultAlignment(Qt::AlignCenter);
    header->setStyleSheet(QString("QHeaderView::section { color: %1; }").arg(titleColour.name()));
    grid->verticalHeader()->setDefaultSectionSize(18);
    grid->verticalHeader()->setFixedWidth(12);
    grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    int column = 0;
    for (int w : widths) grid->setColumnWidth(column++, w);
}

} // namespace pemvora::app
