#include "report/model/types.h"

#include <array>

namespace pemvora::report {

std::string joinLines(const StringList& lines)
{
    std::string out;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i) out += "\r\n";
        out += lines[i];
    }
    return out;
}

StringList splitLines(std::string_view text)
{
    // CR and LF are never trail bytes of a two-byte character, so a byte scan
    // cannot cut a character.
    StringList lines;
    std::size_t start = 0;
    std::size_t i = 0;
    while (i < text.size()) {
        if (text[i] == '\r' || text[i] == '\n') {
            lines.emplace_back(text.substr(start, i - start));
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
            start = ++i;
        } else {
            ++i;
        }
    }
    if (start < text.size()) lines.emplace_back(text.substr(start));
    return lines;
}

namespace bandkind {

std::string_view displayName(int k)
{
    static constexpr std::array<std::string_view, Count> names{
        "Report title",    "Report summary",   "Page header",      "Page footer",     "Master header",
        "Master data",     "Master footer",    "Detail header",    "Detail data",     "Detail footer",
        "Subdetail header", "Subdetail data",  "Subdetail footer", "Overlay",         "Column header",
        "Column footer",   "Group header",     "Group footer",     "Cross header",    "Cross data",
        "Cross footer",    "Child",            "None",
    };
    if (k < 0 || k >= Count) return {};
    return names[static_cast<std::size_t>(k)];
}

} // namespace bandkind

} // namespace pemvora::report
