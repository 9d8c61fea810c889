#pragma once
// The question asked before the cheque window closes and the program ends.

#include "platform/ui/uiservices.h"

namespace pemvora::app {

// True when the operator answers Yes to "您确定要退出管理系统吗？".
inline bool confirmQuit(ui::UiServices& ui)
{
    return ui.message("您确定要退出管理系统吗？     ", "确认", ui::Icon::Question, ui::Buttons::YesNo) ==
           ui::Answer::Yes;
}

} // namespace pemvora::app
