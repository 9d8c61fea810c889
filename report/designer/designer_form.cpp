#include "report/designer/designer_form.h"

#include "platform/text/gbk.h"
#include "platform/ui/uiservices.h"
#include "report/canvas/fontmap.h"
#include "report/designer/designer_dialogs.h"
#include "report/designer/designer_icons.h"
#include "report/designer/designer_page.h"
#include "report/designer/designer_ruler.h"
#include "report/designer/designer_settings.h"
#include "report/designer/text_editor_window.h"
#include "report/designer/object_inspector.h"
#include "report/designer/tfr_designer.h"
#include "report/designer/designer_preview.h"
#include "report/model/engine_context.h"

#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QColorDialog>
#include <QComboBox>
#include <QDockWidget>
#include <QEventLoop>
#include <QFileDialog>
#include <QFontComboBox>
#include <QFontDatabase>
#include <QFontDialog>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>
#include <QTabBar>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace pemvora::report {

namespace {

QString q(std::string_view gbk) { return text::toQString(gbk); }

// The file dialogs of the window, on GBK names.
class QtFileDialogs : public DesignerFileDialogs {
public:
    explicit QtFileDialogs(QWidget* parent) : parent_(parent) {}

    std::optional<std::string> openFileName(const std::string& startDir) override
    {
        const QString name = QFileDialog::getOpenFileName(
            parent_, QStringLiteral("Open"), q(startDir),
            QStringLiteral("Vorlentrix form (*.frf);;Vorlentrix dictionary (*.frd)"));
        return toGbk(name);
    }
    std::optional<std::string> saveFileName(const std::string& startDir, const std::string& proposed) override
    {
        // The chosen filter gives the name its extension, and so the form written.
        static const struct {
            const char* filter;
            const char* extension;
        } kForms[] = {
            {"Vorlentrix form (*.frf)", ".frf"},
            {"Vorlentrix3 form (*.fr3)", ".fr3"},
            {"Vorlentrix template (*.frt)", ".frt"},
            {"Vorlentrix dictionary (*.frd)", ".frd"},
        };
        QStringList filters;
        for (const auto& f : kForms) filters << QString::fromLatin1(f.filter);
        QString selected = filters.front();
        const QString start = q(proposed.empty() ? startDir : proposed);
        const QString name =
            QFileDialog::getSaveFileName(parent_, QStringLiteral("Save as"), start, filters.join(";;"), &selected);
        std::optional<std::string> gbk = toGbk(name);
        if (!gbk) return gbk;
        for (const auto& f : kForms)
            if (selected == QString::fromLatin1(f.filter)) return WithExtension(*gbk, f.extension);
        return gbk;
    }

private:
    static std::optional<std::string> toGbk(const QString& name)
    {
        if (name.isEmpty()) return std::nullopt;
        std::string gbk;
        if (!text::tryUtf8ToGbk(name.toStdString(), gbk)) {
            ui::services().message("A template's file name must be one that GBK can hold: " + name.toStdString(),
                                   "Error", ui::Icon::Error);
            return std::nullopt;
        }
        return gbk;
    }
    QWidget* parent_;
};

QString unitsName(int units)
{
    return units == 1 ? QStringLiteral("MM") : units == 2 ? QStringLiteral("Inches") : QStringLiteral("Pixels");
}

QString inUnits(int pixels, int units)
{
    if (units == 0) return QString::number(pixels);
    return QString::number(pixelsToUnits(pixels, units), 'f', units == 1 ? 1 : 2);
}

Color colorOf(const QColor& c) { return rgb(c.red(), c.green(), c.blue()); }

QColor qcolorOf(Color c)
{
    const Color v = resolveColor(c);
    return QColor(int(v & 0xFF), int((v >> 8) & 0xFF), int((v >> 16) & 0xFF));
}

// The installed families, GBK. Arial counts as installed when our font
// configuration gives it its metric-compatible face.
std::vector<std::string> installedFamilies()
{
    std::vector<std::string> families;
    const QString arial = resolveFontFamily(QStringLiteral("Arial"));
    if (arial == QLatin1String("Arial") || arial == QLatin1String("Liberation Sans") || arial == QLatin1String("Arimo"))
        families.emplace_back("Arial");
    for (const QString& f : QFontDatabase::families()) {
        std::string gbk;
        if (text::tryUtf8ToGbk(f.toStdString(), gbk)) families.push_back(gbk);
    }
    return families;
}

} // namespace

// ---------------------------------------------------------------- construction

TfrDesignerForm::TfrDesignerForm(TfrReport& report, TfrDesigner* component, QWidget* parent)
    : QMainWindow(parent), report_(report), component_(component), doc_(report), mouse_(doc_)
{
    setObjectName(QStringLiteral("TfrDesignerForm"));
    fileDialogs_ = std::make_unique<QtFileDialogs>(this);
    doc_.setFileDialogs(fileDialogs_.get());
    if (component_) {
        DesignerHooks& hooks = doc_.hooks();
        hooks.CloseQuery = component_->CloseQuery;
        hooks.OpenDir = component_->OpenDir;
        hooks.SaveDir = component_->SaveDir;
        hooks.TemplateDir = component_->TemplateDir;
        hooks.OnLoadReport = component_->OnLoadReport;
        hooks.OnSaveReport = component_->OnSaveReport;
    }
    const DesignerWindowSettings settings = readDesignerSettings();
    doc_.grid() = settings.Grid;
    doc_.options() = settings.Options;
    resetNewObjectFont(installedFamilies());
    mouse_.chooseBandKind = [this] { return BandDialog::ask(enabledBandKinds(report_, doc_.currentPageIndex()), this); };

    buildCentre();
    buildMenus();
    buildToolbars();

    inspector_ = new ObjectInspector(doc_);
    inspectorDock_ = new QDockWidget(QStringLiteral("Object Inspector"), this);
    inspectorDock_->setObjectName(QStringLiteral("TfrInspForm"));
    inspectorDock_->setWidget(inspector_);
    addDockWidget(Qt::RightDockWidgetArea, inspectorDock_);
    inspectorDock_->setVisible(settings.InspectorVisible);
    connect(inspector_, &ObjectInspector::editorRequested, this, &TfrDesignerForm::editProperty);

    unitsPanel_ = new QLabel;
    positionPanel_ = new QLabel;
    sizePanel_ = new QLabel;
    unitsPanel_->setFixedWidth(75);
    positionPanel_->setFixedWidth(230);
    sizePanel_->setFixedWidth(50 + 80);
    statusBar()->addWidget(unitsPanel_);
    statusBar()->addWidget(positionPanel_);
    statusBar()->addWidget(sizePanel_);

    if (!settings.WindowState.isEmpty()) restoreState(settings.WindowState);
    doc_.addObserver(this);
    updateTabs();
    updateCaption();
    updateActions();
    updateStatus();
}

