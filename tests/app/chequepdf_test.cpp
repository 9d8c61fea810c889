// pemvora-cli print-cheque --pdf for each of the fifteen templates, with the
// longest values a cheque form takes, read back from the PDF with
// `pdftotext -bbox`: every word printed lies wholly inside the box of the
// form that its value belongs to, each box holds exactly its value, and each
// character of the amount in fen stands in its own digit box.

#include "tests/app/clirun.h"

#include <gtest/gtest.h>

#include <fmt/format.h>

#include <QString>

#include <cstdio>
#include <fstream>
#include <regex>
#include <string>
#include <vector>

using namespace pemvora::data::testing;

namespace {

// The first `count` characters of a text of Chinese characters (three bytes each in UTF-8).
std::string chinese(const std::string& text, std::size_t count) { return text.substr(0, count * 3); }

const std::string kPayee = chinese("北京市海淀区中关村科技园区物业管理有限公司", 18);
const std::string kPurpose = chinese("支付北京市海淀区中关村科技园区办公用房租金", 18);
const char* const kBankRest = "北京市海淀区中关村大街科技园区支行营业部";

struct Bank {
    const char* templateBank;
    const char* carry;
    const char* acarry;
    const char* cash;
};
const Bank kBanks[] = {
    {"工商银行", "carry.frf", "acarry.frf", "cash.frf"},   {"建设银行", "carry1.frf", "acarry1.frf", "cash1.frf"},
    {"农业银行", "carry2.frf", "acarry2.frf", "cash2.frf"}, {"信用联社", "carry3.frf", "acarry3.frf", "cash3.frf"},
    {"其他", "carry4.frf", "acarry4.frf", "cash4.frf"},
};

std::string bankName(int i)
{
    const std::string mb = kBanks[i].templateBank;
    return mb + chinese(kBankRest, 18 - mb.size() / 3);
}
std::string account(int i) { return fmt::format("62220202001123456789{:05d}", 12340 + i); }   // 25 digits

// A box of the form, millimetres from its top-left corner.
struct Box {
    double left, top, right, bottom;
};

struct Word {
    double left, top, right, bottom;   // millimetres
    std::string text;
};

constexpr double kPointsToMm = 25.4 / 72.0;

// The text a reader of the PDF gets back stands for the glyphs drawn. CJK
// fonts share a glyph between an ideograph and its radical (工 and ⼯), and the
// PDF's character map may name the radical: both are the same printed character.
std::string asPrinted(const std::string& utf8)
{
    QString text = QString::fromUtf8(utf8).normalized(QString::NormalizationForm_KC);
    text.replace(QChar(0x2EC6), QChar(0x89D2));   // ⻆ (no compatibility form) is 角
    return text.toStdString();
}

std::vector<Word> wordsOfPdf(const TempDir& dir, const std::string& pdf)
{
    const std::string html = dir.file("words.html");
    const std::string command = "pdftotext -bbox '" + dir.file(pdf) + "' '" + html + "'";
    if (std::system(command.c_str()) != 0) throw std::runtime_error("pdftotext failed on " + pdf);
    const std::string content = readFile(html);
    static const std::regex word(
        R"re(<word xMin="([0-9.]+)" yMin="([0-9.]+)" xMax="([0-9.]+)" yMax="([0-9.]+)">([^<]*)</word>)re");
    std::vector<Word> words;
    for (std::sregex_iterator it(content.begin(), content.end(), word), end; it != end; ++it) {
        const std::smatch& m = *it;
        words.push_back({std::stod(m[1]) * kPointsToMm, std::stod(m[2]) * kPointsToMm, std::stod(m[3]) * kPointsToMm,
                         std::stod(m[4]) * kPointsToMm, m[5]});
    }
    return words;
}

// The page size of a PDF in millimetres, from pdftotext's page element.
std::pair<double, double> pageSize(const TempDir& dir)
{
    static const std::regex page(R"re(<page width="([0-9.]+)" height="([0-9.]+)">)re");
    const std::string content = readFile(dir.file("words.html"));
    std::smatch m;
    if (!std::regex_search(content, m, page)) return {0, 0};
    return {std::stod(m[1]) * kPointsToMm, std::stod(m[2]) * kPointsToMm};
}

// Half a point: pdftotext's boxes are the font's, a little taller than the ink.
constexpr double kSlack = 0.2;

bool inside(const Word& w, const Box& b)
{
    return w.left >= b.left - kSlack && w.right <= b.right + kSlack && w.top >= b.top - kSlack &&
           w.bottom <= b.bottom + kSlack;
}

struct Expected {
    std::string what;
    Box box;
    std::string text;   // the words inside the box, in reading order, joined
};

// The boxes of the reference form and what each must show.
std::vector<Expected> expectedLayout(int bank, bool stub, const std::string& capital, const std::string& mm)
{
    std::vector<Expected> e = {
        {"year", {84, 12, 104, 19}, "贰零贰陆"},
        {"month", {108, 12, 118, 19}, "壹拾贰"},
        {"day", {122, 12, 132, 19}, "叁拾壹"},
        {"dkhh", {160, 12, 222, 19}, bankName(bank)},
        {"dskdw", {68, 20, 150, 27}, kPayee},
        {"dyhzh", {160, 20, 222, 27}, account(bank)},
        {"dx", {76, 30, 160, 41}, capital},
        {"dskyt", {68, 43, 130, 50}, kPurpose},
    };
    // The eleven digit boxes: the last character of mm in the last box.
    std::vector<std::string> characters;
    for (std::size_t i = 0; i < mm.size();) {
        const std::size_t length = static_cast<unsigned char>(mm[i]) < 0x80 ? 1 : 3;
        characters.push_back(mm.substr(i, length));
        i += length;
    }
    for (int box = 0; box < 11; ++box) {
        const int fromRight = 10 - box;
        const int index = static_cast<int>(characters.size()) - 1 - fromRight;
        e.push_back({fmt::format("mm box {}", box), {165.0 + 5 * box, 33, 170.0 + 5 * box, 41},
                     index >= 0 ? characters[std::size_t(index)] : ""});
    }
    if (stub) {
        e.push_back({"stub payee", {12, 50, 53, 56}, kPayee});
        e.push_back({"stub amount", {12, 57, 53, 63}, mm});
        e.push_back({"stub purpose", {12, 64, 53, 70}, kPurpose});
    }
    return e;
}

struct ChequePdfFixture : ::testing::Test {
    static inline TempDir dir;

