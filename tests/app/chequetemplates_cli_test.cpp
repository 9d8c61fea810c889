// pemvora-cli make-templates, and the fifteen templates it writes drawn with
// the longest values a cheque form takes: every value inside its box of the
// reference form, every digit of the amount in its column.

#include "tests/app/clirun.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <fstream>
#include <map>
#include <optional>

using namespace pemvora::data::testing;
using ::testing::HasSubstr;

namespace {

const char* const kFiles[] = {"carry.frf",  "acarry.frf",  "cash.frf",  "carry1.frf", "acarry1.frf",
                              "cash1.frf",  "carry2.frf",  "acarry2.frf", "cash2.frf", "carry3.frf",
                              "acarry3.frf", "cash3.frf", "carry4.frf", "acarry4.frf", "cash4.frf"};

TEST(CliMakeTemplates, WritesTheFifteenAndKeepsThemUnlessForced)
{
    TempDir dir;
    const CliRun made = cli(dir, "make-templates forms");
    ASSERT_EQ(made.exitCode, 0) << made.err;
    std::vector<std::string> expected;
    for (const char* f : kFiles) expected.push_back(std::string("wrote forms/") + f);
    EXPECT_EQ(lines(made.out), expected);

    std::ofstream(dir.file("forms/cash2.frf"), std::ios::trunc) << "moved by the operator";
    const CliRun again = cli(dir, "make-templates forms");
    ASSERT_EQ(again.exitCode, 0) << again.err;
    EXPECT_EQ(lines(again.out).at(8), "kept forms/cash2.frf (it exists; --force replaces it)");
    EXPECT_EQ(readFile(dir.file("forms/cash2.frf")), "moved by the operator");

    const CliRun forced = cli(dir, "make-templates forms --force");
    ASSERT_EQ(forced.exitCode, 0) << forced.err;
    EXPECT_EQ(lines(forced.out), expected);
    EXPECT_NE(readFile(dir.file("forms/cash2.frf")), "moved by the operator");
}

TEST(CliMakeTemplates, FailuresAndBadUsage)
{
    TempDir dir;
    std::ofstream(dir.file("layout.json")) << R"({ "paper": { "width": 225 } })";
    const CliRun badLayout = cli(dir, "make-templates forms --layout layout.json");
    EXPECT_EQ(badLayout.exitCode, 1);
    EXPECT_THAT(badLayout.err, HasSubstr("layout.json: paper: \"height\" is missing"));

    const CliRun noLayout = cli(dir, "make-templates forms --layout missing.json");
    EXPECT_EQ(noLayout.exitCode, 1);
    EXPECT_THAT(noLayout.err, HasSubstr("Cannot read missing.json"));

    std::ofstream(dir.file("plain")) << "a file, not a folder";
    const CliRun notAFolder = cli(dir, "make-templates plain");
    EXPECT_EQ(notAFolder.exitCode, 1);
    EXPECT_THAT(notAFolder.err, HasSubstr("Cannot make the folder plain"));

    EXPECT_EQ(cli(dir, "make-templates").exitCode, 2);
}

// ---- The layout on the reference form ----

constexpr double kPixelsPerMm = 93 / 1.015 / 25.4;
// A template can place a box edge only to the nearest design pixel.
constexpr double kTolerance = 0.5 / kPixelsPerMm;

struct Box {
    double left, top, right, bottom;
};

// The reference form's boxes in millimetres, with the value each shows.
struct Field {
    std::string name;
    Box box;
    std::string value;
};

std::vector<Field> formFields(bool stub)
{
    const std::string payee = "北京华联商厦有限公司海淀区分店采购部";   // 18 characters
    const std::string purpose = "支付北京华联商厦有限公司年度设备货款";
    std::vector<Field> fields = {
        {"year", {84, 12, 104, 19}, "贰零零捌"},
        {"month", {108, 12, 118, 19}, "零壹拾"},
        {"day", {122, 12, 132, 19}, "贰拾玖"},
        {"dkhh", {160, 12, 222, 19}, "中国工商银行股份有限公司北京海淀支行"},
        {"dskdw", {68, 20, 150, 27}, payee},
        // 25 characters; the "X" is wider than any digit, so 25 digits fit too.
        {"dyhzh", {160, 20, 222, 27}, "020000490902011234567890X"},
        {"dx", {76, 30, 160, 41}, "玖仟玖佰玖拾玖万玖仟玖佰玖拾玖元玖角玖分"},
        {"dskyt", {68, 43, 130, 50}, purpose},
    };
    for (int i = 0; i < 11; ++i)
        fields.push_back({"mm" + std::to_string(i), {165.0 + 5 * i, 33, 170.0 + 5 * i, 41}, i == 0 ? "￥" : "9"});
    if (stub) {
        fields.push_back({"stub payee", {12, 50, 53, 56}, payee});
        fields.push_back({"stub amount", {12, 57, 53, 63}, "￥9999999999"});
        fields.push_back({"stub purpose", {12, 64, 53, 70}, purpose});
    }
    return fields;
}

// A recorded text run in millimetres. Chinese faces reach 1.151 em above the
// baseline and 0.286 em below it, as PDF readers measure them; a "￥" in an
// Arial run is drawn in such a face on the Arial baseline (0.905 em down).
Box runBox(const nlohmann::json& op)
{
    const double em = op["font"]["size"].get<double>();
    double top = op["y"].get<double>();
    double bottom = top + op["h"].get<double>();
    if (op["font"]["name"] == "Arial" && op["text"].get<std::string>().find("￥") != std::string::npos) {
        const double baseline = top + 0.905 * em;
        top = std::min(top, baseline - 1.151 * em);
        bottom = std::max(bottom, baseline + 0.286 * em);
    }
    const double x = op["x"].get<double>();
    return {x / kPixelsPerMm, top / kPixelsPerMm, (x + op["w"].get<double>()) / kPixelsPerMm,
            bottom / kPixelsPerMm};
}

bool inside(const Box& run, const Box& box)
{
    return run.left >= box.left - kTolerance && run.right <= box.right + kTolerance &&
           run.top >= box.top - kTolerance && run.bottom <= box.bottom + kTolerance;
}

TEST(CliMakeTemplates, LongestValuesStayInsideTheirBoxes)
{
    TempDir dir;
    ASSERT_EQ(cli(dir, "make-templates forms").exitCode, 0);
    for (const char* file : kFiles) {
        SCOPED_TRACE(file);
        const bool stub = std::string(file).find("acarry") == 0 || std::string(file).find("cash") == 0;
        const std::vector<Field> fields = formFields(stub);
        std::string args = std::string("render forms/") + file + " --record record.json";
        for (const char* name : {"year", "month", "day", "dkhh", "dskdw", "dyhzh", "dx", "dskyt"}) {
            for (const Field& f : fields)
                if (f.name == name) args += " '" + f.name + "=" + f.value + "'";
        }
        args += " 'mm=￥9999999999'";
        const CliRun drawn = cli(dir, args);
        ASSERT_EQ(drawn.exitCode, 0) << drawn.err;

        std::map<std::string, int> found;
        for (const nlohmann::json& op : nlohmann::json::parse(readFile(dir.file("record.json")))) {
            if (op["op"] != "text") continue;
            const Box run = runBox(op);
            const double cx = (run.left + run.right) / 2, cy = (run.top + run.bottom) / 2;
            std::optional<Field> field;
            for (const Field& f : fields)
                if (f.box.left <= cx && cx <= f.box.right && f.box.top <= cy && cy <= f.box.bottom) field = f;
            ASSERT_TRUE(field) << "outside every box: " << op["text"];
            EXPECT_EQ(op["text"], field->value) << field->name;
            EXPECT_TRUE(inside(run, field->box)) << field->name << " drawn at " << run.left << ", " << run.top
                                                 << " - " << run.right << ", " << run.bottom;
            ++found[field->name];
        }
        EXPECT_EQ(found.size(), fields.size());
        for (const auto& [name, count] : found) EXPECT_EQ(count, 1) << name;
    }
}

} // namespace
