#include "report/canvas/fontmap.h"

#include "platform/text/gbk.h"
#include "report/canvas/canvas.h"

#include <algorithm>
#include <cstdlib>
#include <fontconfig/fontconfig.h>

#include <QHash>

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace pemvora::report {

namespace fs = std::filesystem;

namespace {

bool isFile(const fs::path& p)
{
    std::error_code ec;
    return !p.empty() && fs::is_regular_file(p, ec);
}

fs::path findConfiguration()
{
    if (const char* explicitFile = std::getenv("PEMVORA_FONTCONFIG_FILE"); explicitFile && *explicitFile) {
        if (isFile(explicitFile)) return explicitFile;
    }
    std::error_code ec;
    const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    if (!ec) {
        // The build tree keeps it in <build>/share/pemvora, an installed tree in
        // <prefix>/share/pemvora, with programs a few levels below or beside.
        fs::path dir = exe.parent_path();
        for (int level = 0; level < 5 && !dir.empty(); ++level) {
            const fs::path candidate = dir / "share" / "pemvora" / "fonts.conf";
            if (isFile(candidate)) return candidate;
            if (dir == dir.parent_path()) break;
            dir = dir.parent_path();
        }
    }
#ifdef PEMVORA_FONTCONF_SOURCE
    if (isFile(PEMVORA_FONTCONF_SOURCE)) return PEMVORA_FONTCONF_SOURCE;
#endif
    return {};
}

} // namespace

std::string loadFontConfiguration()
{
    static const std::string inEffect = [] {
        if (const char* userFile = std::getenv("FONTCONFIG_FILE"); userFile && *userFile)
            return std::string(userFile);
        const fs::path ours = findConfiguration();
        if (ours.empty()) return std::string();
        const std::string path = fs::absolute(ours).string();
        ::setenv("FONTCONFIG_FILE", path.c_str(), 1);
        return path;
    }();
    return inEffect;
}

namespace {

// Runs `use` on the face fontconfig picks for `family` (our aliases applied);
// false when nothing matched.
template <typename Use>
bool withBestMatch(const QString& family, Use use)
{
    const QByteArray utf8 = family.toUtf8();
    FcPattern* pattern = FcPatternCreate();
    if (!pattern) return false;
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(utf8.constData()));
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    if (match) {
        use(match);
        FcPatternDestroy(match);
    }
    FcPatternDestroy(pattern);
    return match != nullptr;
}

} // namespace

QString resolveFontFamily(const QString& family)
{
    static QHash<QString, QString> cache;
    if (auto it = cache.constFind(family); it != cache.constEnd()) return *it;

    QString resolved = family;
    withBestMatch(family, [&](FcPattern* match) {
        FcChar8* name = nullptr;
        if (FcPatternGetString(match, FC_FAMILY, 0, &name) == FcResultMatch && name)
            resolved = QString::fromUtf8(reinterpret_cast<const char*>(name));
    });
    cache.insert(family, resolved);
    return resolved;
}

namespace {

// Whether the face fontconfig picks for `family` has Chinese characters.
bool coversChinese(const QString& family)
{
    static QHash<QString, bool> cache;
    if (auto it = cache.constFind(family); it != cache.constEnd()) return *it;
    bool covers = false;
    withBestMatch(family, [&](FcPattern* match) {
        FcCharSet* chars = nullptr;
        if (FcPatternGetCharSet(match, FC_CHARSET, 0, &chars) == FcResultMatch && chars)
            covers = FcCharSetHasChar(chars, 0x4E00) && FcCharSetHasChar(chars, 0x6574);   // 一, 整
    });
    cache.insert(family, covers);
    return covers;
}

bool isEastAsianCharset(int charset) { return charset == 128 || charset == 129 || charset == 134 || charset == 136; }

} // namespace

QString familyForFont(const Font& font)
{
    const QString resolved = resolveFontFamily(text::toQString(font.name));
    // The classic font mapper weighs the character set above the face name: a
    // Latin face asked for with a Chinese character set comes out in the
    // system's Song face, Latin letters included.
    if (isEastAsianCharset(font.charset) && !coversChinese(resolved))
        return resolveFontFamily(QString::fromUtf8("宋体"));
    return resolved;
}

QFont toQFont(const Font& font, int charSpacing)
{
    QFont f(familyForFont(font));
    // A negative height means the same size; a damaged record may give any
    // value, and beyond a few thousand pixels a glyph is larger than any page.
    constexpr long long kMaxPixelSize = 10000;
    const long long size = std::llabs(static_cast<long long>(font.height));
    f.setPixelSize(static_cast<int>(std::clamp(size, 1LL, kMaxPixelSize)));
    f.setBold((font.style & kFontBold) != 0);
    f.setItalic((font.style & kFontItalic) != 0);
    f.setUnderline((font.style & kFontUnderline) != 0);
    f.setStrikeOut((font.style & kFontStrikeOut) != 0);
    f.setKerning(false);
    if (charSpacing != 0) f.setLetterSpacing(QFont::AbsoluteSpacing, charSpacing);
    return f;
}

} // namespace pemvora::report
