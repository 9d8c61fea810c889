#pragma once
// The payee picker: a read-only list of the payees (the payee window's cursor)
// from which a double click or "确 定" takes the payee into the cheque
// window's payee box; a short code finds one by its code.

#include "app/lists/referencelists.h"
#include "app/windows/listwindow.h"

class QLineEdit;
class QPushButton;
class QTableView;

namespace pemvora::app {

class TForm9 : public ListWindow {
    Q_OBJECT
public:
    TForm9(ReferenceLists& lists, PayeePicker::Choose choose, QWidget* parent = nullptr);

    PayeePicker& picker() { return picker_; }

    QTableView* dwxz = nullptr;
    QLineEdit* cjm = nullptr;
    QPushButton* BitBtn1 = nullptr;   // 确 定

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    PayeePicker picker_;
};

} // namespace pemvora::app
