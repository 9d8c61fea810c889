#pragma once
// The desktop's link opener over QDesktopServices, for programs.

#include "report/engine/link_opener.h"

namespace pemvora::report {

class DesktopLinkOpener : public LinkOpener {
public:
    bool open(const QUrl& url) override;
};

// Installs one DesktopLinkOpener in the engine context (kept for the process).
void installDesktopLinkOpener();

} // namespace pemvora::report
