// The cheque window and the reference-list windows as widgets, on a demo
// database: what they show, the Down/Up focus walk, the drop-down over the
// template cell, the picker's double click and short code.

#include "app/lists/referencelists.h"
#include "app/widgets/calculator.h"
#include "app/widgets/dosmove.h"
#include "app/widgets/navigator.h"
#include "app/widgets/numberedit.h"
#include "app/widgets/buttonedit.h"
#include "app/widgets/titlelabel.h"
#include "controls/amountgrid/currencyedit.h"
#include "controls/amountgrid/currencylabel.h"
#include <QGroupBox>
#include "app/windows/tform1.h"
#include "app/windows/tform3.h"
#include "app/windows/tform5.h"
#include "app/windows/tform6.h"
#include "app/windows/tform8.h"
#include "app/windows/tform9.h"
#include "tests/app/datafixture.h"
#include "tests/support/recording_ui.h"
#include "tests/support/qt_application.h"
#include "tests/support/screenshot.h"

#include <QApplication>
#include <QComboBox>
#include "app/widgets/dateedit.h"
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>

using namespace pemvora;
using namespace pemvora::app;
using namespace pemvora::data::testing;

namespace {

QString u(const char* s) { return QString::fromUtf8(s); }

// Types text that has no key of its own (Chinese characters) into a widget.
void typeText(QWidget* w, const QString& text)
{
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(w, &press);
    }
}

struct WindowsFixture : ::testing::Test {
    TempDir dir;
    testsupport::ScopedRecordingUi ui;
    std::unique_ptr<data::TData> data;
    std::unique_ptr<ReferenceLists> lists;
    std::unique_ptr<TForm1> form;

    void SetUp() override
    {
        testsupport::testApplication();
        const std::string path = dir.file("banck.mdb");
        data::writeChequeDatabase(path, {.demo = true});
        form = std::make_unique<TForm1>(nullptr, [] { return encodeDate(2026, 12, 10); });
        data = std::make_unique<data::TData>(path);
        lists = std::make_unique<ReferenceLists>(*data, ui);
        form->attach(*data, *lists, {});
    }
    void TearDown() override
    {
        form.reset();
        lists.reset();
        data.reset();
    }
    void showActive(QWidget& w)
    {
        w.show();
        QApplication::setActiveWindow(&w);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    }
    // The focus is on `w` or inside it (a combo box's edit, a composite's edit).
    static bool focusIn(QWidget* w)
    {
        QWidget* f = QApplication::focusWidget();
        return f && (f == w || w->isAncestorOf(f) || f->focusProxy() == w);
    }
};

TEST_F(WindowsFixture, ChequeWindowShowsTheLastDemoCheque)
{
    showActive(*form);
    EXPECT_EQ(form->windowTitle(), "Pemvora V2.0");
    EXPECT_EQ(form->czphm->text(), "50336019");
    EXPECT_EQ(form->czplx->currentText(), u("转帐"));
    EXPECT_EQ(form->cyh->currentText(), u("招商银行北京分行营业部"));
    EXPECT_EQ(form->czh->currentText(), "110902345610801");
    EXPECT_EQ(form->cyt->currentText(), u("货款"));
    EXPECT_EQ(form->cdw->text(), u("北京顺通货运有限公司"));
    EXPECT_EQ(form->rxdbj->edit()->text(), "19850");
    EXPECT_EQ(form->csj->date(), QDate(2008, 6, 3));
    EXPECT_EQ(form->cdx->text(), u("壹万玖仟捌佰伍拾元整"));
    EXPECT_EQ(form->sj->text(), u("贰零零捌 年 零陆 月 零叁 日"));
    EXPECT_EQ(form->Label12->text(), u("零陆"));
    EXPECT_EQ(form->snccy->value().toString(), "19850");
    EXPECT_EQ(form->sncCurrencyEdit1->value().toString(), "19850");
    EXPECT_EQ(form->cyh->count(), 5);
    EXPECT_EQ(form->cyt->count(), 6);
    EXPECT_EQ(form->statusBar()->height(), 25);
}

