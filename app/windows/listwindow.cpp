#include "app/windows/listwindow.h"

#include "app/windows/datasettablemodel.h"
#include "app/windows/uifonts.h"

#include <QGuiApplication>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QPointer>
#include <QTimer>
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
    model->attach(grid);
    // The model would move the cursor itself, posting without the checks:
    // the grid's row changes go through the list controller instead.
    QItemSelectionModel* selection = grid->selectionModel();
    QObject::disconnect(selection, &QItemSelectionModel::currentRowChanged, model, nullptr);
    QObject::connect(selection, &QItemSelectionModel::currentRowChanged, grid,
                     [grid, &list](const QModelIndex& current, const QModelIndex&) {
                         data::Dataset& cursor = list.cursor();
                         if (current.row() < 0 || !cursor.isOpen() || current.row() == cursor.currentRow()) return;
                         if (list.moveToRecNo(current.row() + 1)) return;
                         // Refused: back to the row the cursor still stands on.
                         QPointer<QTableView> view(grid);
                         QTimer::singleShot(0, grid, [view, &list] {
                             if (!view || !view->model()) return;
                             const int row = list.cursor().currentRow();
                             const int column = std::max(0, view->currentIndex().column());
                             if (row >= 0 && view->currentIndex().row() != row)
                                 view->setCurrentIndex(view->model()->index(row, column));
                         });
                     });
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
