#pragma once
// The reference lists behind the windows TForm3 (banks), TForm4 (the user's
// own unit), TForm5 (purposes), TForm8 (payees) and TForm9 (payee picker):
// the windows' own table cursors, their navigators with the numbering and
// the checks of the data module, and the picker's choices. No screen needed.

#include "app/data/tdata.h"
#include "app/lists/listcontroller.h"
#include "app/templates/templatechoice.h"
#include "platform/ui/uiservices.h"

#include <functional>
#include <string>

namespace pemvora::app {

namespace listtext {
inline constexpr const char* kIsThisThePayee = "是该单位吗!";
inline constexpr const char* kAddNewPayee = "请增加新单位!";
} // namespace listtext

class ReferenceLists {
public:
    // Opens the three cursors, the bank and purpose cursors on their last row.
    ReferenceLists(data::TData& data, ui::UiServices& ui);

    data::TData& data;
    data::Dataset AD_bank;   // table bank (bank window)
    data::Dataset ad_yt;     // table yt (purpose window)
    data::Dataset adskdw;    // table skdw (payee window and payee picker)
    ListController banks;
    ListController purposes;
    ListController payees;

    // User-unit window "保  存": edit the first USE_DW row (or start it) and post it.
    bool saveUserUnit();

private:
    ui::UiServices& ui_;
};

// The payee picker: chooses a payee of the payee window's cursor for the
// cheque window's payee box.
class PayeePicker {
public:
    using Choose = std::function<void(const std::string& payeeName)>;
    PayeePicker(ReferenceLists& lists, ui::UiServices& ui, Choose choose);

    // On creation and each time the picker is shown.
    void opened();
    // "确 定" or a double click: the current row's payee into the payee box.
    // True when the picker closes.
    bool confirm();
    // Leaving the short-code box: look the code up; true when the picker closes.
    bool shortCodeLeft(const std::string& code);

private:
    ReferenceLists& lists_;
    ui::UiServices& ui_;
    Choose choose_;
};

} // namespace pemvora::app