TEST_F(WindowsFixture, ChequeWindowLayoutAndToolbar)
{
    showActive(*form);
    EXPECT_EQ(form->centralWidget()->size(), QSize(704, 344));
    struct Place {
        QWidget* widget;
        QRect rect;
    };
    const Place places[] = {
        {form->ToolBar1, {0, 0, 704, 52}},          {form->czplx, {79, 100, 81, 21}},
        {form->csj, {79, 145, 81, 21}},             {form->rxdbj, {79, 193, 81, 21}},
        {form->cms, {8, 237, 154, 44}},             {form->DBN1, {9, 308, 168, 26}},
        {form->cdw, {238, 137, 249, 21}},           {form->cdx, {230, 193, 310, 21}},
        {form->sncCurrencyLabel1, {547, 178, 145, 25}}, {form->snccy, {547, 202, 145, 23}},
        {form->cyt, {226, 252, 197, 21}},           {form->czphm, {573, 102, 119, 21}},
        {form->cyh, {573, 124, 121, 21}},           {form->czh, {573, 146, 122, 21}},
        {form->BitBtn1, {217, 307, 58, 27}},        {form->BitBtn2, {285, 307, 58, 27}},
        {form->BitBtn3, {353, 307, 58, 27}},        {form->BitBtn4, {423, 307, 82, 27}},
        {form->AALabel1, {246, 63, 267, 31}},
    };
    for (const Place& p : places) EXPECT_EQ(p.widget->geometry(), p.rect) << p.widget->objectName().toStdString();

    const std::pair<QToolButton*, std::pair<const char*, const char*>> tools[] = {
        {form->ToolButton6, {"收款单位", "新增收款单位"}}, {form->ToolButton4, {"用  途", "用途"}},
        {form->ToolButton2, {"帐号设置", "帐号设置"}},     {form->ToolButton3, {"使用单位", "使用单位信息"}},
        {form->ToolButton1, {"人员管理", "人员管理"}},     {form->ToolButton7, {"退  出", "退出"}},
    };
    int previousX = -1;
    for (const auto& [button, texts] : tools) {
        EXPECT_EQ(button->text(), u(texts.first));
        EXPECT_EQ(button->toolTip(), u(texts.second));
        EXPECT_GT(button->x(), previousX);   // left to right in this order
        previousX = button->x();
    }
    EXPECT_EQ(form->cdw->button()->toolTip(), u("选择单位"));
}

TEST_F(WindowsFixture, DownAndUpWalkTheTabOrderFromTheChequeNumber)
{
    showActive(*form);
    form->czphm->setFocus();
    QTest::keyClick(form->czphm, Qt::Key_Down);
    EXPECT_TRUE(focusIn(form->cyh));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    EXPECT_TRUE(focusIn(form->czh));

    form->czphm->setFocus();
    QTest::keyClick(form->czphm, Qt::Key_Up);
    EXPECT_TRUE(focusIn(form->cdw));

    // Enter does not move the focus.
    form->czphm->setFocus();
    QTest::keyClick(form->czphm, Qt::Key_Return);
    EXPECT_TRUE(form->czphm->hasFocus());

    EXPECT_THROW(widgets::DosMove second(form.get()), std::logic_error);
}

TEST_F(WindowsFixture, DateBoxIsOneTabStopAndShowsATenCharacterDateWhole)
{
    showActive(*form);
    QTest::mouseClick(form->BitBtn1, Qt::LeftButton);   // 增加: dated 2026-12-10
    auto* edit = form->csj->findChild<QLineEdit*>();
    ASSERT_NE(edit, nullptr);
    ASSERT_EQ(edit->text(), "2026-12-10");
    // Shown whole: the edit needs no scrolling to bring its end into view,
    // so that the start and the end are a whole text's width apart. (The
    // edit scrolls to its caret when it paints.)
    const auto caretX = [edit](int position) {
        edit->setCursorPosition(position);
        edit->repaint();
        return edit->inputMethodQuery(Qt::ImCursorRectangle).toRect().center().x();
    };
    const int end = caretX(10);
    const int start = caretX(0);
    EXPECT_GE(start, 0);
    EXPECT_EQ(end - start, edit->fontMetrics().horizontalAdvance(edit->text()));
    EXPECT_LE(end, edit->width());

    // One Tab in, one Tab on; the same backwards.
    form->czplx->setFocus(Qt::TabFocusReason);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_TRUE(focusIn(form->csj));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_TRUE(focusIn(form->rxdbj));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_TRUE(focusIn(form->csj));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_TRUE(focusIn(form->czplx));
}

