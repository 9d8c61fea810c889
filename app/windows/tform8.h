#pragma once
// The payee window: the payees in an editable grid with grey rows. Its title
// shows a sort mark that turns with each click; the rows keep table order.

#include "app/lists/referencelists.h"
#include "app/windows/listwindow.h"

class QTableView;

namespace pemvora::app {

class TForm8 : public ListWindow {
    Q_OBJECT
public:
    TForm8(ReferenceLists& lists, QWidget* parent = nullptr);

    QTableView* DBGrid1 = nullptr;
    widgets::Navigator* DBNavigator1 = nullptr;
};

} // namespace pemvora::app
