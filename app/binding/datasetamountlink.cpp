#include "app/binding/datasetamountlink.h"

namespace pemvora::app {

DatasetAmountLink::DatasetAmountLink(data::Dataset& dataset, std::string field)
    : dataset_(&dataset), field_(std::move(field))
{
    dataset_->addListener(this);
}

DatasetAmountLink::~DatasetAmountLink()
{
    if (dataset_) dataset_->removeListener(this);
}

bool DatasetAmountLink::active() const
{
    return dataset_ && dataset_->isOpen() && dataset_->fieldIndex(field_) >= 0;
}

amountgrid::Amount DatasetAmountLink::fieldValue() const
{
    if (!active()) return {};
    const Value v = dataset_->value(field_);
    if (v.isEmptyOrNull()) return {};
    if (v.isString()) return amountgrid::Amount::parse(v.string()).value_or(amountgrid::Amount());
    return amountgrid::Amount::fromDouble(v.toNumber());
}

bool DatasetAmountLink::datasetEditing() const
{
    return dataset_ && (dataset_->state() == data::DatasetState::Edit || dataset_->state() == data::DatasetState::Insert);
}

bool DatasetAmountLink::fieldCanModify() const { return active() && dataset_->canModify(); }

void DatasetAmountLink::startEdit() { dataset_->edit(); }

void DatasetAmountLink::writeField(const amountgrid::Amount& value)
{
    writing_ = true;
    try {
        dataset_->setValue(field_, Value(value.toDouble()));
    } catch (...) {
        writing_ = false;
        throw;
    }
    writing_ = false;
}

void DatasetAmountLink::fieldChanged(data::Dataset&, int column)
{
    // Our own write must not reload the control over what it shows.
    if (!writing_ && column == dataset_->fieldIndex(field_)) AmountFieldLink::recordChanged();
}

void DatasetAmountLink::datasetDestroyed(data::Dataset&)
{
    dataset_ = nullptr;
    AmountFieldLink::recordChanged();
}

} // namespace pemvora::app
