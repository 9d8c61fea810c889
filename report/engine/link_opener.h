#pragma once
// Hyperlink objects of prepared pages. A text object whose name begins with
// "URL" carries its link in Tag: "@" and a page number goes to that page of
// the preview; anything else is an address to open on the desktop. A prepared
// file may come from anywhere, so only web and mail addresses (http, https,
// mailto) are ever opened: a file, a path or a program is not.

#include <QUrl>

#include <optional>
#include <string>
#include <string_view>

namespace pemvora::report {

// The desktop's way of opening an address; installed in EngineContext::Links.
class LinkOpener {
public:
    virtual ~LinkOpener() = default;
    // Opens a web or mail address; false when the desktop could not.
    virtual bool open(const QUrl& url) = 0;
};

// The address a Tag (GBK) stands for when it may be opened: an http or https
// address with a host, or a mailto address, with no control characters.
std::optional<QUrl> followableLink(std::string_view tag);

// The 1-based page of a page link ("@3" gives 3); nullopt for anything else.
std::optional<int> pageLink(std::string_view url);

} // namespace pemvora::report