TfrDesignerForm::~TfrDesignerForm()
{
    writeSettings();
    doc_.removeObserver(this);
    // The page and the inspector observe the document: they go before it does
    // (child widgets would otherwise outlive the members).
    delete inspectorDock_;
    delete takeCentralWidget();
}

void TfrDesignerForm::buildCentre()
{
    auto* centre = new QWidget;
    auto* layout = new QVBoxLayout(centre);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    tabs_ = new QTabBar;
    tabs_->setShape(QTabBar::RoundedSouth);
    connect(tabs_, &QTabBar::currentChanged, this, [this](int index) {
        if (index >= 0 && index != doc_.currentPageIndex()) doc_.showPage(index);
    });

    page_ = new TfrDesignerPage(doc_, mouse_);
    page_->keyHandler = [this](QKeyEvent* e) { return handleKey(e); };
    // The rulers follow the page wherever the scrolling area puts it.
    page_->installEventFilter(this);
    scroll_ = new QScrollArea;
    scroll_->setWidget(page_);
    scroll_->setAlignment(Qt::AlignCenter);
    scroll_->setBackgroundRole(QPalette::Mid);
    horizontalRuler_ = new DesignerRuler(Qt::Horizontal);
    verticalRuler_ = new DesignerRuler(Qt::Vertical);
    auto* grid = new QGridLayout;
    grid->setSpacing(0);
    grid->addWidget(new QWidget, 0, 0);
    grid->addWidget(horizontalRuler_, 0, 1);
    grid->addWidget(verticalRuler_, 1, 0);
    grid->addWidget(scroll_, 1, 1);
    layout->addLayout(grid, 1);
    layout->addWidget(tabs_);
    setCentralWidget(centre);

    connect(scroll_->horizontalScrollBar(), &QScrollBar::valueChanged, this, [this] { updateRulers(); });
    connect(scroll_->verticalScrollBar(), &QScrollBar::valueChanged, this, [this] { updateRulers(); });
    connect(page_, &TfrDesignerPage::popupMenuRequested, this, [this](QPoint at) {
        const std::vector<TfrView*> selected = doc_.selection();
        const bool stretchable = !selected.empty() && selected.back()->ObjectKind != kind::SubReport;
        stretchedItem_->setVisible(stretchable);
        stretchedSeparator_->setVisible(stretchable);
        if (stretchable) stretchedItem_->setChecked(selected.back()->IsStretched());
        popup_->popup(at);
    });
    connect(page_, &TfrDesignerPage::editRequested, this, &TfrDesignerForm::openEditor);
    connect(page_, &TfrDesignerPage::pageOptionsRequested, this, [this] {
        if (!doc_.isDialogPage()) showPageOptions();
    });
    connect(page_, &TfrDesignerPage::objectInserted, this, [this](TfrView*, bool openEditorNow) {
        if (toolActions_.count(mouse_.tool())) toolActions_[mouse_.tool()]->setChecked(true);
        page_->setCursor(Qt::ArrowCursor);
        if (openEditorNow) openEditor(false);
    });
}

QAction* TfrDesignerForm::makeAction(const QString& caption, const QKeySequence& shortcut, std::function<void()> run,
                                     const QString& hint)
{
    auto* a = new QAction(caption, this);
    if (!shortcut.isEmpty()) a->setShortcut(shortcut);
    if (!hint.isEmpty()) a->setToolTip(hint);
    connect(a, &QAction::triggered, this, [run = std::move(run)] { run(); });
    actions_[caption] = a;
    if (!hint.isEmpty()) actions_[hint] = a;
    return a;
}

QAction* TfrDesignerForm::action(const QString& name) const
{
    const auto it = actions_.find(name);
    return it == actions_.end() ? nullptr : it->second;
}

