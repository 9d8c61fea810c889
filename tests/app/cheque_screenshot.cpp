// Shows the cheque window on the last demo cheque, the bank window (its grid
// tab, the drop-down over a template cell) and the payee picker, and saves a
// grab of each as a PNG in OUTPUT_DIR. On the demo database it then starts a
// new cheque, dated 2026-12-20, and grabs the window again.
//
//   xvfb-run -a cheque_screenshot OUTPUT_DIR [DATABASE]
//
// Without DATABASE a demo database in the temporary folder is used. With it,
// the windows show that (existing) database, and afterwards a cheque is
// entered through the cheque window's boxes and saved with "保存"; the last
// grab shows it, and the file keeps it.

#include "app/data/databasefile.h"
#include "app/lists/referencelists.h"
#include "app/windows/tform1.h"
#include "app/windows/tform3.h"
#include "app/windows/tform9.h"
#include "report/canvas/fontmap.h"

#include "app/widgets/buttonedit.h"
#include "app/widgets/numberedit.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QPixmap>
#include <QScreen>
#include <QTabWidget>
#include <QTableView>
#include <QTest>

#include <cstdio>
#include <filesystem>

using namespace pemvora;
using namespace pemvora::app;

namespace {

bool save(QWidget& w, const std::filesystem::path& file)
{
    w.show();
    QApplication::setActiveWindow(&w);
    QTest::qWait(300);
    if (!w.grab().save(QString::fromStdString(file.string()))) {
        std::fprintf(stderr, "cannot write %s\n", file.c_str());
        return false;
    }
    std::printf("%s\n", file.c_str());
    return true;
}

// The window with the list of `box` dropped down: a grab of the screen, as
// the list is a window of its own; with room on the right for a list wider
// than its box.
bool saveOpenList(QWidget& window, QComboBox* box, const std::filesystem::path& file)
{
    window.show();
    QApplication::setActiveWindow(&window);
    QTest::qWait(200);
    box->showPopup();
    QTest::qWait(300);
    const QRect area = window.frameGeometry().adjusted(0, 0, 200, 0);
    const QPixmap shot = QGuiApplication::primaryScreen()->grabWindow(0, area.x(), area.y(), area.width(), area.height());
    box->hidePopup();
    if (!shot.save(QString::fromStdString(file.string()))) {
        std::fprintf(stderr, "cannot write %s\n", file.c_str());
        return false;
    }
    std::printf("%s\n", file.c_str());
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    report::loadFontConfiguration();
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: cheque_screenshot OUTPUT_DIR\n");
        return 2;
    }
    const std::filesystem::path out = argv[1];
    const bool ownDatabase = argc < 3;
    const std::filesystem::path db =
        ownDatabase ? std::filesystem::temp_directory_path() / "pemvora-screenshot.mdb" : std::filesystem::path(argv[2]);
    if (ownDatabase) data::writeChequeDatabase(db.string(), {.demo = true, .force = true});

    // The demo's new cheque is dated 2026-12-20, a date of ten characters.
    TForm1 form(nullptr, ownDatabase ? std::function<DateTime()>([] { return encodeDate(2026, 12, 20); })
                                     : std::function<DateTime()>());
    data::TData data(db.string());
    ReferenceLists lists(data, ui::services());
    TForm3 banks(lists);
    TForm9 picker(lists, [&form](const std::string& name) { form.controller().setPayee(name); });
    form.attach(data, lists, {nullptr, nullptr, &banks, nullptr, nullptr, &picker});

    bool ok = save(form, out / "cheque-window.png");
    ok = saveOpenList(form, form.cyh, out / "cheque-window-bank-list.png") && ok;
    ok = saveOpenList(form, form.czh, out / "cheque-window-account-list.png") && ok;
    form.hide();
    banks.PageControl1->setCurrentWidget(banks.TabSheet2);
    banks.show();
    banks.DBGrid1->setFocus();
    banks.DBGrid1->setCurrentIndex(banks.DBGrid1->model()->index(1, 2));
    ok = save(banks, out / "bank-window.png") && ok;
    banks.PageControl1->setCurrentWidget(banks.TabSheet1);
    ok = save(banks, out / "bank-window-entry.png") && ok;
    banks.hide();
    picker.dwxz->setCurrentIndex(picker.dwxz->model()->index(3, 0));
    ok = save(picker, out / "payee-picker.png") && ok;
    picker.hide();
    if (ownDatabase) {
        form.show();
        form.BitBtn1->click();   // 增加
        ok = save(form, out / "cheque-window-new.png") && ok;
        form.hide();
        std::filesystem::remove(db);
        return ok ? 0 : 1;
    }

    // A cheque typed into the window and saved.
    form.show();
    form.BitBtn1->click();   // 增加
    form.czplx->setCurrentIndex(0);   // 转帐
    form.cyh->setCurrentIndex(1);
    form.cyt->setCurrentIndex(0);
    form.rxdbj->edit()->setFocus();
    QTest::keyClicks(form.rxdbj->edit(), "3456.78");
    form.cdw->edit()->setFocus();
    form.cdw->edit()->selectAll();
    QTest::keyClicks(form.cdw->edit(), "x");   // typed, then replaced by the program's pick below
    form.controller().setPayee("北京市自来水集团有限责任公司");
    form.czphm->setFocus();
    QTest::keyClicks(form.czphm, "66600001");
    form.BitBtn2->click();   // 保存
    ok = save(form, out / "cheque-window-saved.png") && ok;
    std::printf("saved: %s, adding: %s\n", form.controller().adding() ? "no" : "yes",
                form.controller().adding() ? "yes" : "no");
    return ok ? 0 : 1;
}
