#include "report/engine/progress_window_widgets.h"

#include "platform/text/gbk.h"
#include "report/model/engine_context.h"
#include "report/model/report.h"

#include <QApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

namespace pemvora::report {

TfrProgressForm::TfrProgressForm(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setObjectName(QStringLiteral("TfrProgressForm"));
    setModal(true);
    label1_ = new QLabel(this);
    label2_ = new QLabel(this);
    for (QLabel* l : {label1_, label2_}) {
        l->setAlignment(Qt::AlignCenter);
        l->setMinimumWidth(260);
    }
    label1_->setObjectName(QStringLiteral("Label1"));
    label2_->setObjectName(QStringLiteral("Label2"));
    cancel_ = new QPushButton(QStringLiteral("Cancel"), this);
    cancel_->setObjectName(QStringLiteral("CancelB"));
    connect(cancel_, &QPushButton::clicked, this, &TfrProgressForm::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label1_);
    layout->addWidget(label2_);
    layout->addWidget(cancel_, 0, Qt::AlignHCenter);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void TfrProgressForm::SetCaption(const std::string& caption) { setWindowTitle(text::toQString(caption)); }
void TfrProgressForm::SetLabel1(const std::string& text) { label1_->setText(text::toQString(text)); }
void TfrProgressForm::SetLabel2(const std::string& text) { label2_->setText(text::toQString(text)); }

bool TfrProgressForm::ShowModalWithTask(TfrReport& report, const std::function<void()>& task)
{
    report_ = &report;
    task_ = task;
    cancelled_ = false;
    adjustSize();
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.center() - rect().center());
    }
    // The task starts once the window is up and its loop runs. An error of the
    // task must not cross Qt's event loop: it is carried out and raised again.
    std::exception_ptr failure;
    QTimer::singleShot(0, this, [this, &failure] {
        try {
            if (task_) task_();
        } catch (...) {
            failure = std::current_exception();
        }
        if (cancelled_) return;
        if (failure) QDialog::reject();
        else accept();
    });
    exec();
    report_ = nullptr;
    task_ = nullptr;
    if (failure) std::rethrow_exception(failure);
    return !cancelled_;
}

void TfrProgressForm::ProcessEvents() { QCoreApplication::processEvents(QEventLoop::AllEvents); }

void TfrProgressForm::reject()
{
    cancelled_ = true;
    if (report_) report_->Terminated = true;
    QDialog::reject();
}

void installProgressWindow()
{
    engine().Presenters.Progress = [] { return std::make_unique<TfrProgressForm>(); };
}

} // namespace pemvora::report
