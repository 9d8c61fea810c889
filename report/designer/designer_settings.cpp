#include "report/designer/designer_settings.h"

#include <QCoreApplication>
#include <QSettings>

#include <algorithm>

namespace pemvora::report {

namespace {

constexpr const char* kFormSection = "Form/TfrDesignerForm";
constexpr const char* kInspectorSection = "Form/TfrInspForm";


} // namespace

QString settingsApplicationTitle()
{
    const QString name = QCoreApplication::applicationName();
    return name.isEmpty() ? QStringLiteral("Pemvora") : name;
}

DesignerWindowSettings readDesignerSettings()
{
    QSettings store(QStringLiteral("Vorlentrix"), settingsApplicationTitle());
    DesignerWindowSettings s;
    store.beginGroup(kFormSection);
    s.Grid.Show = store.value("GridShow", true).toBool();
    s.Grid.Align = store.value("GridAlign", true).toBool();
    const int size = store.value("GridSize", 4).toInt();
    s.Grid.Size = (size >= 2 && size <= 100) ? size : 4;
    s.Options.Units = std::clamp(store.value("Units", 0).toInt(), 0, 2);
    s.Options.GrayButtons = store.value("GrayButtons", false).toBool();
    s.Options.EditAfterInsert = store.value("EditAfterInsert", true).toBool();
    s.Options.Selection = store.value("Selection", 1).toInt();
    s.Options.PagePosition = store.value("PagePosition", 5).toInt();
    s.Options.BandTitles = store.value("BandTitles", true).toBool();
    s.Options.LocalizedPropNames = store.value("LocalizedPropNames", false).toBool();
    s.Options.UnlimitedHeight = store.value("UnlimitedHeight", false).toBool();
    s.Options.DisableUndo = store.value("DisableUndo", false).toBool();
    s.Options.SyntaxHighlight = store.value("SyntaxHighlight", true).toBool();
    s.WindowState = store.value("WindowState").toByteArray();
    store.endGroup();
    store.beginGroup(kInspectorSection);
    s.InspectorVisible = store.value("isVisible", true).toBool();
    s.InspectorSplitPos = store.value("SplitPos", 75).toInt();
    store.endGroup();
    return s;
}

void writeDesignerSettings(const DesignerWindowSettings& s)
{
    QSettings store(QStringLiteral("Vorlentrix"), settingsApplicationTitle());
    store.beginGroup(kFormSection);
    store.setValue("GridShow", s.Grid.Show);
    store.setValue("GridAlign", s.Grid.Align);
    store.setValue("GridSize", s.Grid.Size);
    store.setValue("Units", s.Options.Units);
    store.setValue("GrayButtons", s.Options.GrayButtons);
    store.setValue("EditAfterInsert", s.Options.EditAfterInsert);
    store.setValue("Selection", s.Options.Selection);
    store.setValue("PagePosition", s.Options.PagePosition);
    store.setValue("BandTitles", s.Options.BandTitles);
    store.setValue("LocalizedPropNames", s.Options.LocalizedPropNames);
    store.setValue("UnlimitedHeight", s.Options.UnlimitedHeight);
    store.setValue("DisableUndo", s.Options.DisableUndo);
    store.setValue("SyntaxHighlight", s.Options.SyntaxHighlight);
    store.setValue("WindowState", s.WindowState);
    store.endGroup();
    store.beginGroup(kInspectorSection);
    store.setValue("isVisible", s.InspectorVisible);
    store.setValue("SplitPos", s.InspectorSplitPos);
    store.endGroup();
}

} // namespace pemvora::report
