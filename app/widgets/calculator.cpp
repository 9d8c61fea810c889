#include "app/widgets/calculator.h"

#include "platform/value/numbertext.h"

namespace pemvora::widgets {

Calculator::Calculator(double start) : display_(formatNumber(start)), accumulator_(start) {}

std::optional<double> Calculator::value() const
{
    if (error_) return std::nullopt;
    return parseNumber(display_);
}

void Calculator::apply()
{
    const double operand = parseNumber(display_).value_or(0);
    switch (pending_) {
    case '+': accumulator_ += operand; break;
    case '-': accumulator_ -= operand; break;
    case '*': accumulator_ *= operand; break;
    case '/':
        if (operand == 0) {
            error_ = true;
            display_ = "Error";
            return;
        }
        accumulator_ /= operand;
        break;
    default: accumulator_ = operand; break;
    }
    pending_ = 0;
    display_ = formatNumber(accumulator_);
}

void Calculator::press(char key)
{
    if (key == 'C') {
        *this = Calculator(0);
        return;
    }
    if (error_) return;
    if ((key >= '0' && key <= '9') || key == '.') {
        if (fresh_) {
            display_.clear();
            if (key == '.') display_.push_back('0');
            display_.push_back(key);
            fresh_ = false;
        } else if (key != '.' || display_.find('.') == std::string::npos) {
            if (display_ == "0" && key != '.') display_.clear();
            display_ += key;
        }
        return;
    }
    if (key == '<') {
        if (!fresh_ && !display_.empty()) display_.pop_back();
        if (display_.empty() || display_ == "-") display_.assign(1, '0');
        return;
    }
    if (key == '+' || key == '-' || key == '*' || key == '/' || key == '=') {
        if (!fresh_ || pending_ == 0) apply();
        if (error_) return;
        pending_ = key == '=' ? 0 : key;
        fresh_ = true;
    }
}

} // namespace pemvora::widgets