void TfrDesignerForm::buildMenus()
{
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    file->addAction(makeAction(QStringLiteral("&New..."), QKeySequence(Qt::CTRL | Qt::Key_N), [this] { doc_.newReport(); },
                               QStringLiteral("New report")));
    file->addAction(makeAction(QStringLiteral("&Open..."), QKeySequence(Qt::CTRL | Qt::Key_O), [this] { doc_.open(); },
                               QStringLiteral("Open report")));
    file->addAction(makeAction(QStringLiteral("&Save"), QKeySequence(Qt::CTRL | Qt::Key_S), [this] { doc_.save(); },
                               QStringLiteral("Save report")));
    file->addAction(makeAction(QStringLiteral("Save &as..."), {}, [this] { doc_.saveAs(); }));
    file->addSeparator();
    QAction* dictionary = makeAction(QStringLiteral("&Data dictionary..."), {}, [] {});
    dictionary->setEnabled(false);
    file->addAction(dictionary);
    QAction* reportOptions = makeAction(QStringLiteral("&Report options..."), {}, [] {});
    reportOptions->setEnabled(false);
    file->addAction(reportOptions);
    file->addAction(makeAction(QStringLiteral("&Page options..."), {}, [this] { showPageOptions(); },
                               QStringLiteral("Page options")));
    file->addAction(makeAction(QStringLiteral("Pre&view"), QKeySequence(Qt::CTRL | Qt::Key_P), [this] { preview(); },
                               QStringLiteral("Preview report")));
    file->addSeparator();
    file->addAction(makeAction(QStringLiteral("E&xit"), {}, [this] { close(); }));

    QMenu* edit = menuBar()->addMenu(QStringLiteral("&Edit"));
    edit->addAction(makeAction(QStringLiteral("&Undo"), QKeySequence(Qt::CTRL | Qt::Key_Z), [this] { doc_.undo(); },
                               QStringLiteral("Undo last action")));
    edit->addAction(makeAction(QStringLiteral("&Redo"), QKeySequence(Qt::CTRL | Qt::Key_Y), [this] { doc_.redo(); },
                               QStringLiteral("Redo cancelled action")));
    edit->addSeparator();
    edit->addAction(makeAction(QStringLiteral("C&ut"), QKeySequence(Qt::CTRL | Qt::Key_X), [this] { doc_.cutSelection(); },
                               QStringLiteral("Cut")));
    edit->addAction(makeAction(QStringLiteral("&Copy"), QKeySequence(Qt::CTRL | Qt::Key_C), [this] {
        doc_.copySelection();
        updateActions();
    }, QStringLiteral("Copy")));
    edit->addAction(makeAction(QStringLiteral("&Paste"), QKeySequence(Qt::CTRL | Qt::Key_V), [this] {
        const int left = scroll_->horizontalScrollBar()->value() - TfrDesignerPage::kBorder;
        const int top = scroll_->verticalScrollBar()->value() - TfrDesignerPage::kBorder;
        doc_.paste(std::max(0, left), std::max(0, top));
    }, QStringLiteral("Paste")));
    edit->addAction(makeAction(QStringLiteral("&Delete"), {}, [this] { doc_.deleteSelection(); }));
    edit->addAction(makeAction(QStringLiteral("&Select all"), QKeySequence(Qt::CTRL | Qt::Key_A), [this] { doc_.selectAll(); },
                               QStringLiteral("Select all")));
    edit->addAction(makeAction(QStringLiteral("&Edit..."), {}, [this] { openEditor(false); }));
    edit->addSeparator();
    edit->addAction(makeAction(QStringLiteral("&Add page"), {}, [this] { doc_.addPage(); }, QStringLiteral("Add page")));
    edit->addAction(makeAction(QStringLiteral("Add dialog &form"), {}, [this] { doc_.addDialogPage(); },
                               QStringLiteral("Add dialog form")));
    edit->addAction(makeAction(QStringLiteral("&Remove page"), {}, [this] { removePage(); }, QStringLiteral("Remove page")));
    edit->addSeparator();
    edit->addAction(makeAction(QStringLiteral("Bring to &front"), {}, [this] { doc_.bringToFront(); },
                               QStringLiteral("Bring to front")));
    edit->addAction(makeAction(QStringLiteral("Send to &back"), {}, [this] { doc_.sendToBack(); },
                               QStringLiteral("Send to back")));

    QMenu* tools = menuBar()->addMenu(QStringLiteral("&Tools"));
    QMenu* toolbars = tools->addMenu(QStringLiteral("&Toolbars"));
    toolbars->setObjectName(QStringLiteral("toolbarsMenu"));
    QMenu* extra = tools->addMenu(QStringLiteral("Too&ls"));
    extra->setEnabled(false);
    tools->addAction(makeAction(QStringLiteral("&Options..."), {}, [this] { showOptions(); }));

    QMenu* help = menuBar()->addMenu(QStringLiteral("?"));
    QAction* contents = makeAction(QStringLiteral("&Help contents"), QKeySequence(Qt::Key_F1), [] {});
    contents->setEnabled(false);
    help->addAction(contents);
    QAction* helpTool = makeAction(QStringLiteral("Help &tool"), QKeySequence(Qt::SHIFT | Qt::Key_F1), [] {});
    helpTool->setEnabled(false);
    help->addAction(helpTool);
    help->addAction(makeAction(QStringLiteral("&About..."), {}, [] {
        ui::services().message("Pemvora report designer", "About", ui::Icon::Information);
    }));

    popup_ = new QMenu(this);
    popup_->addAction(action(QStringLiteral("C&ut")));
    popup_->addAction(action(QStringLiteral("&Copy")));
    popup_->addAction(action(QStringLiteral("&Paste")));
    QAction* popupDelete = new QAction(QStringLiteral("&Delete"), popup_);
    popupDelete->setShortcut(QKeySequence(Qt::Key_Delete));
    popupDelete->setShortcutContext(Qt::WidgetShortcut);
    connect(popupDelete, &QAction::triggered, this, [this] { doc_.deleteSelection(); });
    popup_->addAction(popupDelete);
    QAction* popupAll = new QAction(QStringLiteral("Select &all"), popup_);
    connect(popupAll, &QAction::triggered, this, [this] { doc_.selectAll(); });
    popup_->addAction(popupAll);
    popup_->addAction(action(QStringLiteral("&Edit...")));
    stretchedSeparator_ = popup_->addSeparator();
    stretchedItem_ = popup_->addAction(QStringLiteral("Stretched"));
    stretchedItem_->setCheckable(true);
    connect(stretchedItem_, &QAction::triggered, this, [this](bool on) { doc_.setStretched(on); });
}

void TfrDesignerForm::chooseTool(DesignTool tool)
{
    const bool keep = QApplication::keyboardModifiers().testFlag(Qt::ShiftModifier);
    mouse_.setTool(tool, keep);
    page_->setFocus();
}

