#include "report/designer/object_inspector.h"

#include "platform/text/gbk.h"
#include "platform/ui/uiservices.h"
#include "platform/value/numbertext.h"
#include "report/designer/designer_geometry.h"

#include <QColorDialog>
#include <QComboBox>
#include <QHeaderView>
#include <QPushButton>
#include <QTimer>

#include <fmt/format.h>

namespace pemvora::report {

namespace {

QString q(std::string_view gbk) { return text::toQString(gbk); }

bool has(std::uint16_t bits, std::uint16_t bit) { return (bits & bit) != 0; }

QString colorText(Color c)
{
    if (c == kNoColor) return QStringLiteral("clNone");
    return QString::fromStdString(fmt::format("${:08X}", c));
}

std::optional<Color> parseColor(QString t)
{
    t = t.trimmed();
    if (t.compare(QStringLiteral("clNone"), Qt::CaseInsensitive) == 0) return kNoColor;
    if (t.startsWith('$')) t = "0x" + t.mid(1);
    bool ok = false;
    const qulonglong v = t.toULongLong(&ok, 0);
    if (!ok || v > 0xFFFFFFFFull) return std::nullopt;
    return static_cast<Color>(v);
}

// The editors the designer has; properties with another editor show their value only.
bool editorAvailable(PropertyEditor e)
{
    return e == PropertyEditor::Memo || e == PropertyEditor::Script || e == PropertyEditor::Tag
        || e == PropertyEditor::Font || e == PropertyEditor::Restrictions || e == PropertyEditor::Picture;
}

QString enumText(const TfrPropRec& p, const Value& v)
{
    for (std::size_t i = 0; i < p.EnumValues.size() && i < p.EnumNames.size(); ++i)
        if (!p.EnumValues[i].isNull() && p.EnumValues[i].toText() == v.toText()) return q(p.EnumNames[i]);
    return q(v.toText());
}

} // namespace

ObjectInspector::ObjectInspector(DesignerDocument& document, QWidget* parent)
    : QTableWidget(0, 2, parent), doc_(document)
{
    setHorizontalHeaderLabels({QStringLiteral("Property"), QStringLiteral("Value")});
    horizontalHeader()->setStretchLastSection(true);
    verticalHeader()->hide();
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
                    | QAbstractItemView::AnyKeyPressed);
    connect(this, &QTableWidget::itemChanged, this, [this](QTableWidgetItem* item) {
        if (!filling_ && item->column() == 1) commit(item->row(), item->text());
    });
    doc_.addObserver(this);
    refresh();
}

ObjectInspector::~ObjectInspector() { doc_.removeObserver(this); }

void ObjectInspector::scheduleRefresh()
{
    // Commands run from the inspector's own widgets: rebuild after they return.
    if (refreshPending_) return;
    refreshPending_ = true;
    QTimer::singleShot(0, this, [this] {
        refreshPending_ = false;
        refresh();
    });
}

TfrObject* ObjectInspector::subject() const
{
    const std::vector<TfrView*> selected = doc_.selection();
    if (selected.empty()) return &doc_.page();
    return selected.front();
}

int ObjectInspector::rowOf(const QString& name) const
{
    for (int r = 0; r < rowCount(); ++r)
        if (item(r, 0) && item(r, 0)->text().compare(name, Qt::CaseInsensitive) == 0) return r;
    return -1;
}

