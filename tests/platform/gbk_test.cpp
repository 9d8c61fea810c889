#include "platform/text/gbk.h"

#include <QString>
#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace pemvora::text;

namespace {

// Characters whose trail byte looks like ASCII: 癮 = B0 61 ('a'), 癧 = B0 5B ('['),
// 癩 = B0 5D (']'), 腁 = C4 41 ('A'), 亇 = 81 7D ('}').
const std::string kTrailA = "\xB0\x61";
const std::string kTrailBracket = "\xB0\x5B";
const std::string kTrailClose = "\xB0\x5D";
const std::string kTrailUpperA = "\xC4\x41";
const std::string kTrailBrace = "\x81\x7D";
const std::string kCheque = "\xD6\xA7\xC6\xB1";   // 支票

} // namespace

TEST(GbkText, WalksLeadAndTrailTogether)
{
    const std::string s = "a" + kTrailBracket + "b" + kTrailBrace;
    std::vector<std::string> chars;
    for (std::string_view ch : Chars(s)) chars.emplace_back(ch);
    EXPECT_EQ(chars, (std::vector<std::string>{"a", kTrailBracket, "b", kTrailBrace}));
    EXPECT_EQ(charCount(s), 4u);
    // A lead byte at the very end stands alone instead of reading past the text.
    EXPECT_EQ(charCount(std::string("x\xB0")), 2u);
    EXPECT_EQ(charLength(std::string("x\xB0"), 1), 1u);
}

TEST(GbkText, CaseMappingChangesAsciiLettersOnly)
{
    struct Case { std::string in, upper, lower; };
    const Case cases[] = {
        {"abcXYZ", "ABCXYZ", "abcxyz"},
        {kTrailA + "a", kTrailA + "A", kTrailA + "a"},
        {kTrailUpperA + "A", kTrailUpperA + "A", kTrailUpperA + "a"},
        {"dx" + kCheque + "Q", "DX" + kCheque + "Q", "dx" + kCheque + "q"},
        {"", "", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(toUpper(c.in), c.upper) << c.in;
        EXPECT_EQ(toLower(c.in), c.lower) << c.in;
    }
}

TEST(GbkText, CompareIgnoresAsciiCaseButNotTrailBytes)
{
    EXPECT_EQ(compareNoCase("Page1", "PAGE1"), 0);
    EXPECT_TRUE(equalsNoCase("dx" + kCheque, "DX" + kCheque));
    // 癮 (B0 61) and 癅 (B0 41) differ only in what would be the case bit of the
    // trail byte: they are different characters.
    EXPECT_NE(compareNoCase(kTrailA, "\xB0\x41"), 0);
    EXPECT_LT(compareNoCase("abc", "ABD"), 0);
    EXPECT_GT(compareNoCase("abcd", "ABC"), 0);
}

TEST(GbkText, FindNeverMatchesOnATrailByte)
{
    const std::string s = kTrailBracket + "x[y";
    EXPECT_EQ(find(s, "["), 3u);
    EXPECT_EQ(find(kTrailClose, "]"), std::string_view::npos);
    EXPECT_EQ(findNoCase("ab" + kTrailA + "A", "a", 2), 4u);
    EXPECT_EQ(findNoCase("abc", "BC"), 1u);
    EXPECT_EQ(findNoCase("abc", ""), 0u);
}

TEST(GbkText, ConvertsBothWaysAndReportsWhatGbkCannotHold)
{
    EXPECT_EQ(gbkToUtf8(kCheque), "支票");
    EXPECT_EQ(utf8ToGbk("支票 [dx]"), kCheque + " [dx]");
    EXPECT_EQ(gbkToUtf8(kTrailBracket), "癧");
    const std::string roundTrip = "年月日 ABC 壹贰叁";
    EXPECT_EQ(gbkToUtf8(utf8ToGbk(roundTrip)), roundTrip);

    try {
        utf8ToGbk("ok 😀");
        FAIL() << "an emoji has no GBK form";
    } catch (const EncodingError& e) {
        EXPECT_NE(std::string(e.what()).find("U+1F600"), std::string::npos) << e.what();
    }
    std::string out = "kept";
    EXPECT_FALSE(tryUtf8ToGbk("😀", out));
    EXPECT_EQ(out, "kept");
    EXPECT_THROW(utf8ToGbk("\xC3"), EncodingError);   // broken UTF-8
}

TEST(GbkText, BadBytesShowAsReplacementCharacters)
{
    // 0xFF is never GBK; a lead byte at the end has no trail; 0x81 0x20 has an impossible trail.
    EXPECT_EQ(gbkToUtf8("a\xFF" "b"), "a\xEF\xBF\xBD" "b");
    EXPECT_EQ(gbkToUtf8("a\xB0"), "a\xEF\xBF\xBD");
    EXPECT_EQ(gbkToUtf8("\x81 x"), "\xEF\xBF\xBD x");
}

TEST(GbkText, QtBoundary)
{
    EXPECT_EQ(toQString(kCheque), QString::fromUtf8("支票"));
    EXPECT_EQ(fromQString(QString::fromUtf8("支票")), kCheque);
    EXPECT_THROW(fromQString(QString::fromUtf8("😀")), EncodingError);
}

TEST(GbkText, TrimRemovesBlanksAndControlsOnly)
{
    EXPECT_EQ(trim(" \t\r\n x y \x01"), "x y");
    EXPECT_EQ(trim(kCheque + " "), kCheque);
    EXPECT_EQ(trim("   "), "");
}
