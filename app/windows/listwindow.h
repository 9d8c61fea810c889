#pragma once
// What the reference-list windows share: a fixed dialog with a close box only,
// centred on the desktop each time it opens, and the record navigator wired to
// a ListController.

#include "app/lists/listcontroller.h"
#include "app/widgets/navigator.h"

#include <QDialog>

class QTableView;

namespace pemvora::app {

class DatasetTableModel;

class ListWindow : public QDialog {
    Q_OBJECT
public:
    ListWindow(const char* objectName, const char* caption, QSize client, bool resizable, QWidget* parent);

protected:
    void showEvent(QShowEvent* event) override;
};

// The seven buttons of the list windows' navigators.
widgets::Navigator* makeListNavigator(ListController& list, QWidget* parent);

// Shows `model` in `grid`, the grid's current row following the cursor. A row
// change made in the grid moves the cursor through `list`, so that the row
// being left is posted only after its checks; when they refuse, the grid goes
// back to the cursor's row. One cell or row is selected at a time; a click on
// a column title selects nothing.
void attachGrid(QTableView* grid, DatasetTableModel* model, ListController& list);

// Grid looks shared by the list windows: titles centred in `titleColour`,
// the given column widths, rows one line high.
void styleGrid(QTableView* grid, const QColor& titleColour, std::initializer_list<int> widths);

} // namespace pemvora::app
