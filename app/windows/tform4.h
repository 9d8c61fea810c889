#pragma once
// The user-unit window: the user's own unit, one row of USE_DW, in seven
// bound edit boxes.

#include "app/lists/referencelists.h"
#include "app/windows/listwindow.h"

class QLineEdit;
class QPushButton;

namespace pemvora::app {

class TForm4 : public ListWindow {
    Q_OBJECT
public:
    TForm4(ReferenceLists& lists, QWidget* parent = nullptr);

    QLineEdit* DBEdit1 = nullptr;   // uses_dwmc 单位名称
    QLineEdit* DBEdit2 = nullptr;   // uses_dwfr 单位法人
    QLineEdit* DBEdit3 = nullptr;   // uses_yb 单位邮编
    QLineEdit* DBEdit4 = nullptr;   // uses_addrs 单位地址
    QLineEdit* DBEdit5 = nullptr;   // uses_lxr 联 系 人
    QLineEdit* DBEdit6 = nullptr;   // uses_dwdh 单位电话
    QLineEdit* DBEdit7 = nullptr;   // E_MAIL EMAIL地址
    QPushButton* BitBtn1 = nullptr; // 保  存
    QPushButton* BitBtn2 = nullptr; // 退  出
};

} // namespace pemvora::app
