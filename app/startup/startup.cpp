#include "app/startup/startup.h"

#include "app/data/tdata.h"
#include "app/login/dataoperators.h"
#include "app/lists/referencelists.h"
#include "app/windows/tadmin.h"
#include "app/windows/tform1.h"
#include "app/windows/tform3.h"
#include "app/windows/tform4.h"
#include "app/windows/tform5.h"
#include "app/windows/tform6.h"
#include "app/windows/tform8.h"
#include "app/windows/tform9.h"
#include "platform/desktop/shortcut.h"
#include "platform/ui/qtuiservices.h"
#include "platform/ui/uiservices.h"
#include "report/canvas/fontmap.h"
#include "report/designer/tfr_designer.h"
#include "report/engine/link_opener_qt.h"
#include "report/engine/progress_window_widgets.h"
#include "report/preview/preview_widgets.h"
#include "report/printer/qt_printer.h"

#include <QApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QTranslator>

#include <exception>
#include <filesystem>
#include <memory>

namespace pemvora::app {

namespace {

std::filesystem::path programIcon()
{
    return std::filesystem::path(QCoreApplication::applicationDirPath().toStdString()) / "pemvora.png";
}

// Standard buttons of message boxes and dialogs in Chinese, as the rest of the program.
void installChineseTranslations(QApplication& app)
{
    auto* translator = new QTranslator(&app);
    if (translator->load(QLocale(QLocale::Chinese, QLocale::China), "qtbase", "_",
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(translator);
}

} // namespace

int runPemvora(int argc, char** argv)
{
    // Template and window fonts name Windows families; ours map them before Qt starts fontconfig.
    report::loadFontConfiguration();
    QApplication app(argc, argv);
    QApplication::setApplicationName("Pemvora");
    ui::useQtServices();
    // The report engine prints on the installed printers (a virtual one when there are none).
    report::installSystemPrinters();
    // "打印" prepares the cheque under the progress window and shows it in the
    // modal preview, which prints it.
    report::installProgressWindow();
    report::InstallPreview();
    // Links in a preview open web and mail addresses only, through the desktop.
    report::installDesktopLinkOpener();
    // "打印修改" opens the designer on the loaded template; its buttons stay in
    // place, greyed when they do nothing.
    report::TfrDesigner designer;
    designer.HideDisabledButtons = false;
    QApplication::setWindowIcon(QIcon(QString::fromStdString(programIcon().string())));
    installChineseTranslations(app);

    // The windows, hidden, in their order; the cheque window first, then the data module.
    auto chequeWindow = std::make_unique<TForm1>();
    std::unique_ptr<data::TData> data;
    try {
        data = std::make_unique<data::TData>();
    } catch (const std::exception& e) {
        // Without its database the program does not run.
        ui::services().error(e.what());
        return 1;
    }
    std::unique_ptr<ReferenceLists> lists;
    std::unique_ptr<TForm3> bankWindow;
    try {
        lists = std::make_unique<ReferenceLists>(*data, ui::services());
        bankWindow = std::make_unique<TForm3>(*lists);
    } catch (const std::exception& e) {
        ui::services().error(e.what());
        return 1;
    }
    auto userUnitWindow = std::make_unique<TForm4>(*lists);
    auto purposeWindow = std::make_unique<TForm5>(*lists);
    auto operatorWindow = std::make_unique<TForm6>(*data);
    auto payeeWindow = std::make_unique<TForm8>(*lists);
    TForm1* form1 = chequeWindow.get();
    auto payeePicker = std::make_unique<TForm9>(
        *lists, [form1](const std::string& payee) { form1->controller().setPayee(payee); });

    {
        DataOperators operators(*data);
        desktop::FreedesktopShortcutWriter shortcuts;
        LoginController login(operators, ui::services(), shortcuts, desktop::shortcutForThisProgram(programIcon()));
        Tadmin dialog(login);
        dialog.exec();
        if (dialog.endRequested()) return 0;   // the cheque window never appears
    }
    chequeWindow->attach(*data, *lists,
                         {payeeWindow.get(), purposeWindow.get(), bankWindow.get(), userUnitWindow.get(),
                          operatorWindow.get(), payeePicker.get()});

    chequeWindow->show();
    return app.exec();
}

} // namespace pemvora::app