TEST_F(WindowsFixture, NavigatorIsOneTabStopWithItsButtonsOnTheArrowKeys)
{
    showActive(*form);
    form->BitBtn1->setFocus(Qt::TabFocusReason);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_TRUE(focusIn(form->DBN1));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_TRUE(form->snccy->hasFocus());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
    ASSERT_TRUE(focusIn(form->DBN1));

    // Inside it, Left and Right pick a button (first, prior, next, last,
    // not beyond either end) and Space presses it.
    data::Dataset& cheques = data->ZPJE;
    const int last = cheques.rowCount();
    ASSERT_EQ(cheques.recNo(), last);
    struct Step {
        std::vector<int> keys;
        int recNo;
    };
    const Step steps[] = {
        {{Qt::Key_Space}, 1},                                        // first
        {{Qt::Key_Right, Qt::Key_Right, Qt::Key_Space}, 2},          // next
        {{Qt::Key_Space}, 3},
        {{Qt::Key_Left, Qt::Key_Space}, 2},                          // prior
        {{Qt::Key_Right, Qt::Key_Right, Qt::Key_Right, Qt::Key_Right, Qt::Key_Space}, last},
        {{Qt::Key_Left, Qt::Key_Left, Qt::Key_Left, Qt::Key_Left, Qt::Key_Space}, 1},
    };
    for (const Step& step : steps) {
        for (int key : step.keys) QTest::keyClick(QApplication::focusWidget(), Qt::Key(key));
        EXPECT_EQ(cheques.recNo(), step.recNo);
        EXPECT_TRUE(focusIn(form->DBN1));
    }
    EXPECT_EQ(form->czphm->text(), QString::fromStdString(cheques.text("zphm")));
    testsupport::saveScreenshot(*form, "cheque-window-navigator-focus");
}

TEST_F(WindowsFixture, DropDownListsShowTheirLongestItemsWhole)
{
    showActive(*form);
    for (QComboBox* box : {form->cyh, form->czh, form->cyt}) {
        box->showPopup();
        QAbstractItemView* list = box->view();
        ASSERT_TRUE(list->isVisible());
        int widest = 0;
        for (int row = 0; row < box->count(); ++row) {
            const QModelIndex item = list->model()->index(row, 0);
            const int needed = list->sizeHintForIndex(item).width();
            widest = std::max(widest, needed);
            EXPECT_LE(list->visualRect(item).left() + needed, list->viewport()->width())
                << box->itemText(row).toStdString();
        }
        EXPECT_GT(widest, 0);
        box->hidePopup();
    }
}

// "增加" disables itself and the navigator: the focus must not fall to the
// next enabled control, the amount grid, where a click would then count as
// one on a focused control and put the caret left of the number.
TEST_F(WindowsFixture, NewChequeStartsAtTheChequeTypeAndTakesTheAmountWhereClicked)
{
    showActive(*form);
    QTest::mouseClick(form->BitBtn1, Qt::LeftButton);   // 增加
    EXPECT_TRUE(focusIn(form->czplx));
    amountgrid::TsncDBCurrencyEdit* grid = form->snccy;
    const QPoint leftOfTheUnits =
        grid->contentsRect().topLeft() + QPoint(grid->model().geometry().cellLeft(2) + 3, 8);
    QTest::mouseClick(grid, Qt::LeftButton, {}, leftOfTheUnits);
    QTest::keyClicks(grid, "500");
    EXPECT_EQ(grid->value().toString(), "500");
}

