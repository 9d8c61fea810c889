#pragma once
// Every modal message and question of the program goes through this interface,
// so that tests can answer them. Texts are UTF-8. This library needs no Qt: the
// message boxes over Qt Widgets are in platform/ui/qtuiservices.h, which only
// the programs link and install.

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

    // Asks for a line of text in an edit box that starts with `initial`;
    // nullopt when the user cancels. Services that cannot ask answer as a cancel.
    virtual std::optional<std::string> input(const std::string& caption, const std::string& prompt,
                                             const std::string& initial)
    {
        (void)caption;
        (void)prompt;
        (void)initial;
        return std::nullopt;
    }

    Answer question(const std::string& text, const std::string& caption, Buttons buttons = Buttons::YesNo)
    {
        return message(text, caption, Icon::Question, buttons);
    }
};

// Without a screen: messages and errors go to standard error, questions get
// the answer that does nothing (No, or Cancel where there is one), and a
// password is never given.
class HeadlessUiServices : public UiServices {
public:
    Answer message(const std::string& text, const std::string& caption, Icon icon, Buttons buttons) override;
    void error(const std::string& text) override;
};

// The services in force: those a test installed, else the program's (the Qt
// message boxes in the windowed program), else the headless services.
UiServices& services();
// Installs `replacement` (not owned) until it is uninstalled with nullptr.
void installServices(UiServices* replacement);
// The program's own services (not owned), set once at start-up; nullptr: headless.
void setProgramServices(UiServices* program);

} // namespace pemvora::ui
