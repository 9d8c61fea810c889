#pragma once
// Every modal message and question of the program goes through this interface,
// so that tests can answer them. Texts are UTF-8.

#include <functional>
#include <optional>
#include <string>

namespace pemvora::ui {

enum class Icon { None, Information, Warning, Error, Question };
enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel };
enum class Answer { Ok, Cancel, Yes, No };

class UiServices {
public:
    virtual ~UiServices() = default;
    // A message box with one button or several; returns the button pressed.
    virtual Answer message(const std::string& text, const std::string& caption, Icon icon,
                           Buttons buttons = Buttons::Ok) = 0;
    // The program's standard error box, for database and conversion errors.
    virtual void error(const std::string& text) = 0;

    // Asks for a password (the entry hides what is typed); nullopt when the user
    // cancels. Services that cannot ask answer as a cancel.
    virtual std::optional<std::string> password(const std::string& caption, const std::string& prompt)
    {
        (void)caption;
        (void)prompt;
        return std::nullopt;
    }

    Answer question(const std::string& text, const std::string& caption, Buttons buttons = Buttons::YesNo)
    {
        return message(text, caption, Icon::Question, buttons);
    }
};

// The services in force: the Qt message boxes unless a test installed its own.
UiServices& services();
// Installs `replacement` (not owned) until it is uninstalled with nullptr.
void installServices(UiServices* replacement);

} // namespace pemvora::ui