void TfrDesignerForm::buildToolbars()
{
    const auto bar = [this](const QString& title, const QString& name) {
        QToolBar* b = addToolBar(title);
        b->setObjectName(name);
        b->setIconSize(QSize(20, 20));
        if (QMenu* menu = menuBar()->findChild<QMenu*>(QStringLiteral("toolbarsMenu"))) {
            QAction* toggle = b->toggleViewAction();
            toggle->setText(title);
            menu->addAction(toggle);
        }
        return b;
    };
    const auto icon = [](const QString& letters) { return designerIcon(QString(), letters); };
    const auto style = [this](QStyle::StandardPixmap p) { return this->style()->standardIcon(p); };

    // The "&Toolbars" menu lists them in this order.
    rectangleBar_ = bar(QStringLiteral("&Rectangle"), QStringLiteral("RectangleBar"));
    standardBar_ = bar(QStringLiteral("&Standard"), QStringLiteral("StandardBar"));
    textBar_ = bar(QStringLiteral("&Text"), QStringLiteral("TextBar"));
    objectsBar_ = bar(QStringLiteral("&Objects"), QStringLiteral("ObjectsBar"));
    if (QMenu* menu = menuBar()->findChild<QMenu*>(QStringLiteral("toolbarsMenu"))) {
        QAction* inspectorToggle = makeAction(QStringLiteral("Object &Inspector"), QKeySequence(Qt::Key_F11), [this] {
            inspectorDock_->setVisible(!inspectorDock_->isVisible());
        });
        menu->addAction(inspectorToggle);
    }
    alignmentBar_ = bar(QStringLiteral("&Alignment palette"), QStringLiteral("AlignmentBar"));
    toolsBar_ = bar(QStringLiteral("Too&ls"), QStringLiteral("ToolsBar"));
    toolsBar_->hide();
    removeToolBar(objectsBar_);
    addToolBar(Qt::LeftToolBarArea, objectsBar_);
    objectsBar_->show();
    insertToolBarBreak(textBar_);

    // Standard
    const auto add = [](QToolBar* b, QAction* a, const QIcon& i) {
        a->setIcon(i);
        b->addAction(a);
    };
    add(standardBar_, action(QStringLiteral("New report")), style(QStyle::SP_FileIcon));
    add(standardBar_, action(QStringLiteral("Open report")), style(QStyle::SP_DialogOpenButton));
    add(standardBar_, action(QStringLiteral("Save report")), style(QStyle::SP_DialogSaveButton));
    add(standardBar_, action(QStringLiteral("Preview report")), icon(QStringLiteral("Pv")));
    standardBar_->addSeparator();
    add(standardBar_, action(QStringLiteral("Cut")), icon(QStringLiteral("Ct")));
    add(standardBar_, action(QStringLiteral("Copy")), icon(QStringLiteral("Cp")));
    add(standardBar_, action(QStringLiteral("Paste")), icon(QStringLiteral("Ps")));
    standardBar_->addSeparator();
    add(standardBar_, action(QStringLiteral("Undo last action")), style(QStyle::SP_ArrowBack));
    add(standardBar_, action(QStringLiteral("Redo cancelled action")), style(QStyle::SP_ArrowForward));
    standardBar_->addSeparator();
    add(standardBar_, action(QStringLiteral("Bring to front")), icon(QStringLiteral("Fr")));
    add(standardBar_, action(QStringLiteral("Send to back")), icon(QStringLiteral("Bk")));
    add(standardBar_, action(QStringLiteral("Select all")), icon(QStringLiteral("All")));
    standardBar_->addSeparator();
    add(standardBar_, action(QStringLiteral("Add page")), icon(QStringLiteral("+P")));
    add(standardBar_, action(QStringLiteral("Remove page")), icon(QStringLiteral("-P")));
    add(standardBar_, action(QStringLiteral("Page options")), icon(QStringLiteral("Pg")));
    add(standardBar_, action(QStringLiteral("Add dialog form")), icon(QStringLiteral("Dl")));
    standardBar_->addSeparator();
    QAction* gridShow = makeAction(QStringLiteral("Grid"), QKeySequence(Qt::CTRL | Qt::Key_G), [this] {
        doc_.grid().Show = !doc_.grid().Show;
        updateActions();
        page_->update();
    }, QStringLiteral("Grid"));
    gridShow->setCheckable(true);
    add(standardBar_, gridShow, icon(QStringLiteral("#")));
    QAction* gridAlign = makeAction(QStringLiteral("Grid align"), {}, [this] {
        doc_.grid().Align = !doc_.grid().Align;
        updateActions();
    }, QStringLiteral("Grid align"));
    gridAlign->setCheckable(true);
    add(standardBar_, gridAlign, icon(QStringLiteral("#+")));
    add(standardBar_, makeAction(QStringLiteral("Fit to grid"), {}, [this] { doc_.fitToGrid(); }, QStringLiteral("Fit to grid")),
        icon(QStringLiteral("Fit")));
    QAction* showHelp = makeAction(QStringLiteral("Show help"), {}, [] {}, QStringLiteral("Show help"));
    showHelp->setEnabled(false);
    add(standardBar_, showHelp, icon(QStringLiteral("?")));
    QAction* closeButton = makeAction(QStringLiteral("Close"), {}, [this] { close(); }, QStringLiteral("Close designer"));
    standardBar_->addAction(closeButton);

    buildTextToolbar();
    buildRectangleToolbar();

    // Objects
    toolGroup_ = new QActionGroup(this);
    const auto tool = [&](DesignTool t, const QString& hint, const QString& letters) {
        QAction* a = makeAction(hint, {}, [this, t] { chooseTool(t); }, hint);
        a->setCheckable(true);
        a->setIcon(icon(letters));
        toolGroup_->addAction(a);
        objectsBar_->addAction(a);
        toolActions_[t] = a;
    };
    tool(DesignTool::Select, QStringLiteral("Select object"), QStringLiteral("\u2196"));
    tool(DesignTool::Text, QStringLiteral("Insert rectangle object"), QStringLiteral("T"));
    tool(DesignTool::Band, QStringLiteral("Insert band"), QStringLiteral("Bd"));
    tool(DesignTool::Picture, QStringLiteral("Insert picture"), QStringLiteral("Pic"));
    tool(DesignTool::SubReport, QStringLiteral("Insert subreport"), QStringLiteral("Sub"));
    tool(DesignTool::Line, QStringLiteral("Draw lines"), QStringLiteral("/"));
    toolActions_[DesignTool::Select]->setChecked(true);

    // Alignment palette
    const auto align = [&](Alignment how, const QString& hint, const QString& letters) {
        alignmentBar_->addAction(makeAction(hint, {}, [this, how] { doc_.align(how); }, hint));
        action(hint)->setIcon(icon(letters));
    };
    align(Alignment::LeftEdges, QStringLiteral("Align left edges"), QStringLiteral("|<"));
    align(Alignment::HorizontalCenters, QStringLiteral("Align horizontal centers"), QStringLiteral("|c"));
    align(Alignment::CenterInWindowHorizontally, QStringLiteral("Center horizontally in window"), QStringLiteral("<>"));
    align(Alignment::SpaceEquallyHorizontally, QStringLiteral("Space equally, horizontally"), QStringLiteral("=h"));
    align(Alignment::RightEdges, QStringLiteral("Align right edges"), QStringLiteral(">|"));
    align(Alignment::Tops, QStringLiteral("Align tops"), QStringLiteral("^"));
    align(Alignment::VerticalCenters, QStringLiteral("Align vertical centers"), QStringLiteral("-c"));
    align(Alignment::CenterInWindowVertically, QStringLiteral("Center vertically in window"), QStringLiteral("^v"));
    align(Alignment::SpaceEquallyVertically, QStringLiteral("Space equally, vertically"), QStringLiteral("=v"));
    align(Alignment::Bottoms, QStringLiteral("Align bottoms"), QStringLiteral("_"));
}

