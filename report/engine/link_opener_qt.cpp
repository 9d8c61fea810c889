#include "report/engine/link_opener_qt.h"

#include "report/model/engine_context.h"

#include <QDesktopServices>

namespace pemvora::report {

bool DesktopLinkOpener::open(const QUrl& url) { return QDesktopServices::openUrl(url); }

void installDesktopLinkOpener()
{
    static DesktopLinkOpener opener;
    engine().Links = &opener;
}

} // namespace pemvora::report