void ObjectInspector::refresh()
{
    filling_ = true;
    clearContents();
    setRowCount(0);
    const std::vector<TfrView*> selected = doc_.selection();
    TfrObject* first = subject();
    first->EnsureProperties();
    const int units = doc_.options().Units;
    for (const TfrPropRec& p : first->Properties()) {
        if (p.TypeBits == 0) continue;
        if (has(p.TypeBits, prop::SingleSelection) && selected.size() > 1) continue;
        bool everywhere = true;
        for (TfrView* v : selected) {
            v->EnsureProperties();
            if (!v->FindProperty(p.Name)) everywhere = false;
        }
        if (!everywhere) continue;

        Value value = first->GetProperty(p.Name);
        bool same = true;
        for (TfrView* v : selected)
            if (!(v->GetProperty(p.Name) == value)) same = false;

        const int row = rowCount();
        insertRow(row);
        auto* nameItem = new QTableWidgetItem(q(p.Name));
        nameItem->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        setItem(row, 0, nameItem);

        QString shown;
        if (!same) shown.clear();
        else if (has(p.TypeBits, prop::Enumeration)) shown = enumText(p, value);
        else if (has(p.TypeBits, prop::Boolean)) shown = value.toBoolean() ? QStringLiteral("True") : QStringLiteral("False");
        else if (has(p.TypeBits, prop::Color)) shown = colorText(toColor(value));
        else if (has(p.TypeBits, prop::Length)) {
            const double v = pixelsToUnits(value.toNumber(), units);
            shown = units == 0 && !has(p.TypeBits, prop::Float) ? QString::number(value.toInteger())
                                                                 : QString::number(v, 'f', units == 0 ? 1 : 2);
        } else if (!value.isEmptyOrNull()) {
            shown = q(value.toText());
            shown.replace(QStringLiteral("\r\n"), QStringLiteral(" | "));
        }
        auto* valueItem = new QTableWidgetItem(shown);
        const bool editableText = !has(p.TypeBits, prop::Enumeration) && !has(p.TypeBits, prop::Boolean)
            && (has(p.TypeBits, prop::Text) || has(p.TypeBits, prop::Integer) || has(p.TypeBits, prop::Float)
                || has(p.TypeBits, prop::Length) || has(p.TypeBits, prop::Color));
        valueItem->setFlags(editableText ? (Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable)
                                         : (Qt::ItemIsEnabled | Qt::ItemIsSelectable));
        setItem(row, 1, valueItem);

        const std::string name = p.Name;
        if (has(p.TypeBits, prop::Enumeration) || has(p.TypeBits, prop::Boolean)) {
            auto* combo = new QComboBox;
            if (has(p.TypeBits, prop::Boolean)) combo->addItems({QStringLiteral("False"), QStringLiteral("True")});
            else
                for (const std::string& n : p.EnumNames) combo->addItem(q(n));
            combo->setCurrentIndex(same ? combo->findText(shown) : -1);
            const TfrPropRec record = p;
            connect(combo, &QComboBox::activated, this, [this, record, name](int index) {
                Value v;
                if (has(record.TypeBits, prop::Boolean)) v = Value(index == 1);
                else if (std::size_t(index) < record.EnumValues.size()) v = record.EnumValues[std::size_t(index)];
                else if (std::size_t(index) < record.EnumNames.size()) v = Value(record.EnumNames[std::size_t(index)]);
                commitValue(name, v);
            });
            setCellWidget(row, 1, combo);
        } else if (has(p.TypeBits, prop::HasEditor) && editorAvailable(p.Editor)) {
            auto* button = new QPushButton(shown.isEmpty() ? QStringLiteral("...") : shown + QStringLiteral("  ..."));
            button->setStyleSheet(QStringLiteral("text-align: left"));
            const PropertyEditor editor = p.Editor;
            connect(button, &QPushButton::clicked, this,
                    [this, editor, name] { emit editorRequested(editor, QString::fromStdString(name)); });
            setCellWidget(row, 1, button);
        } else if (has(p.TypeBits, prop::Color)) {
            auto* button = new QPushButton(shown);
            connect(button, &QPushButton::clicked, this, [this, name, value] {
                const Color c = resolveColor(toColor(value));
                const QColor chosen = QColorDialog::getColor(QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF)),
                                                             this, QStringLiteral("Color"));
                if (chosen.isValid()) commitValue(name, colorValue(rgb(chosen.red(), chosen.green(), chosen.blue())));
            });
            setCellWidget(row, 1, button);
        }
    }
    resizeColumnToContents(0);
    filling_ = false;
}

void ObjectInspector::commitValue(const std::string& name, const Value& value)
{
    const std::optional<std::string> refused =
        doc_.selectedCount() == 0 ? doc_.setPageProperty(name, value) : doc_.setProperty(name, value);
    if (refused) ui::services().message(*refused, "Error", ui::Icon::Error);
    scheduleRefresh();
}

void ObjectInspector::commit(int row, const QString& text)
{
    TfrObject* first = subject();
    const std::string name = text::fromQString(item(row, 0)->text());
    const TfrPropRec* p = first->FindProperty(name);
    if (!p) return;
    Value value;
    if (has(p->TypeBits, prop::Color)) {
        const std::optional<Color> c = parseColor(text);
        if (!c) {
            ui::services().message("\"" + text.toStdString() + "\" is not a colour", "Error", ui::Icon::Error);
            scheduleRefresh();
            return;
        }
        value = colorValue(*c);
    } else if (has(p->TypeBits, prop::Length)) {
        QString t = text.trimmed();
        t.replace(',', '.');
        bool ok = false;
        const double v = t.toDouble(&ok);
        if (!ok) {
            ui::services().message("\"" + text.toStdString() + "\" is not a number", "Error", ui::Icon::Error);
            scheduleRefresh();
            return;
        }
        const double pixels = unitsToPixels(v, doc_.options().Units);
        value = has(p->TypeBits, prop::Float) ? Value(pixels) : Value(static_cast<long long>(roundHalfEven(pixels)));
    } else {
        std::string gbk;
        if (!text::tryUtf8ToGbk(text.toStdString(), gbk)) {
            ui::services().message("The text holds characters that a template cannot store (GBK)", "Error",
                                   ui::Icon::Error);
            scheduleRefresh();
            return;
        }
        value = Value(gbk);
    }
    commitValue(name, value);
}

} // namespace pemvora::report