TEST_F(WindowsFixture, NewChequeThroughTheWindowIsStored)
{
    showActive(*form);
    QTest::mouseClick(form->BitBtn1, Qt::LeftButton);
    EXPECT_FALSE(form->BitBtn1->isEnabled());
    EXPECT_FALSE(form->DBN1->isEnabled());
    EXPECT_EQ(form->czphm->text(), "");
    EXPECT_EQ(form->csj->date(), QDate(2026, 12, 10));

    form->czplx->setCurrentIndex(1);   // 现金
    form->cyh->setCurrentIndex(2);     // 农业银行北京丰台支行
    EXPECT_EQ(form->czh->currentText(), "11250101040012345");
    form->cyt->setCurrentIndex(2);     // 差旅费
    QTest::keyClicks(form->rxdbj->edit(), "1268.4");
    EXPECT_EQ(form->cdx->text(), u("壹仟贰佰陆拾捌元肆角整"));
    EXPECT_EQ(form->snccy->value().toString(), "1268.4");
    typeText(form->cdw->edit(), u("北京宏达办公设备有限公司"));
    QTest::keyClicks(form->czphm, "77700001");
    QTest::mouseClick(form->BitBtn2, Qt::LeftButton);
    EXPECT_TRUE(ui.shown.empty());
    EXPECT_TRUE(form->BitBtn1->isEnabled());
    EXPECT_TRUE(form->DBN1->isEnabled());

    // Closed and started again: the cheque is there, with its references.
    ui.answers = {ui::Answer::Yes};
    form->close();
    const std::string path = data->path();
    form.reset();
    lists.reset();
    data.reset();
    data::TData again(path);
    again.ZPJE.last();
    EXPECT_EQ(again.ZPJE.text("zphm"), "77700001");
    EXPECT_EQ(again.ZPJE.integer("lb"), 1);
    EXPECT_EQ(again.ZPJE.integer("yh_h"), 3);
    EXPECT_EQ(again.ZPJE.integer("yt_h"), 3);
    EXPECT_EQ(again.ZPJE.integer("dw_h"), 4);
    EXPECT_DOUBLE_EQ(again.ZPJE.value("ZPJE").toNumber(), 1268.4);

    // And the command-line tool lists it.
    const std::string command = std::string(PEMVORA_CLI_PATH) + " cheques --db '" + path + "'";
    std::string listing;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[4096];
        while (std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe)) listing.append(buffer, n);
        EXPECT_EQ(pclose(pipe), 0);
    }
    EXPECT_NE(listing.find("77700001\t2026-12-10\t1268.40\t现金\t农业银行北京丰台支行\t差旅费\t"
                           "北京宏达办公设备有限公司\n"),
              std::string::npos)
        << listing;
}

TEST_F(WindowsFixture, BankGridLaysTheTemplateBoxOverTheFocusedCell)
{
    TForm3 banks(*lists);
    showActive(banks);
    banks.PageControl1->setCurrentWidget(banks.TabSheet2);
    QTableView* grid = banks.DBGrid1;
    grid->setFocus();
    QAbstractItemModel* model = grid->model();

    // What the user meets at a point of a cell: the box, or the grid itself.
    const auto boxCovers = [&](int row, QPoint at) {
        const QRect cell = grid->visualRect(model->index(row, 2));
        const QPoint p = cell.topLeft() + at;
        QWidget* hit = banks.childAt(grid->viewport()->mapTo(&banks, p));
        return hit && (hit == banks.dbmb || banks.dbmb->isAncestorOf(hit));
    };
    const auto coversWholeCell = [&](int row) {
        const QRect cell = grid->visualRect(model->index(row, 2));
        const int right = cell.width() - 1, bottom = cell.height() - 1;
        return boxCovers(row, {0, 0}) && boxCovers(row, {right, 0}) && boxCovers(row, {0, bottom}) &&
               boxCovers(row, {right, bottom}) && boxCovers(row, {right / 2, bottom / 2}) &&
               banks.dbmb->size() == cell.size();
    };

    grid->setCurrentIndex(model->index(1, 2));
    EXPECT_TRUE(banks.dbmb->isVisible());
    EXPECT_TRUE(coversWholeCell(1));
    EXPECT_EQ(banks.dbmb->currentText(), u("建设银行"));
    EXPECT_EQ(banks.dbmb->count(), 5);

    grid->setCurrentIndex(model->index(3, 2));
    EXPECT_TRUE(coversWholeCell(3));
    EXPECT_FALSE(boxCovers(1, {5, 5}));   // the cell it left shows again
    EXPECT_EQ(banks.dbmb->currentText(), u("信用联社"));

    grid->setCurrentIndex(model->index(3, 0));
    EXPECT_FALSE(banks.dbmb->isVisible());
}

