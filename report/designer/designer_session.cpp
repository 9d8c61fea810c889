#include "report/designer/designer_session.h"

#include "platform/text/gbk.h"

#include <algorithm>

namespace pemvora::report {

namespace {

DesignerSession& sessionStorage()
{
    static DesignerSession session;
    return session;
}

} // namespace

DesignerSession& designerSession() { return sessionStorage(); }

void resetDesignerSession() { sessionStorage() = DesignerSession{}; }

void resetNewObjectFont(const std::vector<std::string>& installedFamilies)
{
    LastUsedValues& last = designerSession().LastUsed;
    const bool hasArial = std::any_of(installedFamilies.begin(), installedFamilies.end(),
                                      [](const std::string& f) { return text::equalsNoCase(f, "Arial"); });
    if (hasArial || installedFamilies.empty()) last.FontName = "Arial";
    else last.FontName = installedFamilies.front();
    last.FontSize = 10;
}

} // namespace pemvora::report
