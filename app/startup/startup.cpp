#include "app/startup/startup.h"

#include "app/data/tdata.h"
#include "app/login/dataoperators.h"
#include "app/windows/tadmin.h"
#include "app/windows/tform1.h"
#include "app/windows/tform6.h"
#include "platform/desktop/shortcut.h"
#include "platform/ui/uiservices.h"
#include "report/engine/fontmap.h"

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
    auto operatorWindow = std::make_unique<TForm6>(*data);

    {
        DataOperators operators(*data);
        desktop::FreedesktopShortcutWriter shortcuts;
        LoginController login(operators, ui::services(), shortcuts, desktop::shortcutForThisProgram(programIcon()));
        Tadmin dialog(login);
        dialog.exec();
        if (dialog.endRequested()) return 0;   // the cheque window never appears
    }

    chequeWindow->show();
    return app.exec();
}

} // namespace pemvora::app
