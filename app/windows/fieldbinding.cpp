#include "app/windows/fieldbinding.h"

#include "app/data/databaseerror.h"
#include "platform/ui/uiservices.h"

#include <QComboBox>
#include <QLineEdit>
#include <QSignalBlocker>

namespace pemvora::app {

FieldBinding::FieldBinding(QLineEdit* edit, data::Dataset& dataset, std::string column)
    : QObject(edit), edit_(edit)
{
    connect(edit, &QLineEdit::textEdited, this, &FieldBinding::store);
    setUp(dataset, std::move(column));
}

FieldBinding::FieldBinding(QComboBox* box, data::Dataset& dataset, std::string column)
    : QObject(box), box_(box)
{
    connect(box, &QComboBox::textActivated, this, &FieldBinding::store);
    setUp(dataset, std::move(column));
}

void FieldBinding::setUp(data::Dataset& dataset, std::string column)
{
    link_.onDataChange = [this] { load(); };
    link_.setFieldName(std::move(column));
    link_.setDataset(&dataset);
}

void FieldBinding::load()
{
    const QString text = QString::fromStdString(link_.fieldValue().toText());
    if (edit_ && edit_->text() != text) {
        const QSignalBlocker block(edit_);
        edit_->setText(text);
    }
    if (box_ && box_->currentText() != text) {
        const QSignalBlocker block(box_);
        const int index = box_->findText(text);
        if (box_->isEditable()) box_->setEditText(text);
        else box_->setCurrentIndex(index);
    }
}

void FieldBinding::store(const QString& text)
{
    try {
        if (!link_.edit()) {
            load();   // read-only or closed: the box shows the column again
            return;
        }
        link_.write(text.isEmpty() ? Value::null() : Value(text.toStdString()));
    } catch (const data::DatabaseError& e) {
        ui::services().error(e.what());
        load();
    }
}

} // namespace pemvora::app
