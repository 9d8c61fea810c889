#include "platform/text/gbk.h"

#include <QList>
#include <QString>

#include <cerrno>
#include <iconv.h>

#include <fmt/format.h>

namespace pemvora::text {

namespace {

char asciiUpper(char c) { return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c; }
char asciiLower(char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; }

template <typename Map>
std::string mapAscii(std::string_view s, Map map)
{
    std::string out(s);
    for (std::size_t i = 0; i < out.size();) {
        const std::size_t n = charLength(out, i);
        if (n == 1) out[i] = map(out[i]);
        i += n;
    }
    return out;
}

// One conversion descriptor per direction and thread, reset before each use.
class Converter {
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from))
    {
        if (cd_ == reinterpret_cast<iconv_t>(-1))
            throw std::runtime_error(fmt::format("iconv cannot convert {} to {}", from, to));
    }
    ~Converter() { iconv_close(cd_); }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    enum class Stop { Done, Invalid, Incomplete };

    // Converts as much of `in` as it can, appending to `out`; `in` advances.
    Stop run(std::string_view& in, std::string& out)
    {
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        char buf[1024];
        while (!in.empty()) {
            char* src = const_cast<char*>(in.data());
            std::size_t srcLeft = in.size();
            char* dst = buf;
            std::size_t dstLeft = sizeof buf;
            const std::size_t r = iconv(cd_, &src, &srcLeft, &dst, &dstLeft);
            const int err = errno;
            out.append(buf, static_cast<std::size_t>(dst - buf));
            in.remove_prefix(in.size() - srcLeft);
            if (r != static_cast<std::size_t>(-1)) continue;
            if (err == E2BIG) continue;
            return err == EINVAL ? Stop::Incomplete : Stop::Invalid;
        }
        return Stop::Done;
    }

private:
    iconv_t cd_;
};

Converter& gbkToUtf8Converter()
{
    thread_local Converter c("UTF-8", "GBK");
    return c;
}

Converter& utf8ToGbkConverter()
{
    thread_local Converter c("GBK", "UTF-8");
    return c;
}

// Length of the UTF-8 sequence that starts with `lead`, 0 when it cannot start one.
std::size_t utf8Length(unsigned char lead)
{
    if (lead < 0x80) return 1;
    if (lead >= 0xC2 && lead <= 0xDF) return 2;
    if (lead >= 0xE0 && lead <= 0xEF) return 3;
    if (lead >= 0xF0 && lead <= 0xF4) return 4;
    return 0;
}

std::string describeUnencodable(std::string_view rest)
{
    const std::size_t n = utf8Length(static_cast<unsigned char>(rest[0]));
    if (n == 0 || n > rest.size())
        return fmt::format("The text is not valid UTF-8 (byte 0x{:02X})", static_cast<unsigned char>(rest[0]));
    const QString ch = QString::fromUtf8(rest.data(), static_cast<qsizetype>(n));
    if (ch.contains(QChar::ReplacementCharacter))
        return fmt::format("The text is not valid UTF-8 (byte 0x{:02X})", static_cast<unsigned char>(rest[0]));
    const char32_t code = ch.toUcs4().value(0);
    return fmt::format("The character \"{}\" (U+{:04X}) cannot be written in GBK", rest.substr(0, n),
                       static_cast<unsigned>(code));
}

} // namespace

std::size_t charCount(std::string_view s)
{
    std::size_t n = 0;
    for (std::size_t i = 0; i < s.size(); i = nextChar(s, i)) ++n;
    return n;
}

std::string toUpper(std::string_view s) { return mapAscii(s, asciiUpper); }
std::string toLower(std::string_view s) { return mapAscii(s, asciiLower); }

int compareNoCase(std::string_view a, std::string_view b)
{
    std::size_t i = 0;
    const std::size_t n = std::min(a.size(), b.size());
    while (i < n) {
        const std::size_t la = charLength(a, i);
        const std::size_t lb = charLength(b, i);
        if (la == 1 && lb == 1) {
            const auto ca = static_cast<unsigned char>(asciiUpper(a[i]));
            const auto cb = static_cast<unsigned char>(asciiUpper(b[i]));
            if (ca != cb) return ca < cb ? -1 : 1;
            ++i;
            continue;
        }
        // At least one side is a two-byte character: compare the bytes as they are.
        const std::size_t len = std::max(la, lb);
        for (std::size_t k = 0; k < len; ++k) {
            if (i + k >= a.size() || i + k >= b.size()) break;
            const auto ca = static_cast<unsigned char>(a[i + k]);
            const auto cb = static_cast<unsigned char>(b[i + k]);
            if (ca != cb) return ca < cb ? -1 : 1;
        }
        i += len;
    }
    if (a.size() == b.size()) return 0;
    return a.size() < b.size() ? -1 : 1;
}

std::size_t find(std::string_view hay, std::string_view needle, std::size_t from)
{
    for (std::size_t i = from; i <= hay.size(); i = nextChar(hay, i)) {
        if (hay.substr(i, needle.size()) == needle) return i;
        if (i == hay.size()) break;
    }
    return std::string_view::npos;
}

std::size_t findNoCase(std::string_view hay, std::string_view needle, std::size_t from)
{
    for (std::size_t i = from; i <= hay.size(); i = nextChar(hay, i)) {
        if (hay.size() - i >= needle.size() && compareNoCase(hay.substr(i, needle.size()), needle) == 0)
            return i;
        if (i == hay.size()) break;
    }
    return std::string_view::npos;
}

std::string_view trim(std::string_view s)
{
    while (!s.empty() && static_cast<unsigned char>(s.front()) <= 32) s.remove_prefix(1);
    while (!s.empty() && static_cast<unsigned char>(s.back()) <= 32) s.remove_suffix(1);
    return s;
}

std::string gbkToUtf8(std::string_view gbk)
{
    static constexpr std::string_view replacement = "\xEF\xBF\xBD";   // U+FFFD
    std::string out;
    out.reserve(gbk.size() * 3 / 2);
    Converter& c = gbkToUtf8Converter();
    while (!gbk.empty()) {
        const Converter::Stop stop = c.run(gbk, out);
        if (stop == Converter::Stop::Done) break;
        out += replacement;
        if (stop == Converter::Stop::Incomplete) break;
        // A lead byte with an impossible trail: drop the lead only, so that an ASCII
        // byte after it is still shown as itself.
        gbk.remove_prefix(1);
    }
    return out;
}

bool tryUtf8ToGbk(std::string_view utf8, std::string& out)
{
    std::string result;
    result.reserve(utf8.size());
    if (utf8ToGbkConverter().run(utf8, result) != Converter::Stop::Done) return false;
    out = std::move(result);
    return true;
}

std::string utf8ToGbk(std::string_view utf8)
{
    std::string result;
    result.reserve(utf8.size());
    std::string_view rest = utf8;
    if (utf8ToGbkConverter().run(rest, result) != Converter::Stop::Done)
        throw EncodingError(describeUnencodable(rest));
    return result;
}

QString toQString(std::string_view gbk)
{
    const std::string utf8 = gbkToUtf8(gbk);
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

std::string fromQString(const QString& s)
{
    const QByteArray utf8 = s.toUtf8();
    return utf8ToGbk(std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size())));
}

} // namespace pemvora::text
