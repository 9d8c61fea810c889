#pragma once
// The designer window's settings, kept per user under "Vorlentrix" and the
// application's title, in the section "Form/TfrDesignerForm" (the object
// inspector and the toolbars in sections of their own).

#include "report/designer/designer_document.h"

#include <QByteArray>
#include <QString>

namespace pemvora::report {

struct DesignerWindowSettings {
    GridSettings Grid;
    DesignerOptions Options;
    bool InspectorVisible = true;
    int InspectorSplitPos = 75;
    QByteArray WindowState;   // toolbars and docked windows
};

// The application's title: what the settings are kept under ("Pemvora" when
// the application has no name).
QString settingsApplicationTitle();
DesignerWindowSettings readDesignerSettings();
void writeDesignerSettings(const DesignerWindowSettings& settings);

} // namespace pemvora::report
