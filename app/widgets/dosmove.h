#pragma once
// DosMove: moves the focus between the controls of a window with the Down and
// Up keys (and, optionally, Enter), as a keyboard user of data-entry forms
// expects. One per window; it watches the window's keys before its controls
// do and never consumes the arrow key: the control still receives it.

#include <QObject>

class QWidget;

namespace pemvora::widgets {

class DosMove : public QObject {
    Q_OBJECT
public:
    enum Option { MoveOnEnter = 0x1, MoveOnUpDown = 0x2 };
    Q_DECLARE_FLAGS(Options, Option)

    // Throws std::logic_error when the window already has one.
    explicit DosMove(QWidget* window);
    ~DosMove() override;

    bool active() const { return active_; }
    void setActive(bool on) { active_ = on; }
    Options options() const { return options_; }
    void setOptions(Options o) { options_ = o; }
    // Drop the Return key in edit boxes, so that they never react to it.
    bool editNoBeep() const { return editNoBeep_; }
    void setEditNoBeep(bool on) { editNoBeep_ = on; }

    // The next (or previous) tab stop of the window after `from`, wrapping round.
    static QWidget* nextTabStop(QWidget* window, QWidget* from, bool forward);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* window_;
    bool active_ = false;
    Options options_ = Options(MoveOnEnter | MoveOnUpDown);
    bool editNoBeep_ = true;
};

} // namespace pemvora::widgets

Q_DECLARE_OPERATORS_FOR_FLAGS(pemvora::widgets::DosMove::Options)
