#pragma once
// The login: up to three clicks of the log-in button, each of which first
// rewrites the desktop shortcut. Plain logic; the dialog Tadmin is its view.

#include "platform/desktop/shortcut.h"
#include "platform/ui/uiservices.h"

#include <string>
#include <vector>

namespace pemvora::app {

// What the login needs of the operator table.
class OperatorDirectory {
public:
    virtual ~OperatorDirectory() = default;
    // The user names from the current row of the operator list to its end.
    virtual std::vector<std::string> loginNames() = 0;
    // Whether an operator row has exactly this name and password, compared as
    // values. Throws on a database error.
    virtual bool hasOperator(const std::string& name, const std::string& password) = 0;
};

class LoginController {
public:
    enum class Result {
        LoggedIn,         // close the dialog, go on to the main window
        TryAgain,         // message shown: clear the password, focus the user name
        EndApplication,   // the third failed click: end without a word
        Error,            // a database error was shown; the dialog stays as it is
    };

    LoginController(OperatorDirectory& operators, ui::UiServices& ui, desktop::ShortcutWriter& shortcuts,
                    desktop::ShortcutSpec shortcut);

    std::vector<std::string> userList() { return operators_.loginNames(); }
    Result logIn(const std::string& name, const std::string& password);
    int attempts() const { return attempts_; }

    static constexpr int kMaxAttempts = 3;

private:
    OperatorDirectory& operators_;
    ui::UiServices& ui_;
    desktop::ShortcutWriter& shortcuts_;
    desktop::ShortcutSpec shortcut_;
    int attempts_ = 0;   // counts clicks for the whole run, never reset
};

} // namespace pemvora::app
