#pragma once
// The object inspector: the registered properties of the selected objects
// (those every selected object has; single-selection ones only for one), or
// of the page when nothing is selected, with their values, edited in place
// through the document's commands. Lengths show in the designer's units.

#include "report/designer/designer_document.h"

#include <QTableWidget>

namespace pemvora::report {

class ObjectInspector : public QTableWidget, public DocumentObserver {
    Q_OBJECT
public:
    ObjectInspector(DesignerDocument& document, QWidget* parent = nullptr);
    ~ObjectInspector() override;

    void pageChanged() override { scheduleRefresh(); }
    void selectionChanged() override { scheduleRefresh(); }
    void documentChanged() override { scheduleRefresh(); }

    // Rebuilds the rows now.
    void refresh();
    // The row of a property, or -1.
    int rowOf(const QString& name) const;

signals:
    // A property with an editor of its own ("..." pressed).
    void editorRequested(PropertyEditor editor, QString propertyName);

private:
    void scheduleRefresh();
    void commit(int row, const QString& text);
    void commitValue(const std::string& name, const Value& value);
    TfrObject* subject() const;

    DesignerDocument& doc_;
    bool refreshPending_ = false;
    bool filling_ = false;
};

} // namespace pemvora::report
