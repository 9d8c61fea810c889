#include "platform/ui/uiservices.h"

#include <iostream>

namespace pemvora::ui {

namespace {
UiServices* installed = nullptr;
UiServices* programServices = nullptr;
} // namespace

UiServices& services()
{
    static HeadlessUiServices headless;
    if (installed) return *installed;
    return programServices ? *programServices : headless;
}

void installServices(UiServices* replacement) { installed = replacement; }

void setProgramServices(UiServices* program) { programServices = program; }

Answer HeadlessUiServices::message(const std::string& text, const std::string& caption, Icon icon, Buttons buttons)
{
    (void)icon;
    std::cerr << (caption.empty() ? std::string() : caption + ": ") << text << '\n';
    switch (buttons) {
    case Buttons::Ok: return Answer::Ok;
    case Buttons::YesNo: return Answer::No;
    case Buttons::OkCancel:
    case Buttons::YesNoCancel: return Answer::Cancel;
    }
    return Answer::Cancel;
}

void HeadlessUiServices::error(const std::string& text) { std::cerr << text << '\n'; }

} // namespace pemvora::ui