void TfrDesignerForm::buildTextToolbar()
{
    using namespace toolbaraction;
    const auto button = [this](int code, const QString& hint, const QIcon& icon, bool checkable) {
        QAction* a = makeAction(hint, {}, [] {}, hint);
        a->setIcon(icon);
        a->setCheckable(checkable);
        connect(a, &QAction::triggered, this, [this, code, a] { runToolbarAction(code, a->isChecked()); });
        textBar_->addAction(a);
        textActions_[code] = a;
        return a;
    };
    auto* horizontal = new QActionGroup(this);
    horizontal->addAction(button(AlignLeft, QStringLiteral("Left align"), designerIcon("text-left"), true));
    horizontal->addAction(button(AlignRight, QStringLiteral("Right align"), designerIcon("text-right"), true));
    horizontal->addAction(button(AlignCenter, QStringLiteral("Center align"), designerIcon("text-center"), true));
    button(Rotate, QStringLiteral("Normal text / 90 degrees"), designerIcon(QString(), QStringLiteral("90")), true);
    // The vertical group: one code, the value by the button that is down.
    auto* vertical = new QActionGroup(this);
    const auto verticalButton = [&](const QString& hint, const QString& iconName, int bits) {
        QAction* a = makeAction(hint, {}, [this, bits] { runToolbarAction(VerticalAlign, bits); }, hint);
        a->setIcon(designerIcon(iconName));
        a->setCheckable(true);
        vertical->addAction(a);
        textBar_->addAction(a);
        return a;
    };
    verticalButton(QStringLiteral("Vertical center"), QStringLiteral("text-middle"), int(textalign::Middle));
    verticalButton(QStringLiteral("Top align"), QStringLiteral("text-top"), 0);
    verticalButton(QStringLiteral("Bottom align"), QStringLiteral("text-bottom"), int(textalign::Bottom));
    horizontal->addAction(button(AlignJustify, QStringLiteral("Width align"), designerIcon("text-justify"), true));
    textBar_->addSeparator();
    button(Bold, QStringLiteral("Bold"), designerIcon(QString(), QStringLiteral("B")), true);
    button(Italic, QStringLiteral("Italic"), designerIcon(QString(), QStringLiteral("I")), true);
    button(Underline, QStringLiteral("Underline"), designerIcon(QString(), QStringLiteral("U")), true);
    QAction* fontColor = makeAction(QStringLiteral("Font color"), {}, [this] { chooseColor(FontColor, false); },
                                    QStringLiteral("Font color"));
    fontColor->setIcon(designerIcon(QString(), QStringLiteral("A")));
    textBar_->addAction(fontColor);
    QAction* highlight = makeAction(QStringLiteral("Conditional highlightning"), {}, [] {},
                                    QStringLiteral("Conditional highlightning"));
    highlight->setIcon(designerIcon(QString(), QStringLiteral("Hl")));
    highlight->setEnabled(false);
    textBar_->addAction(highlight);

    fontSize_ = new QComboBox;
    fontSize_->setEditable(true);
    fontSize_->setToolTip(QStringLiteral("Font size"));
    for (int s : {5, 6, 7, 8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 26, 28, 36, 48, 72})
        fontSize_->addItem(QString::number(s));
    fontSize_->setMaximumWidth(60);
    const auto applySize = [this] {
        bool ok = false;
        const int size = fontSize_->currentText().trimmed().toInt(&ok);
        if (ok && size > 0 && size < 1000) runToolbarAction(FontSize, size);
    };
    connect(fontSize_, &QComboBox::activated, this, applySize);
    connect(fontSize_->lineEdit(), &QLineEdit::returnPressed, this, applySize);
    textBar_->addWidget(fontSize_);

    fontName_ = new QFontComboBox;
    fontName_->setToolTip(QStringLiteral("Font name"));
    fontName_->setMaximumWidth(180);
    connect(fontName_, &QFontComboBox::activated, this, [this] {
        std::string gbk;
        if (text::tryUtf8ToGbk(fontName_->currentText().toStdString(), gbk)) runToolbarAction(FontName, gbk);
    });
    textBar_->addWidget(fontName_);
}

void TfrDesignerForm::buildRectangleToolbar()
{
    using namespace toolbaraction;
    const auto frameButton = [this](int code, const QString& hint, const QString& iconName, bool checkable) {
        QAction* a = makeAction(hint, {}, [] {}, hint);
        a->setIcon(designerIcon(iconName));
        a->setCheckable(checkable);
        connect(a, &QAction::triggered, this, [this, code, a] {
            runToolbarAction(code, a->isChecked());
            if (code == AllFrames || code == NoFrame) updateActions();
        });
        rectangleBar_->addAction(a);
        textActions_[code] = a;
    };
    frameButton(TopFrame, QStringLiteral("Top frame line"), QStringLiteral("frame-top"), true);
    frameButton(LeftFrame, QStringLiteral("Left frame line"), QStringLiteral("frame-left"), true);
    frameButton(BottomFrame, QStringLiteral("Bottom frame line"), QStringLiteral("frame-bottom"), true);
    frameButton(RightFrame, QStringLiteral("Right frame line"), QStringLiteral("frame-right"), true);
    rectangleBar_->addSeparator();
    frameButton(AllFrames, QStringLiteral("All frame lines"), QStringLiteral("frame-all"), false);
    frameButton(NoFrame, QStringLiteral("No frame"), QStringLiteral("frame-none"), false);
    rectangleBar_->addSeparator();
    QAction* fill = makeAction(QStringLiteral("Background color"), {}, [this] { chooseColor(FillColor, true); },
                               QStringLiteral("Background color"));
    fill->setIcon(designerIcon(QString(), QStringLiteral("Bg")));
    rectangleBar_->addAction(fill);
    QAction* frameColor = makeAction(QStringLiteral("Frame color"), {}, [this] { chooseColor(FrameColor, false); },
                                     QStringLiteral("Frame color"));
    frameColor->setIcon(designerIcon(QString(), QStringLiteral("Fc")));
    rectangleBar_->addAction(frameColor);

    frameWidth_ = new QComboBox;
    frameWidth_->setEditable(true);
    frameWidth_->setToolTip(QStringLiteral("Frame width"));
    frameWidth_->addItems({"0,1", "0,5", "1", "1,5", "2", "3", "4", "5", "6", "7", "8", "9", "10"});
    frameWidth_->setMaximumWidth(60);
    const auto applyWidth = [this] {
        QString t = frameWidth_->currentText().trimmed();
        t.replace(',', '.');
        bool ok = false;
        const double w = t.toDouble(&ok);
        if (ok && w >= 0 && w <= 100) runToolbarAction(FrameWidth, w);
    };
    connect(frameWidth_, &QComboBox::activated, this, applyWidth);
    connect(frameWidth_->lineEdit(), &QLineEdit::returnPressed, this, applyWidth);
    rectangleBar_->addWidget(frameWidth_);

    auto* styleButton = new QToolButton;
    styleButton->setToolTip(QStringLiteral("Line style"));
    styleButton->setIcon(designerIcon(QString(), QStringLiteral("---")));
    styleButton->setPopupMode(QToolButton::InstantPopup);
    auto* styles = new QMenu(styleButton);
    const char* names[] = {"Solid", "Dash", "Dot", "Dash dot", "Dash dot dot", "Double"};
    for (int i = 0; i < 6; ++i)
        connect(styles->addAction(QString::fromLatin1(names[i])), &QAction::triggered, this,
                [this, i] { runToolbarAction(LineStyleFirst + i, Value()); });
    styleButton->setMenu(styles);
    rectangleBar_->addWidget(styleButton);
}

