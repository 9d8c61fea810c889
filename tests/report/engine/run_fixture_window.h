#pragma once
// A progress window without a screen, for run control tests: it runs the task
// at once, logs its captions and labels, and presses Cancel when told to at a
// given event-processing call, the way a user's click is seen by the run.

#include "report/engine/run_control.h"
#include "report/model/engine_context.h"
#include "report/model/report.h"

#include <memory>
#include <string>
#include <vector>

namespace pemvora::report::enginetest {

struct ProgressLog {
    std::vector<std::string> captions;
    std::vector<std::string> labels;
    int shown = 0;
    int events = 0;
    int cancelAtEvent = 0;   // 0: never
    bool cancelled = false;
};

class ScriptedProgressWindow : public ProgressWindow {
public:
    explicit ScriptedProgressWindow(ProgressLog& log) : log_(log) {}
    void SetCaption(const std::string& caption) override { log_.captions.push_back(caption); }
    void SetLabel1(const std::string& text) override { log_.labels.push_back(text); }
    void SetLabel2(const std::string&) override {}
    bool ShowModalWithTask(TfrReport& report, const std::function<void()>& task) override
    {
        report_ = &report;
        ++log_.shown;
        task();
        return !log_.cancelled;
    }
    void ProcessEvents() override
    {
        if (++log_.events == log_.cancelAtEvent) {
            log_.cancelled = true;
            report_->Terminated = true;
        }
    }

private:
    ProgressLog& log_;
    TfrReport* report_ = nullptr;
};

// Installs scripted progress windows that write into `log`.
inline void installScriptedProgress(ProgressLog& log)
{
    engine().Presenters.Progress = [&log] { return std::make_unique<ScriptedProgressWindow>(log); };
}

} // namespace pemvora::report::enginetest
