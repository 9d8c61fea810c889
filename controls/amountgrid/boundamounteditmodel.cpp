#include "controls/amountgrid/boundamounteditmodel.h"

namespace pemvora::amountgrid {

BoundAmountEditModel::BoundAmountEditModel(std::shared_ptr<const TextMeasure> font,
                                           std::shared_ptr<const TextMeasure> negativeFont)
    : AmountEditModel(std::move(font), std::move(negativeFont)) {
    // Nothing may be typed until the link says the field can be edited.
    setReadOnly(true);
}

BoundAmountEditModel::~BoundAmountEditModel() {
    if (link_) link_->detach(this);
}

void BoundAmountEditModel::setFieldLink(AmountFieldLink* link) {
    if (link_ == link) return;
    if (link_) link_->detach(this);
    link_ = link;
    if (link_) link_->attach(this);
    fieldEditingChanged();
    fieldDataChanged();
}

void BoundAmountEditModel::setLinkReadOnly(bool on) {
    if (link_) link_->setReadOnly(on);
}

bool BoundAmountEditModel::editCanModify() { return link_ && link_->edit(); }

void BoundAmountEditModel::resetFromField() {
    if (link_) link_->reset();
}

bool BoundAmountEditModel::doBeforeChange() {
    // A change that the field could not take is not made at all.
    if (!link_ || !link_->edit()) return false;
    link_->setModified();
    return AmountEditModel::doBeforeChange();
}

void BoundAmountEditModel::setFocusedState(bool focused) {
    if (hasFocus_ == focused) return;
    hasFocus_ = focused;
    resetFromField();
}

void BoundAmountEditModel::enter() {
    setFocusedState(true);
    AmountEditModel::enter();
    if (link_ && link_->canModify()) setReadOnly(false);
}

void BoundAmountEditModel::exit() {
    if (link_) link_->updateRecord();  // throws when the field refuses the value
    setFocusedState(false);
    AmountEditModel::exit();
}

KeyResult BoundAmountEditModel::keyDown(int key, Qt::KeyboardModifiers shift) {
    if (key == Qt::Key_Escape && link_ && link_->editing()) {
        link_->reset();
        return KeyResult::Handled;
    }
    return AmountEditModel::keyDown(key, shift);
}

void BoundAmountEditModel::fieldDataChanged() {
    setValue(link_ && link_->active() ? link_->fieldValue() : Amount());
}

void BoundAmountEditModel::fieldEditingChanged() { setReadOnly(!(link_ && link_->editing())); }

void BoundAmountEditModel::fieldUpdateData() {
    if (link_) link_->writeField(value());
}

void BoundAmountEditModel::fieldLinkGone() {
    link_ = nullptr;
    setReadOnly(true);
    setValue(Amount());
}

}  // namespace pemvora::amountgrid