// Flat buttons: the chosen tab sunken (dark along its top and left edges,
// light along its bottom and right), the other one a flat face with no edge
// at all; both in the window's own colour.
TEST_F(WindowsFixture, BankWindowTabsLookLikeFlatButtons)
{
    TForm3 banks(*lists);
    showActive(banks);
    QTabBar* tabs = banks.PageControl1->tabBar();
    ASSERT_EQ(tabs->count(), 2);
    const QPalette& colours = tabs->palette();
    const std::string face = colours.color(QPalette::Window).name().toStdString();
    const std::string dark = colours.color(QPalette::Dark).name().toStdString();
    const std::string light = colours.color(QPalette::Light).name().toStdString();
    for (int chosen : {0, 1}) {
        SCOPED_TRACE(chosen);
        banks.PageControl1->setCurrentIndex(chosen);
        const QImage image = tabs->grab().toImage();
        const auto at = [&image](QPoint p) { return image.pixelColor(p).name().toStdString(); };
        // From each edge of the chosen tab towards its middle: the first
        // pixel that is not the face is its edge.
        const QRect sunken = tabs->tabRect(chosen);
        const auto edge = [&](QPoint from, QPoint step) {
            QPoint p = from;
            while (sunken.contains(p) && at(p) == face) p += step;
            return p;
        };
        const QPoint mid = sunken.center();
        const QPoint top = edge({mid.x(), sunken.top()}, {0, 1});
        const QPoint left = edge({sunken.left(), mid.y()}, {1, 0});
        const QPoint bottom = edge({mid.x(), sunken.bottom()}, {0, -1});
        const QPoint right = edge({sunken.right(), mid.y()}, {-1, 0});
        EXPECT_EQ(at(top), dark);
        EXPECT_EQ(at(left), dark);
        EXPECT_EQ(at(bottom), light);
        EXPECT_EQ(at(right), light);
        EXPECT_EQ(at(top + QPoint(0, 1)), face);   // inside, the face again
        // The other tab has no edge where the chosen one has its own.
        const QRect flat = tabs->tabRect(1 - chosen);
        const QPoint offset = flat.topLeft() - sunken.topLeft();
        for (const QPoint p : {top, left, bottom, right})
            EXPECT_EQ(at(p + offset), face) << p.x() << "," << p.y();
    }
    testsupport::saveScreenshot(banks, "bank-window-tabs");
}

TEST_F(WindowsFixture, BankGridRowChangeRunsTheChecksBeforePosting)
{
    TForm3 banks(*lists);
    showActive(banks);
    banks.PageControl1->setCurrentWidget(banks.TabSheet2);
    QTableView* grid = banks.DBGrid1;
    grid->setCurrentIndex(grid->model()->index(4, 0));
    ASSERT_TRUE(lists->banks.insert());
    lists->AD_bank.setValue("bank_zh", Value("6222"));   // no bank name
    grid->setCurrentIndex(grid->model()->index(0, 0));
    ASSERT_EQ(ui.shown.size(), 1u);
    EXPECT_EQ(ui.shown[0].text, "请输入银行名称和帐号!");
    EXPECT_EQ(lists->AD_bank.state(), data::DatasetState::Insert);
    QTest::qWait(10);   // the grid goes back to the pending row
    EXPECT_EQ(grid->currentIndex().row(), 5);
}

TEST_F(WindowsFixture, PayeeTitleTogglesItsSortMarkWithoutSortingOrSelecting)
{
    TForm8 payees(*lists);
    showActive(payees);
    QTableView* grid = payees.DBGrid1;
    const int lastRow = grid->model()->rowCount() - 1;
    grid->setCurrentIndex(grid->model()->index(lastRow, 0));
    ASSERT_EQ(lists->adskdw.recNo(), lastRow + 1);
    const QModelIndexList selectedBefore = grid->selectionModel()->selectedIndexes();

    QHeaderView* title = grid->horizontalHeader();
    const Qt::SortOrder before = title->sortIndicatorOrder();
    const QString firstRow = grid->model()->index(0, 0).data().toString();
    const QPoint middle(title->sectionSize(0) / 2, title->height() / 2);
    QTest::mouseClick(title->viewport(), Qt::LeftButton, {}, middle);
    EXPECT_NE(title->sortIndicatorOrder(), before);
    // Nothing selected or moved by the click: the current row stays the only one marked.
    EXPECT_EQ(grid->selectionModel()->selectedIndexes(), selectedBefore);
    EXPECT_EQ(grid->currentIndex().row(), lastRow);
    EXPECT_EQ(lists->adskdw.recNo(), lastRow + 1);

    QTest::mouseClick(title->viewport(), Qt::LeftButton, {}, middle);
    EXPECT_EQ(title->sortIndicatorOrder(), before);
    EXPECT_EQ(grid->model()->index(0, 0).data().toString(), firstRow);
    EXPECT_EQ(firstRow, u("北京华联商厦有限公司"));
}