    static void SetUpTestSuite()
    {
        std::vector<std::string> sql = {
            fmt::format("INSERT INTO YT (ytmc, ytdh) VALUES ('{}', 1)", kPurpose),
            fmt::format("INSERT INTO skdw (skdw, dw_dh, dwjm) VALUES ('{}', 1, 'zgc')", kPayee),
        };
        for (int i = 0; i < 5; ++i) {
            sql.push_back(fmt::format("INSERT INTO BANK (bank_name, bank_zh, bank_mb, bank_dh) VALUES ('{}', '{}', '{}', {})",
                                      bankName(i), account(i), kBanks[i].templateBank, i + 1));
            // Per bank: a transfer and a cash cheque of the largest amount, and a
            // transfer cheque whose digits differ and leave the first box empty.
            for (const auto& [number, amount, type] :
                 {std::tuple{fmt::format("1000{}", i), 99999999.99, 2}, std::tuple{fmt::format("2000{}", i), 99999999.99, 1},
                  std::tuple{fmt::format("3000{}", i), 1234567.08, 2}})
                sql.push_back(fmt::format("INSERT INTO ZPJE (ZPJE, date, zphm, lb, yh_h, yt_h, dw_h) "
                                          "VALUES ({}, '2026-12-31 10:00:00', '{}', {}, {}, 1, 1)",
                                          amount, number, type, i + 1));
        }
        pemvora::data::writeChequeDatabase(dir.file("banck.mdb"), {});
        pemvora::data::Connection db;
        db.open(dir.file("banck.mdb"), pemvora::data::kDatabasePassword);
        for (const std::string& s : sql) db.execute(s);
        const CliRun made = cli(dir, "make-templates .");
        ASSERT_EQ(made.exitCode, 0) << made.err;
    }

