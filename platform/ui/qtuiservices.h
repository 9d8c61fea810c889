#pragma once
// UiServices over QMessageBox, owned by the application's active window.

#include "platform/ui/uiservices.h"

namespace pemvora::ui {

class QtUiServices : public UiServices {
public:
    Answer message(const std::string& text, const std::string& caption, Icon icon, Buttons buttons) override;
    void error(const std::string& text) override;
    std::optional<std::string> password(const std::string& caption, const std::string& prompt) override;
    std::optional<std::string> input(const std::string& caption, const std::string& prompt,
                                     const std::string& initial) override;
};

// Makes the Qt message boxes the program's services (the windowed program
// calls it at start-up, after creating its QApplication).
void useQtServices();

} // namespace pemvora::ui