// ---------------------------------------------------------------- commands

void TfrDesignerForm::runToolbarAction(int code, const Value& value)
{
    doc_.applyToolbarAction(code, value);
    page_->setFocus();
}

void TfrDesignerForm::chooseColor(int code, bool offerNone)
{
    if (offerNone) {
        QMenu menu(this);
        QAction* none = menu.addAction(QStringLiteral("No color"));
        QAction* other = menu.addAction(QStringLiteral("Other color..."));
        QAction* chosen = menu.exec(QCursor::pos());
        if (chosen == none) {
            runToolbarAction(code, colorValue(kNoColor));
            return;
        }
        if (chosen != other) return;
    }
    const QColor c = QColorDialog::getColor(Qt::black, this, QStringLiteral("Color"));
    if (c.isValid()) runToolbarAction(code, colorValue(colorOf(c)));
}

void TfrDesignerForm::removePage()
{
    if (doc_.pageCount() <= 1) return;
    if (ui::services().question("Remove this page?", "Confirm", ui::Buttons::YesNo) == ui::Answer::Yes)
        doc_.removeCurrentPage();
}

void TfrDesignerForm::preview()
{
    // The button is off without a preview window; a key press may still come.
    if (!previewAvailable()) return;
    previewReport(report_);
    page_->update();
}

void TfrDesignerForm::showOptions()
{
    DesignerOptionsDialog dialog(doc_.grid(), doc_.options(), this);
    if (dialog.exec() != QDialog::Accepted) return;
    doc_.grid() = dialog.grid();
    doc_.options() = dialog.options();
    updateActions();
    updateStatus();
    updateRulers();
    page_->update();
}

void TfrDesignerForm::showPageOptions()
{
    if (doc_.isDialogPage()) return;
    PageOptionsDialog dialog(doc_, this);
    dialog.exec();
    page_->updatePageSize();
}

void TfrDesignerForm::editLines(TfrView& view, bool script)
{
    // The text editor holds both the lines and the script; each pane is
    // read-only where the object's restrictions say so.
    TextEditorWindow editor(doc_, view, this);
    if (script) editor.scriptBox()->setFocus();
    editor.exec();
}

void TfrDesignerForm::openEditor(bool textEditor)
{
    TfrView* view = doc_.singleSelected();
    if (!view) return;
    if (textEditor) {
        editLines(*view, false);
        return;
    }
    if (view->Restrictions & restrict::DontModify) return;
    if (auto* sub = dynamic_cast<TfrSubReportView*>(view)) {
        doc_.showPage(sub->SubPageIndex);
        return;
    }
    if (dynamic_cast<TfrMemoView*>(view)) editLines(*view, false);
    else if (dynamic_cast<TfrPictureView*>(view)) editProperty(PropertyEditor::Picture, QStringLiteral("Picture"));
}

void TfrDesignerForm::editProperty(PropertyEditor editor, const QString& name)
{
    TfrView* view = doc_.singleSelected();
    switch (editor) {
    case PropertyEditor::Memo:
        if (view) editLines(*view, false);
        break;
    case PropertyEditor::Script:
        if (view) {
            editLines(*view, true);
        } else {
            TextLinesDialog dialog(QStringLiteral("Script"), doc_.page().ScriptLines, this);
            if (dialog.exec() == QDialog::Accepted)
                if (const auto lines = dialog.lines()) doc_.setScript(nullptr, *lines);
        }
        break;
    case PropertyEditor::Tag:
        if (view) {
            TextLinesDialog dialog(QStringLiteral("Tag"), {view->Tag}, this);
            if (dialog.exec() == QDialog::Accepted)
                if (const auto lines = dialog.lines()) doc_.setProperty("Tag", joinLines(*lines));
        }
        break;
    case PropertyEditor::Restrictions:
        if (view) {
            RestrictionsDialog dialog(view->Restrictions, this);
            if (dialog.exec() == QDialog::Accepted) doc_.setRestrictions(*view, dialog.restrictions());
        }
        break;
    case PropertyEditor::Font: {
        const std::vector<TfrView*> selected = doc_.selection();
        auto* reference = selected.empty() ? nullptr : dynamic_cast<TfrMemoView*>(selected.back());
        if (!reference || (reference->Restrictions & restrict::DontEditContents)) break;
        QFont start(q(reference->Font.Name));
        start.setPointSize(reference->Font.Size);
        start.setBold(reference->Font.Style & fontstyle::Bold);
        start.setItalic(reference->Font.Style & fontstyle::Italic);
        start.setUnderline(reference->Font.Style & fontstyle::Underline);
        start.setStrikeOut(reference->Font.Style & fontstyle::StrikeOut);
        bool ok = false;
        const QFont chosen = QFontDialog::getFont(&ok, start, this, QStringLiteral("Font"));
        if (!ok) break;
        TfrFont result = reference->Font;
        std::string family;
        if (text::tryUtf8ToGbk(chosen.family().toStdString(), family)) result.Name = family;
        result.Size = chosen.pointSize() > 0 ? chosen.pointSize() : result.Size;
        result.Style = (chosen.bold() ? fontstyle::Bold : 0) | (chosen.italic() ? fontstyle::Italic : 0)
            | (chosen.underline() ? fontstyle::Underline : 0) | (chosen.strikeOut() ? fontstyle::StrikeOut : 0);
        doc_.applyFontChange(reference->Font, result);
        break;
    }
    case PropertyEditor::Picture:
        if (auto* picture = dynamic_cast<TfrPictureView*>(view)) {
            const QString file = QFileDialog::getOpenFileName(
                this, QStringLiteral("Picture"), {}, QStringLiteral("Pictures (*.bmp *.jpg *.jpeg *.ico *.wmf *.emf)"));
            if (file.isEmpty()) break;
            try {
                TfrPictureView loaded;
                loaded.LoadFromFile(text::fromQString(file));
                doc_.setPicture(*picture, loaded.Picture);
            } catch (const std::exception& failure) {
                ui::services().message(failure.what(), "Error", ui::Icon::Error);
            }
        }
        break;
    default: break;
    }
    (void)name;
    page_->setFocus();
}

