// Shows the cheque window on the last demo cheque, the bank window (its grid
// tab, the drop-down over a template cell) and the payee picker, and saves a
// grab of each as a PNG in OUTPUT_DIR.
//
//   xvfb-run -a cheque_screenshot OUTPUT_DIR

#include "app/data/databasefile.h"
#include "app/lists/referencelists.h"
#include "app/windows/tform1.h"
#include "app/windows/tform3.h"
#include "app/windows/tform9.h"

#include <QApplication>
#include <QPixmap>
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

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: cheque_screenshot OUTPUT_DIR\n");
        return 2;
    }
    const std::filesystem::path out = argv[1];
    const std::filesystem::path db = std::filesystem::temp_directory_path() / "pemvora-screenshot.mdb";
    data::writeChequeDatabase(db.string(), {.demo = true, .force = true});

    TForm1 form;
    data::TData data(db.string());
    ReferenceLists lists(data, ui::services());
    TForm3 banks(lists);
    TForm9 picker(lists, [&form](const std::string& name) { form.controller().setPayee(name); });
    form.attach(data, lists, {nullptr, nullptr, &banks, nullptr, nullptr, &picker});

    bool ok = save(form, out / "cheque-window.png");
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
    std::filesystem::remove(db);
    return ok ? 0 : 1;
}
