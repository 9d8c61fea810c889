#pragma once
// GBK text: the byte strings that the report engine and its template files carry.
//
// A Chinese character is two bytes, a lead byte (0x81-0xFE) and a trail byte
// (0x40-0xFE). A trail byte can look like an ASCII letter, "[", "]" or "}", so
// every routine here steps over a lead byte and its trail byte together and
// never looks at a trail byte on its own.

#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>

class QString;

namespace pemvora::text {

// Raised when a Unicode character has no GBK form. Nothing is dropped silently.
class EncodingError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

inline bool isLeadByte(unsigned char c) { return c >= 0x81 && c <= 0xFE; }
inline bool isLeadByte(char c) { return isLeadByte(static_cast<unsigned char>(c)); }

// Length in bytes of the character that starts at `pos`: 2 for a lead byte that
// has a byte after it, otherwise 1 (0 at or past the end).
inline std::size_t charLength(std::string_view s, std::size_t pos)
{
    if (pos >= s.size()) return 0;
    return (isLeadByte(s[pos]) && pos + 1 < s.size()) ? 2 : 1;
}

// Position of the character after the one at `pos`.
inline std::size_t nextChar(std::string_view s, std::size_t pos) { return pos + charLength(s, pos); }

// Walks text one character (one or two bytes) at a time:
//   for (std::string_view ch : text::Chars(s)) ...
class Chars {
public:
    explicit Chars(std::string_view s) : s_(s) {}
    class iterator {
    public:
        iterator(std::string_view s, std::size_t pos) : s_(s), pos_(pos) {}
        std::string_view operator*() const { return s_.substr(pos_, charLength(s_, pos_)); }
        iterator& operator++() { pos_ = nextChar(s_, pos_); return *this; }
        bool operator!=(const iterator& o) const { return pos_ != o.pos_; }
        bool operator==(const iterator& o) const { return pos_ == o.pos_; }
        std::size_t position() const { return pos_; }
    private:
        std::string_view s_;
        std::size_t pos_;
    };
    iterator begin() const { return {s_, 0}; }
    iterator end() const { return {s_, s_.size()}; }
private:
    std::string_view s_;
};

// Number of characters (a two-byte character counts once).
std::size_t charCount(std::string_view s);

// Case mapping that changes ASCII letters only; lead and trail bytes stay as they are.
std::string toUpper(std::string_view s);
std::string toLower(std::string_view s);
// Case-insensitive comparison on the same terms: <0, 0, >0, byte order otherwise.
int compareNoCase(std::string_view a, std::string_view b);
inline bool equalsNoCase(std::string_view a, std::string_view b) { return compareNoCase(a, b) == 0; }
// First position of `needle` in `hay` at a character boundary, ignoring ASCII case;
// npos when absent.
std::size_t findNoCase(std::string_view hay, std::string_view needle, std::size_t from = 0);
// First position of `needle` at a character boundary (a match never starts on a trail byte).
std::size_t find(std::string_view hay, std::string_view needle, std::size_t from = 0);

// Removes blanks and control characters (bytes 0 to 32) at both ends.
std::string_view trim(std::string_view s);

// GBK -> UTF-8. A byte sequence that is not GBK becomes U+FFFD, so bad bytes show.
std::string gbkToUtf8(std::string_view gbk);
// UTF-8 -> GBK. Throws EncodingError naming the first character GBK cannot hold,
// or when the input is not valid UTF-8.
std::string utf8ToGbk(std::string_view utf8);
// The same without throwing: false and `out` untouched on failure.
bool tryUtf8ToGbk(std::string_view utf8, std::string& out);

// The Qt boundary. The only place where engine text meets Unicode widgets.
QString toQString(std::string_view gbk);
std::string fromQString(const QString& s);   // throws EncodingError

} // namespace pemvora::text
