#include "report/script/expandline.h"

#include "platform/text/gbk.h"
#include "report/script/parser.h"

namespace pemvora::report {

std::string ExpandLine(std::string_view line, const std::function<std::string(std::string_view inner)>& expandBracket)
{
    std::string out;
    std::size_t pos = 0;
    while (pos < line.size()) {
        std::size_t open = pos;
        while (open < line.size() && line[open] != '[') open = text::nextChar(line, open);
        // A "[" in the last position opens nothing.
        if (open + 1 >= line.size()) break;
        const TfrParser::Bracket b = TfrParser::FindBracket(line, open);
        if (!b.closed) break;
        out.append(line.substr(pos, open - pos));
        out += expandBracket(b.inner);
        pos = b.end + 1;
    }
    out.append(line.substr(std::min(pos, line.size())));
    return out;
}

} // namespace pemvora::report