// ---------------------------------------------------------------- keys

bool TfrDesignerForm::handleKey(QKeyEvent* e)
{
    const Qt::KeyboardModifiers m = e->modifiers();
    const bool ctrl = m.testFlag(Qt::ControlModifier);
    const bool shift = m.testFlag(Qt::ShiftModifier);
    const bool alt = m.testFlag(Qt::AltModifier);
    const int key = e->key();

    if (key == Qt::Key_Escape) {
        mouse_.cancel();
        toolActions_[DesignTool::Select]->setChecked(true);
        return true;
    }
    if (key == Qt::Key_Delete && shift) return doc_.cutSelection(), true;
    if (key == Qt::Key_Delete) return doc_.deleteSelection(), true;
    if (key == Qt::Key_Insert && ctrl) return doc_.copySelection(), updateActions(), true;
    if (key == Qt::Key_Insert && shift) {
        action(QStringLiteral("Paste"))->trigger();
        return true;
    }
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        openEditor(ctrl);
        return true;
    }
    if (ctrl && key >= Qt::Key_1 && key <= Qt::Key_9) {
        doc_.applyToolbarAction(toolbaraction::FrameWidth, double(key - Qt::Key_0));
        return true;
    }
    if (ctrl && key == Qt::Key_F) return doc_.applyToolbarAction(toolbaraction::AllFrames, true), true;
    if (ctrl && key == Qt::Key_D) return doc_.applyToolbarAction(toolbaraction::NoFrame, true), true;
    if (ctrl && (key == Qt::Key_B || key == Qt::Key_I || key == Qt::Key_U)) {
        const int code = key == Qt::Key_B ? toolbaraction::Bold : key == Qt::Key_I ? toolbaraction::Italic
                                                                                  : toolbaraction::Underline;
        const int bit = key == Qt::Key_B ? fontstyle::Bold : key == Qt::Key_I ? fontstyle::Italic : fontstyle::Underline;
        const std::vector<TfrView*> selected = doc_.selection();
        TfrMemoView* last = nullptr;
        for (TfrView* v : selected)
            if (auto* memo = dynamic_cast<TfrMemoView*>(v)) last = memo;
        if (last) doc_.applyToolbarAction(code, (last->Font.Style & bit) == 0);
        return true;
    }
    if (key == Qt::Key_PageUp || key == Qt::Key_PageDown) {
        QScrollBar* bar = scroll_->verticalScrollBar();
        bar->setValue(bar->value() + (key == Qt::Key_PageUp ? -200 : 200));
        return true;
    }
    Direction d;
    switch (key) {
    case Qt::Key_Left: d = Direction::Left; break;
    case Qt::Key_Right: d = Direction::Right; break;
    case Qt::Key_Up: d = Direction::Up; break;
    case Qt::Key_Down: d = Direction::Down; break;
    default: return false;
    }
    const int dx = d == Direction::Left ? -1 : d == Direction::Right ? 1 : 0;
    const int dy = d == Direction::Up ? -1 : d == Direction::Down ? 1 : 0;
    if (ctrl) doc_.moveSelection(dx, dy);
    else if (shift) doc_.resizeSelection(dx, dy);
    else if (alt) doc_.moveToTouch(d);
    else doc_.selectNearest(d);
    return true;
}

// ---------------------------------------------------------------- views

void TfrDesignerForm::pageChanged()
{
    updateStatus();
    updateActions();
}

void TfrDesignerForm::selectionChanged()
{
    updateStatus();
    updateActions();
}

void TfrDesignerForm::documentChanged()
{
    updateTabs();
    updateCaption();
    updateActions();
    page_->updatePageSize();
    updateRulers();
}

void TfrDesignerForm::updateCaption()
{
    setWindowTitle(q(doc_.caption()));
}

void TfrDesignerForm::updateTabs()
{
    const QSignalBlocker block(tabs_);
    while (tabs_->count() > doc_.pageCount()) tabs_->removeTab(tabs_->count() - 1);
    for (int i = 0; i < doc_.pageCount(); ++i) {
        const std::string& name = report_.Pages.Items(i).Name;
        const QString title = name.empty() ? QStringLiteral("Page%1").arg(i + 1) : q(name);
        if (i < tabs_->count()) tabs_->setTabText(i, title);
        else tabs_->addTab(title);
    }
    tabs_->setCurrentIndex(doc_.currentPageIndex());
}

void TfrDesignerForm::updateStatus()
{
    const int units = doc_.options().Units;
    unitsPanel_->setText(unitsName(units));
    if (const TfrView* v = doc_.singleSelected()) {
        positionPanel_->setText(inUnits(v->Left, units) + QStringLiteral("; ") + inUnits(v->Top, units));
        sizePanel_->setText(inUnits(v->Width, units) + QStringLiteral(" x ") + inUnits(v->Height, units));
    } else {
        positionPanel_->clear();
        sizePanel_->clear();
    }
}

void TfrDesignerForm::updateRulers()
{
    const QPoint origin = page_->mapToGlobal(page_->pageOrigin());
    horizontalRuler_->setUnits(doc_.options().Units);
    verticalRuler_->setUnits(doc_.options().Units);
    horizontalRuler_->setOrigin(horizontalRuler_->mapFromGlobal(origin).x());
    verticalRuler_->setOrigin(verticalRuler_->mapFromGlobal(origin).y());
}

