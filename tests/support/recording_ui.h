#pragma once
// A UiServices for tests: records every message and answers from a script.

#include "platform/ui/uiservices.h"

#include <deque>
#include <optional>
#include <string>
#include <vector>

namespace pemvora::testsupport {

class RecordingUi : public ui::UiServices {
public:
    struct Shown {
        std::string text, caption;
        ui::Icon icon;
        ui::Buttons buttons;
    };

    ui::Answer message(const std::string& text, const std::string& caption, ui::Icon icon,
                       ui::Buttons buttons) override
    {
        shown.push_back({text, caption, icon, buttons});
        if (answers.empty()) return buttons == ui::Buttons::Ok ? ui::Answer::Ok : ui::Answer::Cancel;
        const ui::Answer a = answers.front();
        answers.pop_front();
        return a;
    }
    void error(const std::string& text) override { errors.push_back(text); }
    std::optional<std::string> input(const std::string& caption, const std::string& prompt,
                                     const std::string& initial) override
    {
        asked.push_back({caption, prompt, initial});
        if (inputs.empty()) return std::nullopt;
        std::optional<std::string> a = inputs.front();
        inputs.pop_front();
        return a;
    }

    struct Asked {
        std::string caption, prompt, initial;
    };

    std::vector<Shown> shown;
    std::vector<std::string> errors;
    std::deque<ui::Answer> answers;   // answers to give, in order
    std::vector<Asked> asked;                         // input boxes shown
    std::deque<std::optional<std::string>> inputs;    // what is typed into them (nullopt: cancel)
};

// Installs a RecordingUi as the program's services for the lifetime of the object.
class ScopedRecordingUi : public RecordingUi {
public:
    ScopedRecordingUi() { ui::installServices(this); }
    ~ScopedRecordingUi() override { ui::installServices(nullptr); }
};

} // namespace pemvora::testsupport
