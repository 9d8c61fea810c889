// The preview window, its toolbar and commands, the find dialog and the
// embedded preview control.

#include "report/preview/preview_widgets.h"

#include "platform/text/gbk.h"
#include "platform/ui/uiservices.h"
#include "report/engine/prepared_pages.h"
#include "report/engine/pdf_export_qt.h"
#include "report/engine/print_dialog_widgets.h"
#include "report/engine/run_control.h"
#include "report/model/engine_context.h"
#include "report/model/report.h"
#include "report/preview/preview_keys.h"
#include "report/printer/printing_context.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCheckBox>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QSettings>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWhatsThis>

#include <algorithm>
#include <filesystem>

namespace pemvora::report {

namespace {

QString engineQString(const std::string& gbk)
{
    try {
        return text::toQString(gbk);
    } catch (const std::exception&) {
        return QString::fromLatin1(gbk.c_str());
    }
}

// A file name from a dialog as the engine takes it (GBK); nullopt when it
// cannot be held in GBK.
std::optional<std::string> engineFileName(const QString& name)
{
    try {
        return text::fromQString(name);
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

const char* const kReportFileFilter = "Report file (*.frp)";

} // namespace

QString previewCaption(const TfrReport& report)
{
    QString caption = QStringLiteral("Preview");
    if (!report.Title.empty()) caption += QStringLiteral(" - ") + engineQString(report.Title);
    return caption;
}

// ---------------------------------------------------------------- find dialog

TfrPreviewSearchForm::TfrPreviewSearchForm(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TfrPreviewSearchForm"));
    setWindowTitle(tr("Find text"));
    auto* label = new QLabel(tr("Text to &find"), this);
    text_ = new QLineEdit(this);
    text_->setObjectName(QStringLiteral("FindText"));
    label->setBuddy(text_);

    auto* options = new QGroupBox(tr("Options"), this);
    caseSensitive_ = new QCheckBox(tr("&Case sensitive"), options);
    (new QVBoxLayout(options))->addWidget(caseSensitive_);

    auto* origin = new QGroupBox(tr("Origin"), this);
    firstPage_ = new QRadioButton(tr("&1st page"), origin);
    auto* currentPage = new QRadioButton(tr("Current &page"), origin);
    firstPage_->setChecked(true);
    auto* originLayout = new QVBoxLayout(origin);
    originLayout->addWidget(firstPage_);
    originLayout->addWidget(currentPage);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(tr("OK"));
    buttons->button(QDialogButtonBox::Cancel)->setText(tr("Cancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* groups = new QHBoxLayout;
    groups->addWidget(options);
    groups->addWidget(origin);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(text_);
    layout->addLayout(groups);
    layout->addWidget(buttons);
}

bool TfrPreviewSearchForm::CaseSensitive() const { return caseSensitive_->isChecked(); }
bool TfrPreviewSearchForm::FromFirstPage() const { return firstPage_->isChecked(); }

void TfrPreviewSearchForm::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    text_->setFocus();
    text_->selectAll();
}

// ---------------------------------------------------------------- commands

PreviewCommands::PreviewCommands(PreviewSession& session, PreviewArea& area, QWidget& toolbarParent, bool inWindow,
                                 std::function<void()> close)
    : session_(session), area_(area), inWindow_(inWindow), close_(std::move(close))
{
    ExportFilters.push_back([] { return std::make_unique<TfrPdfExportFilter>(); });
    toolbar_ = new QWidget(&toolbarParent);
    toolbar_->setObjectName(QStringLiteral("Toolbar"));
    toolbar_->setFixedHeight(33);
    auto* bar = new QHBoxLayout(toolbar_);
    bar->setContentsMargins(2, 2, 2, 2);
    bar->setSpacing(2);

    zoomButton_ = addButton("Zoom", QStringLiteral("100%"), tr("Scale"), Qt::ToolButtonTextOnly);
    zoomButton_->setFixedWidth(53);
    zoomButton_->setWhatsThis(tr("Scale: shows the zoom and opens the zoom menu."));
    addSeparator("Separator1");
    addButton("Open", tr("Open"), tr("Open report"), Qt::ToolButtonTextOnly)
        ->setWhatsThis(tr("Open report: reads a prepared report file (.frp) in place of the pages shown."));
    addButton("Save", tr("Save"), tr("Save report"), Qt::ToolButtonTextOnly)
        ->setWhatsThis(tr("Save report: writes the pages as a prepared report file (.frp)."));
    addButton("Print", tr("Print"), tr("Print report"), Qt::ToolButtonTextOnly)
        ->setWhatsThis(tr("Print report: prints the pages on the selected printer."));
    addButton("PageSetup", tr("Page setup"), tr("Page setup"), Qt::ToolButtonTextOnly)
        ->setWhatsThis(tr("Page setup: paper and margins of the report."));
    addSeparator("Separator2");
    addButton("Find", tr("Find"), tr("Find text"), Qt::ToolButtonTextOnly)
        ->setWhatsThis(tr("Find text: searches the pages for a text; F3 finds the next one."));
    addButton("Help", tr("Help"), tr("Show help"), Qt::ToolButtonTextOnly);
    addSeparator("Separator3");
    addButton("Exit", tr("Exit"), tr("Close preview"), Qt::ToolButtonTextOnly)
        ->setWhatsThis(tr("Close preview: closes this window."));
    bar->addStretch(1);

    zoomMenu_ = new QMenu(toolbar_);
    zoomMenu_->setObjectName(QStringLiteral("ZoomMenu"));
    zoomGroup_ = new QActionGroup(zoomMenu_);
    zoomGroup_->setExclusive(true);
    const auto addZoom = [&](const QString& caption, int tag) {
        QAction* action = zoomMenu_->addAction(caption);
        action->setCheckable(true);
        action->setData(tag);
        zoomGroup_->addAction(action);
        connect(action, &QAction::triggered, this, [this, tag] { Zoom(tag); });
    };
    for (const int percent : kZoomPercentTags) addZoom(QStringLiteral("%1%").arg(percent), percent);
    addZoom(tr("&Page width"), 1);
    addZoom(tr("&Whole page"), 2);
    addZoom(tr("&Two pages"), 3);
    editSeparator_ = zoomMenu_->addSeparator();
    editPage_ = zoomMenu_->addAction(tr("Edit page"), this, &PreviewCommands::EditPage);
    addPage_ = zoomMenu_->addAction(tr("Add page"), this, &PreviewCommands::AddPage);
    deletePage_ = zoomMenu_->addAction(tr("Delete page"), this, &PreviewCommands::DeletePage);

    connect(zoomButton_, &QToolButton::clicked, this, [this] {
        PopupZoomMenu(zoomButton_->mapToGlobal(QPoint(0, zoomButton_->height())), false);
    });
    connect(Button("Open"), &QToolButton::clicked, this, &PreviewCommands::Open);
    connect(Button("Save"), &QToolButton::clicked, this, &PreviewCommands::Save);
    connect(Button("Print"), &QToolButton::clicked, this, &PreviewCommands::Print);
    connect(Button("Find"), &QToolButton::clicked, this, &PreviewCommands::Find);
    connect(Button("Help"), &QToolButton::clicked, this, &PreviewCommands::Help);
    connect(Button("Exit"), &QToolButton::clicked, this, [this] {
        if (close_) close_();
    });
    connect(&area_, &PreviewArea::contextMenuWanted, this, [this](const QPoint& at) {
        if (EmbeddingMenu) EmbeddingMenu->popup(at);
        else PopupZoomMenu(at, true);
    });
    connect(&area_, &PreviewArea::editWanted, this, [this] {
        if (editPage_->isVisible()) EditPage();
    });
}

QToolButton* PreviewCommands::addButton(const char* name, const QString& text, const QString& hint, int style)
{
    auto* button = new QToolButton(toolbar_);
    button->setObjectName(QString::fromLatin1(name));
    button->setText(text);
    button->setToolTip(hint);
    button->setToolButtonStyle(static_cast<Qt::ToolButtonStyle>(style));
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::NoFocus);
    button->setMinimumHeight(27);
    toolbar_->layout()->addWidget(button);
    return button;
}

void PreviewCommands::addSeparator(const char* name)
{
    auto* line = new QFrame(toolbar_);
    line->setObjectName(QString::fromLatin1(name));
    line->setFrameShape(QFrame::VLine);
    line->setFrameShadow(QFrame::Sunken);
    toolbar_->layout()->addWidget(line);
}

QToolButton* PreviewCommands::Button(const char* name) const
{
    return toolbar_->findChild<QToolButton*>(QString::fromLatin1(name));
}

bool PreviewCommands::editingAllowed() const
{
    return static_cast<bool>(engine().PreparedPageEditor) && session_.Report().ModifyPrepared;
}

bool PreviewCommands::hasPrinters() const { return !printing().backend().printerNames().empty(); }

void PreviewCommands::ConfigureButtons()
{
    const TfrReport& report = session_.Report();
    const unsigned buttons = report.PreviewButtons;
    const auto show = [&](const char* name, bool visible) {
        if (QWidget* w = toolbar_->findChild<QWidget*>(QString::fromLatin1(name))) w->setVisible(visible);
    };
    using namespace previewbutton;
    show("Zoom", buttons & pbZoom);
    show("Separator1", buttons & pbZoom);
    show("Open", buttons & pbLoad);
    show("Save", buttons & pbSave);
    show("Print", buttons & pbPrint);
    show("PageSetup", buttons & pbPageSetup);
    show("Find", buttons & pbFind);
    const bool help = (buttons & pbHelp) && inWindow_;
    show("Help", help);
    show("Exit", (buttons & pbExit) && inWindow_);
    show("Separator3", (buttons & pbFind) || help);
    Button("Print")->setEnabled(hasPrinters());
    Button("PageSetup")->setEnabled(hasPrinters());
    // Page setup needs the platform's page setup dialog over the printer
    // wrapper, which this system does not have yet: the button stays off.
    Button("PageSetup")->setEnabled(false);

    const bool editing = editingAllowed();
    for (QAction* a : {editSeparator_, editPage_, addPage_, deletePage_}) a->setVisible(editing);

    EngineContext& e = engine();
    switch (report.InitialZoom) {
    case TfrPreviewZoom::pzPageWidth: e.PreviewZoomMode = 1; break;
    case TfrPreviewZoom::pzOnePage: e.PreviewZoomMode = 2; break;
    case TfrPreviewZoom::pzTwoPages: e.PreviewZoomMode = 3; break;
    case TfrPreviewZoom::pzDefault: break;
    }
}

void PreviewCommands::Refresh()
{
    const int tag = checkedZoomTag(session_.CurrentZoom());
    for (QAction* a : zoomGroup_->actions()) a->setChecked(a->data().toInt() == tag);
    if (QAction* checked = zoomGroup_->checkedAction(); checked && checked->data().toInt() != tag)
        checked->setChecked(false);
    zoomButton_->setText(QString::fromStdString(zoomCaption(session_.CurrentZoom().factor)));
    deletePage_->setEnabled(session_.CanDeletePage());
    area_.Sync();
}

void PreviewCommands::Zoom(int tag)
{
    session_.PickZoom(tag);
    Refresh();
}

void PreviewCommands::PopupZoomMenu(const QPoint& globalPosition, bool withEditing)
{
    const bool editing = withEditing && editingAllowed();
    for (QAction* a : {editSeparator_, editPage_, addPage_, deletePage_}) a->setVisible(editing);
    zoomMenu_->popup(globalPosition);
}

void PreviewCommands::Open()
{
    if (!session_.HasPages()) return;
    const QString name = QFileDialog::getOpenFileName(area_.window(), tr("Open"), QString(),
                                                      QString::fromLatin1(kReportFileFilter));
    if (name.isEmpty()) return;
    const std::optional<std::string> file = engineFileName(name);
    try {
        if (!file) throw PreparedReportError("The file name cannot be held in GBK");
        session_.Open(*file);
    } catch (const std::exception& e) {
        ui::services().error(text::gbkToUtf8(e.what()));
    }
    Refresh();
}

void PreviewCommands::Save()
{
    if (!session_.HasPages()) return;
    // The prepared-report file first, then one entry per export filter.
    std::vector<std::unique_ptr<TfrExportFilter>> filters;
    QStringList entries{QString::fromLatin1(kReportFileFilter)};
    for (const auto& make : ExportFilters) {
        filters.push_back(make());
        entries << QStringLiteral("%1 (*%2)")
                       .arg(engineQString(filters.back()->Description()), engineQString(filters.back()->Extension()));
    }
    QString selected = entries.front();
    const QString name = QFileDialog::getSaveFileName(area_.window(), tr("Save"), QString(), entries.join(";;"),
                                                      &selected);
    if (name.isEmpty()) return;
    const std::optional<std::string> file = engineFileName(name);
    const qsizetype entry = entries.indexOf(selected);
    try {
        if (!file) throw PreparedReportError("The file name cannot be held in GBK");
        if (entry <= 0) {
            session_.Save(*file);
        } else {
            TfrExportFilter& filter = *filters[static_cast<std::size_t>(entry - 1)];
            std::filesystem::path path(*file);
            path.replace_extension(filter.Extension());
            session_.RunOnReportPages([&] { ExportPreparedPages(session_.Report(), filter, path.string()); });
        }
    } catch (const std::exception& e) {
        ui::services().error(text::gbkToUtf8(e.what()));
    }
    Refresh();
}

void PreviewCommands::Print()
{
    if (!hasPrinters() || !session_.HasPages()) return;
    TfrReport& report = session_.Report();
    const int page = session_.CurrentPage();
    QtPrintDialog dialog(area_.window());
    try {
        session_.RunOnReportPages([&] { PrintFromPreview(report, page, dialog); });
    } catch (const std::exception& e) {
        ui::services().error(text::gbkToUtf8(e.what()));
    }
    Refresh();
}

void PreviewCommands::Find()
{
    if (!session_.HasPages()) return;
    TfrPreviewSearchForm form(area_.window());
    if (form.exec() != QDialog::Accepted) return;
    const std::optional<std::string> text = engineFileName(form.TextEdit().text());
    if (!text || text->empty()) return;
    showFound(session_.Find(*text, form.CaseSensitive(), form.FromFirstPage()));
}

void PreviewCommands::FindNext()
{
    if (!session_.HasSearchText()) return;
    showFound(session_.FindNext());
}

void PreviewCommands::showFound(bool found)
{
    (void)found;   // a text that does not occur shows nothing
    QCoreApplication::processEvents();
    Refresh();
}

void PreviewCommands::Help() { QWhatsThis::enterWhatsThisMode(); }

void PreviewCommands::EditPage()
{
    if (!editingAllowed() || !session_.HasPages()) return;
    const int index = session_.CurrentPage() - 1;
    try {
        session_.RunOnReportPages([&] { engine().PreparedPageEditor(session_.Report(), index); });
    } catch (const std::exception& e) {
        ui::services().error(text::gbkToUtf8(e.what()));
    }
    Refresh();
}

void PreviewCommands::AddPage()
{
    if (!editingAllowed()) return;
    session_.AddPage();
    Refresh();
}

void PreviewCommands::DeletePage()
{
    if (!editingAllowed() || !session_.CanDeletePage()) return;
    if (ui::services().question("Remove this page?", "Confirm") != ui::Answer::Yes) return;
    session_.DeletePage();
    Refresh();
}

bool PreviewCommands::HandleKey(int key, Qt::KeyboardModifiers modifiers)
{
    PreviewKeyState state;
    state.hasPages = session_.HasPages();
    state.printEnabled = Button("Print")->isVisibleTo(toolbar_) && Button("Print")->isEnabled();
    state.editShown = editingAllowed();
    state.hasSearchText = session_.HasSearchText();
    QScrollBar& v = area_.VerticalBar();
    QScrollBar& h = area_.HorizontalBar();
    using C = PreviewCommand;
    switch (previewCommandForKey(key, modifiers, state)) {
    case C::None: return false;
    case C::LineUp: v.setValue(v.value() - v.singleStep()); break;
    case C::LineDown: v.setValue(v.value() + v.singleStep()); break;
    case C::LineLeft: h.setValue(h.value() - h.singleStep()); break;
    case C::LineRight: h.setValue(h.value() + h.singleStep()); break;
    case C::ScreenUp: v.setValue(v.value() - v.pageStep()); break;
    case C::ScreenDown: v.setValue(v.value() + v.pageStep()); break;
    case C::PreviousPage: session_.GoToPage(session_.CurrentPage() - 1); area_.Sync(); break;
    case C::NextPage: session_.GoToPage(session_.CurrentPage() + 1); area_.Sync(); break;
    case C::FirstPage: session_.GoToPage(1); area_.Sync(); break;
    case C::LastPage: session_.GoToPage(session_.PageCount()); area_.Sync(); break;
    case C::ZoomMenu: PopupZoomMenu(zoomButton_->mapToGlobal(QPoint(0, zoomButton_->height())), false); break;
    case C::Exit: if (close_) close_(); break;
    case C::FindNext: FindNext(); break;
    case C::Open: Open(); break;
    case C::Save: Save(); break;
    case C::Print: Print(); break;
    case C::Find: Find(); break;
    case C::EditPage: EditPage(); break;
    }
    return true;
}

// ---------------------------------------------------------------- the window

TfrPreviewForm::TfrPreviewForm(TfrReport& report, QWidget* parent) : QDialog(parent), session_(report)
{
    setObjectName(QStringLiteral("TfrPreviewForm"));
    setWindowTitle(previewCaption(report));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint
                   | Qt::WindowCloseButtonHint);
    setSizeGripEnabled(false);
    area_ = new PreviewArea(session_, this);
    commands_ = std::make_unique<PreviewCommands>(session_, *area_, *this, true, [this] {
        if (session_.Report().ModalPreview) accept();
        else close();
    });
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(&commands_->Toolbar());
    layout->addWidget(area_, 1);
    resize(800, 600);

    // Key preview: the window sees every key first, wherever the focus is.
    for (QWidget* w : findChildren<QWidget*>()) w->installEventFilter(this);
    installEventFilter(this);
}

TfrPreviewForm::~TfrPreviewForm() = default;

void TfrPreviewForm::Show()
{
    restoreGeometryFromSettings();
    session_.TakePages();
    commands_->ConfigureButtons();
    session_.ResetView(true);
    commands_->Refresh();
    if (session_.Report().ModalPreview) {
        exec();
    } else {
        setAttribute(Qt::WA_DeleteOnClose);
        show();
    }
}

bool TfrPreviewForm::eventFilter(QObject* watched, QEvent* event)
{
    // Keys of the window's own controls; the zoom menu and dialogs keep theirs.
    auto* widget = qobject_cast<QWidget*>(watched);
    if (widget == nullptr || widget->window() != this) return QDialog::eventFilter(watched, event);
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (commands_->HandleKey(key->key(), key->modifiers())) return true;
    }
    if (event->type() == QEvent::ShortcutOverride) {
        // Keys the preview handles are not shortcuts of the focused control.
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Escape) {
            event->accept();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TfrPreviewForm::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    area_->PageBox().setFocus();
}

void TfrPreviewForm::done(int result)
{
    saveGeometryToSettings();
    QDialog::done(result);
}

namespace {

const QString kFormGroup = QStringLiteral("Form/TfrPreviewForm");

} // namespace

void TfrPreviewForm::restoreGeometryFromSettings()
{
    QSettings settings(QStringLiteral("Vorlentrix"), QCoreApplication::applicationName());
    settings.beginGroup(kFormGroup);
    const QRect available = screen() ? screen()->availableGeometry() : QRect(0, 0, 1024, 768);
    // The first time the window takes the whole screen, also where no window
    // manager maximises it.
    const int x = settings.value(QStringLiteral("XPosition"), available.left()).toInt();
    const int y = settings.value(QStringLiteral("YPosition"), available.top()).toInt();
    const int w = settings.value(QStringLiteral("Width"), available.width()).toInt();
    const int h = settings.value(QStringLiteral("Height"), available.height()).toInt();
    const bool maximized = settings.value(QStringLiteral("Maximized"), true).toBool();
    // Positions from another screen layout are brought back onto this one.
    QRect normal(x, y, std::clamp(w, 200, std::max(200, available.width())),
                 std::clamp(h, 150, std::max(150, available.height())));
    if (!available.intersects(normal)) normal.moveTopLeft(available.topLeft());
    setGeometry(normal);
    if (maximized) setWindowState(windowState() | Qt::WindowMaximized);
}

void TfrPreviewForm::saveGeometryToSettings()
{
    QSettings settings(QStringLiteral("Vorlentrix"), QCoreApplication::applicationName());
    settings.beginGroup(kFormGroup);
    const QRect normal = normalGeometry().isValid() ? normalGeometry() : geometry();
    settings.setValue(QStringLiteral("XPosition"), normal.x());
    settings.setValue(QStringLiteral("YPosition"), normal.y());
    settings.setValue(QStringLiteral("Width"), normal.width());
    settings.setValue(QStringLiteral("Height"), normal.height());
    settings.setValue(QStringLiteral("Maximized"), isMaximized());
}

// ---------------------------------------------------------------- embedded control

TfrPreview::TfrPreview(QWidget* parent) : QWidget(parent) { setObjectName(QStringLiteral("TfrPreview")); }

TfrPreview::~TfrPreview() = default;

void TfrPreview::Connect(TfrReport& report)
{
    Disconnect();
    session_ = std::make_unique<PreviewSession>(report);
    area_ = new PreviewArea(*session_, this);
    area_->WheelMultiplier = 3;
    area_->ShowBars(ScrollBars == ssVertical || ScrollBars == ssBoth,
                    ScrollBars == ssHorizontal || ScrollBars == ssBoth);
    commands_ = std::make_unique<PreviewCommands>(*session_, *area_, *this, false, nullptr);
    commands_->Toolbar().setVisible(ShowToolbar);
    commands_->EmbeddingMenu = PopupMenu;
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(&commands_->Toolbar());
    layout->addWidget(area_, 1);
    connect(area_, &PreviewArea::pageChanged, this, [this](int page) {
        if (OnPageChanged) OnPageChanged(*this, page);
    });
    if (parentWidget()) parentWidget()->installEventFilter(this);

    session_->TakePages();
    commands_->ConfigureButtons();
    session_->ResetView(true);
    commands_->Refresh();
}

void TfrPreview::Disconnect()
{
    if (!session_) return;
    if (parentWidget()) parentWidget()->removeEventFilter(this);
    session_->GiveBackPages();
    delete layout();
    delete &commands_->Toolbar();
    commands_.reset();
    delete area_;
    area_ = nullptr;
    session_.reset();
}

int TfrPreview::CurrentPage() const { return session_ ? session_->CurrentPage() : 0; }

bool TfrPreview::eventFilter(QObject* watched, QEvent* event)
{
    // The embedding window's mouse wheel scrolls the pages.
    if (area_ && watched == parentWidget() && event->type() == QEvent::Wheel) {
        QCoreApplication::sendEvent(&area_->PageBox(), event);
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

// ---------------------------------------------------------------- presenter

void InstallPreview()
{
    engine().Presenters.Preview = [](TfrReport& report, const std::string& caption) {
        if (report.Preview != nullptr) {
            report.Preview->Connect(report);
            return;
        }
        auto* form = new TfrPreviewForm(report);
        form->setWindowTitle(engineQString(caption));
        if (report.ModalPreview) {
            form->Show();
            delete form;
        } else {
            form->Show();   // deletes itself when closed
        }
    };
}

} // namespace pemvora::report
