#pragma once
// A record navigator: a row of buttons (first, prior, next, last, insert,
// delete, post) that reports which one was clicked; the owner moves the data.
//
// The navigator is one control with one tab stop. While it has the focus, one
// of its buttons carries a focus mark: Left and Right move the mark (not
// beyond either end) and Space presses the marked button.

#include <QWidget>

#include <vector>

class QToolButton;

namespace pemvora::widgets {

class Navigator : public QWidget {
    Q_OBJECT
public:
    enum class Button { First, Prior, Next, Last, Insert, Delete, Post };

    Navigator(std::vector<Button> buttons, QWidget* parent = nullptr);

    QToolButton* button(Button b) const;
    // The button that carries the focus mark (Space presses it).
    Button markedButton() const { return buttons_[marked_].first; }

signals:
    void clicked(pemvora::widgets::Navigator::Button button);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void mark(std::size_t index);

    std::vector<std::pair<Button, QToolButton*>> buttons_;
    std::size_t marked_ = 0;
};

} // namespace pemvora::widgets
