#include "app/data/fieldlink.h"

namespace pemvora::data {

FieldLink::~FieldLink()
{
    if (dataset_) dataset_->removeListener(this);
}

void FieldLink::setDataset(Dataset* dataset)
{
    if (dataset_ == dataset) return;
    if (dataset_) dataset_->removeListener(this);
    dataset_ = dataset;
    if (dataset_) dataset_->addListener(this);
    refreshFlags();
    modified_ = false;
    call(onDataChange);
}

void FieldLink::setFieldName(std::string name)
{
    fieldName_ = std::move(name);
    modified_ = false;
    call(onDataChange);
}

bool FieldLink::active() const
{
    return dataset_ && dataset_->isOpen() && dataset_->fieldIndex(fieldName_) >= 0;
}

Value FieldLink::fieldValue() const
{
    if (!active()) return Value::null();
    return dataset_->value(fieldName_);
}

bool FieldLink::editing() const
{
    return dataset_ && (dataset_->state() == DatasetState::Edit ||
                        dataset_->state() == DatasetState::Insert);
}

bool FieldLink::edit()
{
    if (readOnly_ || !active()) return false;
    if (!editing()) {
        try {
            dataset_->edit();
        } catch (const DatabaseError&) {
            return false;
        }
    }
    return editing();
}

void FieldLink::write(const Value& value)
{
    if (!active()) return;
    writing_ = true;
    try {
        dataset_->setValue(fieldName_, value);
    } catch (...) {
        writing_ = false;
        throw;
    }
    writing_ = false;
    modified_ = false;
}

void FieldLink::reset()
{
    modified_ = false;
    call(onDataChange);
}

void FieldLink::stateChanged(Dataset&)
{
    refreshFlags();
}

void FieldLink::refreshFlags()
{
    const bool nowActive = active();
    if (nowActive != wasActive_) {
        wasActive_ = nowActive;
        call(onActiveChange);
    }
    const bool nowEditing = editing();
    if (nowEditing != wasEditing_) {
        wasEditing_ = nowEditing;
        call(onEditingChange);
    }
}

void FieldLink::recordChanged(Dataset&)
{
    modified_ = false;
    call(onDataChange);
}

void FieldLink::fieldChanged(Dataset& dataset, int column)
{
    // The control's own write needs no reload.
    if (writing_ || !active() || dataset.fieldIndex(fieldName_) != column) return;
    modified_ = false;
    call(onDataChange);
}

void FieldLink::updateRecord(Dataset&)
{
    if (modified_ && editing()) call(onUpdateData);
    modified_ = false;
}

void FieldLink::datasetDestroyed(Dataset&)
{
    dataset_ = nullptr;
    refreshFlags();
    call(onDataChange);
}

} // namespace pemvora::data
