#pragma once
// TfrDesignerForm: the designer window. Menus, toolbars, the page tabs, the
// rulers, the page in a scrolling area, the status bar and the object
// inspector around a DesignerDocument; every menu item, button and key ends
// in one of the document's commands.

#include "report/designer/designer_document.h"
#include "report/designer/page_interaction.h"

#include <QMainWindow>

#include <map>
#include <memory>

class QAction;
class QActionGroup;
class QComboBox;
class QDockWidget;
class QFontComboBox;
class QLabel;
class QMenu;
class QScrollArea;
class QTabBar;
class QToolBar;

namespace pemvora::report {

class TfrDesigner;
class TfrDesignerPage;
class ObjectInspector;
class DesignerRuler;

class TfrDesignerForm : public QMainWindow, public DocumentObserver {
    Q_OBJECT
public:
    // `component` gives the settings and events of the designer component (may be nullptr).
    TfrDesignerForm(TfrReport& report, TfrDesigner* component = nullptr, QWidget* parent = nullptr);
    ~TfrDesignerForm() override;

    DesignerDocument& document() { return doc_; }
    PageInteraction& interaction() { return mouse_; }
    TfrDesignerPage* pageWidget() const { return page_; }
    ObjectInspector* inspector() const { return inspector_; }
    // A menu or toolbar action by its caption or hint ("&Save", "Bring to front").
    QAction* action(const QString& name) const;

    // Shows the window over the whole screen (also where no window manager
    // maximises it).
    void showDesigner();
    // Shows the window maximised and modal, and returns when it closes.
    ModalResult execModal();
    ModalResult result() const { return result_; }

    void pageChanged() override;
    void selectionChanged() override;
    void documentChanged() override;

    // The editor of the single selected object (Enter; Ctrl+Enter: the text editor).
    void openEditor(bool textEditor);
    void showPageOptions();

signals:
    // The window closed (the close question, if any, was answered to go on).
    void closed();

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QAction* makeAction(const QString& caption, const QKeySequence& shortcut, std::function<void()> run,
                        const QString& hint = {});
    void buildMenus();
    void buildToolbars();
    void buildTextToolbar();
    void buildRectangleToolbar();
    void buildCentre();
    bool handleKey(QKeyEvent* event);
    void runToolbarAction(int code, const Value& value);
    void chooseColor(int code, bool offerNone);
    void updateActions();
    void updateCaption();
    void updateTabs();
    void updateStatus();
    void updateRulers();
    void editProperty(PropertyEditor editor, const QString& name);
    void editLines(TfrView& view, bool script);
    void chooseTool(DesignTool tool);
    void removePage();
    void preview();
    void showOptions();
    void writeSettings();

    TfrReport& report_;
    TfrDesigner* component_;
    DesignerDocument doc_;
    PageInteraction mouse_;
    std::unique_ptr<DesignerFileDialogs> fileDialogs_;
    ModalResult result_ = ModalResult::Cancel;
    bool shownOnce_ = false;

    TfrDesignerPage* page_ = nullptr;
    QScrollArea* scroll_ = nullptr;
    QTabBar* tabs_ = nullptr;
    DesignerRuler* horizontalRuler_ = nullptr;
    DesignerRuler* verticalRuler_ = nullptr;
    ObjectInspector* inspector_ = nullptr;
    QDockWidget* inspectorDock_ = nullptr;
    QLabel* unitsPanel_ = nullptr;
    QLabel* positionPanel_ = nullptr;
    QLabel* sizePanel_ = nullptr;
    QMenu* popup_ = nullptr;
    QAction* stretchedSeparator_ = nullptr;
    QAction* stretchedItem_ = nullptr;

    std::map<QString, QAction*> actions_;
    std::map<int, QAction*> textActions_;    // by toolbar action code
    QActionGroup* toolGroup_ = nullptr;
    std::map<DesignTool, QAction*> toolActions_;
    QToolBar* standardBar_ = nullptr;
    QToolBar* textBar_ = nullptr;
    QToolBar* rectangleBar_ = nullptr;
    QToolBar* objectsBar_ = nullptr;
    QToolBar* alignmentBar_ = nullptr;
    QToolBar* toolsBar_ = nullptr;
    QFontComboBox* fontName_ = nullptr;
    QComboBox* fontSize_ = nullptr;
    QComboBox* frameWidth_ = nullptr;
};

} // namespace pemvora::report