void TfrDesignerForm::updateActions()
{
    const std::vector<TfrView*> selected = doc_.selection();
    const bool any = !selected.empty();
    bool texts = false, framed = false;
    TfrMemoView* lastText = nullptr;
    TfrView* lastFramed = nullptr;
    for (TfrView* v : selected) {
        if (v->ObjectKind == kind::Band) continue;
        framed = true;
        lastFramed = v;
        if (auto* memo = dynamic_cast<TfrMemoView*>(v)) {
            texts = true;
            lastText = memo;
        }
    }
    const auto enable = [this](const QString& name, bool on) {
        if (QAction* a = action(name)) a->setEnabled(on);
    };
    enable(QStringLiteral("Cut"), any);
    enable(QStringLiteral("Copy"), any);
    enable(QStringLiteral("&Delete"), any);
    enable(QStringLiteral("Paste"), !designerSession().Clipboard.empty());
    enable(QStringLiteral("Undo last action"), doc_.canUndo());
    enable(QStringLiteral("Redo cancelled action"), doc_.canRedo());
    enable(QStringLiteral("Bring to front"), any);
    enable(QStringLiteral("Send to back"), any);
    enable(QStringLiteral("Remove page"), doc_.pageCount() > 1);
    enable(QStringLiteral("Fit to grid"), any);
    enable(QStringLiteral("&Edit..."), selected.size() == 1);
    enable(QStringLiteral("Page options"), !doc_.isDialogPage());
    // A program without the preview window cannot show a report: say why.
    if (QAction* a = action(QStringLiteral("Preview report"))) {
        const bool canPreview = previewAvailable();
        a->setEnabled(canPreview);
        a->setToolTip(canPreview ? QStringLiteral("Preview report")
                                 : QStringLiteral("Preview report (not available: this program has no preview window)"));
    }
    for (const char* name : {"Align left edges", "Align horizontal centers", "Space equally, horizontally",
                             "Align right edges", "Align tops", "Align vertical centers", "Space equally, vertically",
                             "Align bottoms"})
        enable(QString::fromLatin1(name), selected.size() >= 2);
    enable(QStringLiteral("Center horizontally in window"), any);
    enable(QStringLiteral("Center vertically in window"), any);
    for (QAction* a : textBar_->actions())
        if (a->toolTip() != QStringLiteral("Conditional highlightning")) a->setEnabled(texts);
    fontName_->setEnabled(texts);
    fontSize_->setEnabled(texts);
    for (QAction* a : rectangleBar_->actions()) a->setEnabled(framed);
    frameWidth_->setEnabled(framed);
    if (QAction* a = action(QStringLiteral("Grid"))) a->setChecked(doc_.grid().Show);
    if (QAction* a = action(QStringLiteral("Grid align"))) a->setChecked(doc_.grid().Align);

    // The buttons show the state of the last selected object.
    using namespace toolbaraction;
    if (lastText) {
        const TfrFont& f = lastText->Font;
        textActions_[Bold]->setChecked(f.Style & fontstyle::Bold);
        textActions_[Italic]->setChecked(f.Style & fontstyle::Italic);
        textActions_[Underline]->setChecked(f.Style & fontstyle::Underline);
        const std::uint32_t h = lastText->Alignment & textalign::HorizontalMask;
        textActions_[AlignLeft]->setChecked(h == textalign::Left);
        textActions_[AlignRight]->setChecked(h == textalign::Right);
        textActions_[AlignCenter]->setChecked(h == textalign::Center);
        textActions_[AlignJustify]->setChecked(h == textalign::Justify);
        textActions_[Rotate]->setChecked(lastText->Alignment & textalign::Rotated);
        const std::uint32_t v = lastText->Alignment & textalign::VerticalMask;
        if (QAction* a = action(v == textalign::Middle ? QStringLiteral("Vertical center")
                                : v == textalign::Bottom ? QStringLiteral("Bottom align") : QStringLiteral("Top align")))
            a->setChecked(true);
        const QSignalBlocker b1(fontName_), b2(fontSize_);
        fontName_->setCurrentFont(QFont(q(f.Name)));
        fontSize_->setEditText(QString::number(f.Size));
    }
    if (lastFramed) {
        textActions_[TopFrame]->setChecked(lastFramed->FrameTyp & frame::Top);
        textActions_[LeftFrame]->setChecked(lastFramed->FrameTyp & frame::Left);
        textActions_[BottomFrame]->setChecked(lastFramed->FrameTyp & frame::Bottom);
        textActions_[RightFrame]->setChecked(lastFramed->FrameTyp & frame::Right);
        const QSignalBlocker b(frameWidth_);
        frameWidth_->setEditText(QString::number(double(lastFramed->FrameWidth)).replace('.', ','));
    }

    // Hidden instead of grey, unless the component says otherwise.
    const bool hide = component_ ? component_->HideDisabledButtons : false;
    for (QToolBar* bar : {standardBar_, textBar_, rectangleBar_, alignmentBar_})
        for (QAction* a : bar->actions())
            if (QWidget* w = bar->widgetForAction(a)) w->setVisible(!hide || a->isEnabled() || a->isSeparator());
    updateCaption();
}

// ---------------------------------------------------------------- window

void TfrDesignerForm::showDesigner()
{
    if (QScreen* s = screen()) setGeometry(s->availableGeometry());
    showMaximized();
}

ModalResult TfrDesignerForm::execModal()
{
    setWindowModality(Qt::ApplicationModal);
    setAttribute(Qt::WA_DeleteOnClose, false);
    showDesigner();
    QEventLoop loop;
    connect(this, &TfrDesignerForm::closed, &loop, &QEventLoop::quit);
    loop.exec();
    return result_;
}

void TfrDesignerForm::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    QTimer::singleShot(0, this, [this] { updateRulers(); });
    page_->setFocus();
    if (!shownOnce_) {
        shownOnce_ = true;
        if (component_ && component_->OnShow) component_->OnShow();
    }
}

bool TfrDesignerForm::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == page_ && (event->type() == QEvent::Move || event->type() == QEvent::Resize)) updateRulers();
    return QMainWindow::eventFilter(watched, event);
}

void TfrDesignerForm::closeEvent(QCloseEvent* event)
{
    mouse_.cancel();
    ModalResult result{};
    if (!doc_.mayClose(result)) {
        event->ignore();
        return;
    }
    result_ = result;
    writeSettings();
    event->accept();
    emit closed();
}

void TfrDesignerForm::writeSettings()
{
    DesignerWindowSettings s;
    s.Grid = doc_.grid();
    s.Options = doc_.options();
    s.InspectorVisible = inspectorDock_ && inspectorDock_->isVisibleTo(this);
    s.WindowState = saveState();
    writeDesignerSettings(s);
}

} // namespace pemvora::report
