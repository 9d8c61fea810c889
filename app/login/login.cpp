#include "app/login/login.h"

#include <exception>

namespace pemvora::app {

LoginController::LoginController(OperatorDirectory& operators, ui::UiServices& ui,
                                 desktop::ShortcutWriter& shortcuts, desktop::ShortcutSpec shortcut)
    : operators_(operators), ui_(ui), shortcuts_(shortcuts), shortcut_(std::move(shortcut))
{
}

LoginController::Result LoginController::logIn(const std::string& name, const std::string& password)
{
    shortcuts_.write(shortcut_);   // whatever happens, the login goes on
    ++attempts_;
    bool found = false;
    try {
        found = operators_.hasOperator(name, password);
    } catch (const std::exception& e) {
        ui_.error(e.what());
        return Result::Error;
    }
    if (found) return Result::LoggedIn;
    if (attempts_ >= kMaxAttempts) return Result::EndApplication;
    ui_.message("口令有误，请重新输入", "登录提示", ui::Icon::None);
    return Result::TryAgain;
}

} // namespace pemvora::app
