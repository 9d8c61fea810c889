#pragma once
// The arithmetic of the small pop-up calculator of the number edit: a pocket
// calculator with + - * /, evaluated left to right as the keys come.

#include <optional>
#include <string>

namespace pemvora::widgets {

class Calculator {
public:
    explicit Calculator(double start = 0);

    // One key: a digit, ".", "+", "-", "*", "/", "=", "C" (clear) or "<" (back).
    void press(char key);
    // The text on the display.
    const std::string& display() const { return display_; }
    // The number on the display; nothing after a division by zero.
    std::optional<double> value() const;

private:
    void apply();

    std::string display_;
    double accumulator_ = 0;
    char pending_ = 0;      // operator waiting for its right operand
    bool fresh_ = true;     // the next digit starts a new number
    bool error_ = false;
};

} // namespace pemvora::widgets
