// The cheque templates on the reference cheque form: the description, the
// objects and positions the template files get, the digit boxes of the
// amount, and the writing of the fifteen files.

#include "app/templates/chequeform.h"
#include "platform/text/gbk.h"
#include "report/model/engine_context.h"
#include "report/model/memo.h"
#include "report/model/report.h"
#include "report/script/names.h"
#include "tests/app/datafixture.h"

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <string>

using namespace pemvora;
using namespace pemvora::app;
using namespace pemvora::app::templates;
using pemvora::data::testing::readFile;
using pemvora::data::testing::TempDir;

namespace {

struct TemplateFixture : ::testing::Test {
    void SetUp() override { report::resetEngine(); }
    void TearDown() override { report::resetEngine(); }

    report::TfrMemoView& memo(report::TfrReport& r, const char* name)
    {
        auto* view = dynamic_cast<report::TfrMemoView*>(r.FindObject(name));
        if (!view) throw std::runtime_error(std::string("no text object ") + name);
        return *view;
    }
};

TEST_F(TemplateFixture, FamiliesFillTheBodyOrBodyAndStub)
{
    const struct {
        TemplateFamily family;
        int objects;
        bool stub;
    } cases[] = {{TemplateFamily::Carry, 19, false}, {TemplateFamily::ACarry, 22, true}, {TemplateFamily::Cash, 22, true}};
    for (const auto& c : cases) {
        report::TfrReport r;
        buildTemplate(referenceDescription(), c.family, r);
        ASSERT_EQ(r.Pages.Count(), 1);
        const report::TfrPage& page = r.Pages[0];
        EXPECT_EQ(page.Paper.size, report::kCustomPaper);
        EXPECT_EQ(page.Paper.width, 2250);
        EXPECT_EQ(page.Paper.height, 800);
        EXPECT_EQ(page.ObjectCount(), c.objects) << familyName(c.family);
        EXPECT_EQ(r.FindObject("StubAmount") != nullptr, c.stub);
        EXPECT_EQ(memo(r, "Capital").Memo, report::StringList{"[dx]"});
    }
}

TEST_F(TemplateFixture, ObjectsSitOnTheFormsBoxes)
{
    // Millimetres at 93/1.015 design pixels per inch: 68 mm is 245.3 pixels.
    report::TfrReport r;
    buildTemplate(referenceDescription(), TemplateFamily::Cash, r);
    const struct {
        const char* name;
        int left, top, width, height;
    } cases[] = {
        {"Payee", 245, 72, 296, 25},        // (68, 20)-(150, 27)
        {"Bank", 577, 43, 224, 26},         // (160, 12)-(222, 19)
        {"Capital", 274, 108, 303, 40},     // (76, 30)-(160, 41)
        {"Digit1", 595, 119, 18, 29},       // 亿: (165, 33)-(170, 41)
        {"Digit11", 776, 119, 18, 29},      // 分: (215, 33)-(220, 41)
        {"StubPurpose", 43, 231, 148, 22},  // (12, 64)-(53, 70)
    };
    for (const auto& c : cases) {
        const report::TfrMemoView& m = memo(r, c.name);
        EXPECT_EQ((std::array{m.Left, m.Top, m.Width, m.Height}), (std::array{c.left, c.top, c.width, c.height}))
            << c.name;
    }
    // The values keep their boxes: no object grows with its text.
    for (const auto& view : r.Pages[0].PageObjects) EXPECT_FALSE(view->IsStretched()) << view->Name;
}

TEST_F(TemplateFixture, EachDigitBoxShowsItsCharacterOfTheAmount)
{
    report::TfrReport r;
    buildTemplate(referenceDescription(), TemplateFamily::Carry, r);
    report::engine().CurrentReport = &r;
    report::evaluatorFor(r);
    // Boxes 亿 千 百 十 万 千 百 十 元 角 分.
    const struct {
        const char* mm;
        std::array<const char*, 11> boxes;
    } cases[] = {
        {"￥204567", {"", "", "", "", "￥", "2", "0", "4", "5", "6", "7"}},
        {"￥800", {"", "", "", "", "", "", "", "￥", "8", "0", "0"}},
        {"￥10000", {"", "", "", "", "", "￥", "1", "0", "0", "0", "0"}},
        {"￥9999999999", {"￥", "9", "9", "9", "9", "9", "9", "9", "9", "9", "9"}},
    };
    for (const auto& c : cases) {
        report::engine().Variables.SetVariable("mm", Value(text::utf8ToGbk(c.mm)));
        for (int i = 0; i < 11; ++i) {
            report::TfrMemoView& box = memo(r, ("Digit" + std::to_string(i + 1)).c_str());
            report::engine().CurrentView = &box;
            EXPECT_EQ(text::gbkToUtf8(report::ExpandLine(r, box.Memo.at(0))), c.boxes[static_cast<std::size_t>(i)])
                << c.mm << " box " << i;
        }
    }
    report::engine().CurrentView = nullptr;
}

TEST_F(TemplateFixture, MakeTemplatesKeepsWhatExistsUnlessForced)
{
    TempDir dir;
    const std::filesystem::path folder = dir.path();
    {
        std::ofstream(folder / "acarry2.frf") << "moved by the operator";
    }
    const std::vector<MadeTemplate> first = makeTemplates(referenceDescription(), folder, false);
    ASSERT_EQ(first.size(), 15u);
    EXPECT_EQ(first.front().fileName, "carry.frf");
    EXPECT_EQ(first.back().fileName, "cash4.frf");
    int written = 0;
    for (const MadeTemplate& m : first) {
        written += m.written;
        EXPECT_EQ(m.written, m.fileName != "acarry2.frf") << m.fileName;
    }
    EXPECT_EQ(written, 14);
    EXPECT_EQ(readFile((folder / "acarry2.frf").string()), "moved by the operator");

    // Every file written reads back as its family's template.
    report::TfrReport r;
    ASSERT_TRUE(r.LoadFromFile((folder / "cash3.frf").string()));
    EXPECT_FALSE(r.LoadFailed);
    EXPECT_NE(r.FindObject("StubPayee"), nullptr);
    ASSERT_TRUE(r.LoadFromFile((folder / "carry4.frf").string()));
    EXPECT_EQ(r.FindObject("StubPayee"), nullptr);
    EXPECT_EQ(r.Pages[0].Paper.width, 2250);

    const std::vector<MadeTemplate> again = makeTemplates(referenceDescription(), folder, false);
    for (const MadeTemplate& m : again) EXPECT_FALSE(m.written) << m.fileName;

    const std::vector<MadeTemplate> forced = makeTemplates(referenceDescription(), folder, true);
    for (const MadeTemplate& m : forced) EXPECT_TRUE(m.written) << m.fileName;
    ASSERT_TRUE(r.LoadFromFile((folder / "acarry2.frf").string()));
    EXPECT_NE(r.FindObject("StubAmount"), nullptr);
}

TEST_F(TemplateFixture, ADescriptionThatCannotBeUsedSaysWhere)
{
    const std::string reference(referenceDescriptionText());
    auto replaced = [&](const std::string& from, const std::string& to) {
        std::string s = reference;
        const std::size_t at = s.find(from);
        if (at == std::string::npos) throw std::runtime_error("not in the description: " + from);
        return s.replace(at, from.size(), to);
    };
    const struct {
        std::string json;
        const char* message;
    } cases[] = {
        {"{", "not valid JSON"},
        {replaced("\"size\": 10,", "\"sise\": 10,"), "part body, object 1 (Year): unknown key \"sise\""},
        {replaced("[84, 12, 104, 19]", "[84, 12, 104, 90]"), "box year: the box is not on the paper"},
        {replaced("[84, 12, 104, 19]", "[104, 12, 84, 19]"), "box year: the box has no area"},
        {replaced("\"box\": \"dkhh\"", "\"box\": \"bank\""), "there is no box \"bank\""},
        {replaced("\"cash\":   [\"body\", \"stub\"]", "\"cash\":   [\"body\", \"counterfoil\"]"),
         "family cash: there is no part \"counterfoil\""},
        {replaced("\"cash\":   [\"body\", \"stub\"]", "\"cash\":   [\"body\", \"body\"]"),
         "family cash: two objects are named Year"},
        {replaced("\"cash\":   [\"body\", \"stub\"]", "\"carry\": [\"body\"]"), "the family cash is missing"},
        {replaced("\"cash\":   [", "\"cheque\": ["), "family cheque: the families are carry, acarry and cash"},
        {replaced("\"count\": 11", "\"count\": 0"), "count: 0 is not between 1 and 20"},
        {replaced("\"align\": \"center\"", "\"align\": \"middle\""), "\"middle\" is not left, center or right"},
    };
    for (const auto& c : cases) {
        try {
            parseDescription(c.json);
            ADD_FAILURE() << "accepted: " << c.message;
        } catch (const DescriptionError& e) {
            EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos) << e.what();
        }
    }
}

} // namespace
