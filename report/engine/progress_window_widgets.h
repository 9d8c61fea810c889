#pragma once
// TfrProgressForm: the progress window of a run over Qt Widgets. A small
// modal dialog without system menu, centred on the screen, with two centred
// labels and Cancel. ShowModalWithTask posts itself a message and runs the
// task when it arrives, inside the dialog's event loop; Cancel sets the
// report's Terminated flag and closes the dialog with Cancel, and the task
// stops at its next check.

#include "report/engine/run_control.h"

#include <QDialog>

class QLabel;
class QPushButton;

namespace pemvora::report {

class TfrProgressForm : public QDialog, public ProgressWindow {
    Q_OBJECT
public:
    explicit TfrProgressForm(QWidget* parent = nullptr);

    void SetCaption(const std::string& caption) override;
    void SetLabel1(const std::string& text) override;
    void SetLabel2(const std::string& text) override;
    bool ShowModalWithTask(TfrReport& report, const std::function<void()>& task) override;
    void ProcessEvents() override;

    QLabel* label1() const { return label1_; }
    QPushButton* cancelButton() const { return cancel_; }

protected:
    void reject() override;   // Escape and the Cancel button

private:
    QLabel* label1_;
    QLabel* label2_;
    QPushButton* cancel_;
    TfrReport* report_ = nullptr;
    std::function<void()> task_;
    bool cancelled_ = false;
};

// Installs TfrProgressForm as the progress window of every run (programs with a screen).
void installProgressWindow();

} // namespace pemvora::report
