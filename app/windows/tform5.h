#pragma once
// The purpose window: the purposes of payment in an editable grid.

#include "app/lists/referencelists.h"
#include "app/windows/listwindow.h"

class QTableView;

namespace pemvora::app {

class TForm5 : public ListWindow {
    Q_OBJECT
public:
    TForm5(ReferenceLists& lists, QWidget* parent = nullptr);

    QTableView* DBGrid1 = nullptr;
    widgets::Navigator* DBNavigator1 = nullptr;
};

} // namespace pemvora::app