    // Prints the cheque into a PDF and checks every word against the form.
    void printAndCheck(const std::string& number, const char* mode, const std::string& file, bool stub,
                       const std::string& capital, const std::string& mm, int bank)
    {
        SCOPED_TRACE(file + " cheque " + number);
        const std::string pdf = number + "-" + file + ".pdf";
        const CliRun run = cli(dir, fmt::format("print-cheque {} --mode {} --pdf {}", number, mode, pdf));
        ASSERT_EQ(run.exitCode, 0) << run.err;
        const std::vector<Word> words = wordsOfPdf(dir, pdf);
        const auto [width, height] = pageSize(dir);
        EXPECT_NEAR(width, 225, 0.5);
        EXPECT_NEAR(height, 80, 0.5);

        const std::vector<Expected> layout = expectedLayout(bank, stub, capital, mm);
        std::vector<std::string> shown(layout.size());
        for (const Word& w : words) {
            bool placed = false;
            for (std::size_t i = 0; i < layout.size() && !placed; ++i)
                if (inside(w, layout[i].box)) {
                    shown[i] += asPrinted(w.text);
                    placed = true;
                }
            EXPECT_TRUE(placed) << "\"" << w.text << "\" at (" << w.left << ", " << w.top << ")-(" << w.right
                                << ", " << w.bottom << ") mm lies in no box of the form";
        }
        for (std::size_t i = 0; i < layout.size(); ++i) EXPECT_EQ(shown[i], asPrinted(layout[i].text)) << layout[i].what;
    }
};

const std::string kLargestCapital = "玖仟玖佰玖拾玖万玖仟玖佰玖拾玖元玖角玖分";

TEST_F(ChequePdfFixture, EveryTemplatePutsTheLongestValuesInsideTheirBoxes)
{
    for (int i = 0; i < 5; ++i) {
        printAndCheck(fmt::format("1000{}", i), "普通", kBanks[i].carry, false, kLargestCapital, "￥9999999999", i);
        printAndCheck(fmt::format("1000{}", i), "特殊", kBanks[i].acarry, true, kLargestCapital, "￥9999999999", i);
        printAndCheck(fmt::format("2000{}", i), "普通", kBanks[i].cash, true, kLargestCapital, "￥9999999999", i);
    }
}

TEST_F(ChequePdfFixture, EachDigitOfTheAmountStandsInItsColumn)
{
    // ￥123456708: the first box stays empty, "￥" in the second, 0s where they belong.
    const std::string capital = "壹佰贰拾叁万肆仟伍佰陆拾柒元零捌分";
    for (int i = 0; i < 5; ++i) {
        printAndCheck(fmt::format("3000{}", i), "普通", kBanks[i].carry, false, capital, "￥123456708", i);
        printAndCheck(fmt::format("3000{}", i), "特殊", kBanks[i].acarry, true, capital, "￥123456708", i);
    }
}

TEST_F(ChequePdfFixture, AnUnknownNumberOrAMissingOrDamagedTemplatePrintsNothing)
{
    const CliRun unknown = cli(dir, "print-cheque 99999 --pdf none.pdf");
    EXPECT_EQ(unknown.exitCode, 1);
    EXPECT_NE(unknown.err.find("99999"), std::string::npos) << unknown.err;

    std::filesystem::rename(dir.file("cash2.frf"), dir.file("cash2.frf.away"));
    const CliRun missing = cli(dir, "print-cheque 20002 --pdf missing.pdf");
    std::filesystem::rename(dir.file("cash2.frf.away"), dir.file("cash2.frf"));
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_NE(missing.err.find("cash2.frf"), std::string::npos) << missing.err;
    EXPECT_FALSE(std::filesystem::exists(dir.file("missing.pdf")));
    EXPECT_FALSE(std::filesystem::exists(dir.file("none.pdf")));

    // A template that cannot be read is not printed half: the loader's message.
    std::filesystem::rename(dir.file("cash3.frf"), dir.file("cash3.frf.away"));
    std::ofstream(dir.file("cash3.frf"), std::ios::binary) << "not a template";
    const CliRun damaged = cli(dir, "print-cheque 20003 --pdf damaged.pdf");
    std::filesystem::rename(dir.file("cash3.frf.away"), dir.file("cash3.frf"));
    EXPECT_EQ(damaged.exitCode, 1);
    EXPECT_FALSE(damaged.err.empty());
    EXPECT_FALSE(std::filesystem::exists(dir.file("damaged.pdf")));

    const CliRun badMode = cli(dir, "print-cheque 10000 --mode 其他 --pdf x.pdf");
    EXPECT_EQ(badMode.exitCode, 2);
}

} // namespace
