#pragma once
// The designer's toolbar pictures, drawn at start: letters, frame lines,
// text alignment and the alignment palette's arrangements.

#include <QIcon>
#include <QString>

namespace pemvora::report {

// By name: "frame-top", "frame-left", "frame-bottom", "frame-right",
// "frame-all", "frame-none", "text-left", "text-right", "text-center",
// "text-justify", "text-top", "text-middle", "text-bottom", "align-...";
// any other name is drawn as the given letters.
QIcon designerIcon(const QString& name, const QString& letters = {});

} // namespace pemvora::report
