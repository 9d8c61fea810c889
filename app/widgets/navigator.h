#pragma once
// A record navigator: a row of buttons (first, prior, next, last, insert,
// delete, post) that reports which one was clicked; the owner moves the data.

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

signals:
    void clicked(pemvora::widgets::Navigator::Button button);

private:
    std::vector<std::pair<Button, QToolButton*>> buttons_;
};

} // namespace pemvora::widgets