// Deleting the last row, a stored one or a new one not yet posted, leaves the
// cursor on the row that now stands where it stood: the new last row.
TEST_F(WindowsFixture, DeletingTheLastRowLeavesTheCursorOnTheNewLastRow)
{
    for (const char* name : {"li", "wang"}) {
        data->users.append({{"user_name", Value(name)}, {"password", Value("1")}});
        data->users.post();
    }
    TForm3 banks(*lists);
    banks.PageControl1->setCurrentWidget(banks.TabSheet2);
    TForm5 purposes(*lists);
    TForm8 payees(*lists);
    TForm6 operators(*data);
    using B = widgets::Navigator::Button;
    struct Case {
        QWidget* window;
        QTableView* grid;
        data::Dataset& cursor;
        QAbstractButton* insertButton;
        QAbstractButton* deleteButton;
    };
    const Case cases[] = {
        {&banks, banks.DBGrid1, lists->AD_bank, banks.DBNavigator2->button(B::Insert),
         banks.DBNavigator2->button(B::Delete)},
        {&purposes, purposes.DBGrid1, lists->ad_yt, purposes.DBNavigator1->button(B::Insert),
         purposes.DBNavigator1->button(B::Delete)},
        {&payees, payees.DBGrid1, lists->adskdw, payees.DBNavigator1->button(B::Insert),
         payees.DBNavigator1->button(B::Delete)},
        {&operators, operators.grid, data->users, operators.BitBtn1, operators.BitBtn2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.window->objectName().toStdString());
        showActive(*c.window);
        const auto expectOnLastRow = [&c](int rows, const std::string& name) {
            QTest::qWait(10);
            ASSERT_EQ(c.cursor.rowCount(), rows);
            EXPECT_EQ(c.cursor.recNo(), rows);
            EXPECT_EQ(c.cursor.value(1).toText(), name);
            EXPECT_EQ(c.grid->currentIndex().row(), rows - 1);
        };
        const int rows = c.cursor.rowCount();
        const std::string last = c.cursor.valueAt(rows - 1, 1).toText();
        const std::string secondLast = c.cursor.valueAt(rows - 2, 1).toText();

        // A new row started from the first row, then deleted.
        c.grid->setFocus();
        c.grid->setCurrentIndex(c.grid->model()->index(0, 0));
        QTest::mouseClick(c.insertButton, Qt::LeftButton);
        ASSERT_EQ(c.cursor.rowCount(), rows + 1);
        ui.answers = {ui::Answer::Ok};
        QTest::mouseClick(c.deleteButton, Qt::LeftButton);
        expectOnLastRow(rows, last);

        // The stored last row.
        ui.answers = {ui::Answer::Ok};
        QTest::mouseClick(c.deleteButton, Qt::LeftButton);
        expectOnLastRow(rows - 1, secondLast);
        c.window->hide();
    }
}

TEST_F(WindowsFixture, PickerDoubleClickAndShortCodeFillThePayeeBox)
{
    TForm9 picker(*lists, [this](const std::string& name) { form->controller().setPayee(name); });
    showActive(picker);
    QTableView* grid = picker.dwxz;
    const QRect row = grid->visualRect(grid->model()->index(2, 0));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, row.center());
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, row.center());
    EXPECT_EQ(form->cdw->text(), u("国网北京市电力公司"));
    EXPECT_FALSE(picker.isVisible());

    showActive(picker);
    picker.cjm->setFocus();
    QTest::keyClicks(picker.cjm, "nothing");
    QTest::keyClick(picker.cjm, Qt::Key_Tab);
    ASSERT_EQ(ui.shown.size(), 1u);
    EXPECT_EQ(ui.shown[0].text, "请增加新单位!");
    EXPECT_TRUE(picker.isVisible());

    picker.cjm->setFocus();
    picker.cjm->setText("wygl");
    QTest::keyClick(picker.cjm, Qt::Key_Tab);
    ASSERT_EQ(ui.shown.size(), 2u);
    EXPECT_EQ(ui.shown[1].text, "是该单位吗!");
    EXPECT_EQ(form->cdw->text(), u("中关村科技园物业管理有限公司"));
    EXPECT_FALSE(picker.isVisible());
}

TEST(Calculator, KeysAreEvaluatedLeftToRight)
{
    struct Case {
        double start;
        const char* keys;
        const char* display;
    };
    const Case cases[] = {
        {0, "12+3=", "15"},     {0, "2+3*4=", "20"},  {100, "*1.5=", "150"}, {0, "7/0=", "Error"},
        {0, "1.2.5", "1.25"},   {0, "123<<", "1"},    {8, "C", "0"},        {2045.6, "+0.07=", "2045.67"},
    };
    for (const Case& c : cases) {
        widgets::Calculator calc(c.start);
        for (const char* k = c.keys; *k; ++k) calc.press(*k);
        EXPECT_EQ(calc.display(), c.display) << c.keys;
    }
}

} // namespace
