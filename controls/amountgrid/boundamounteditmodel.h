#pragma once
// The bound amount edit: the edit model whose value lives in a dataset field
// reached through an AmountFieldLink.

#include "controls/amountgrid/amounteditmodel.h"
#include "controls/amountgrid/fieldlink.h"

namespace pemvora::amountgrid {

class BoundAmountEditModel : public AmountEditModel, private AmountFieldLink::Client {
public:
    BoundAmountEditModel(std::shared_ptr<const TextMeasure> font, std::shared_ptr<const TextMeasure> negativeFont);
    ~BoundAmountEditModel() override;

    // The link stays owned by its dataset; null lets go of the current one.
    void setFieldLink(AmountFieldLink* link);
    AmountFieldLink* fieldLink() const { return link_; }

    // The bound control's ReadOnly is its link's read-only flag.
    bool linkReadOnly() const { return link_ && link_->readOnly(); }
    void setLinkReadOnly(bool on);

    // Edit mode through the link; whether that succeeded.
    bool editCanModify();
    // Reload the value from the field.
    void resetFromField();

    void enter() override;
    // Writes the typed value into the field; when that throws, the control
    // stays entered and the error goes on to the caller.
    void exit() override;
    KeyResult keyDown(int key, Qt::KeyboardModifiers shift) override;

protected:
    bool doBeforeChange() override;

private:
    void fieldDataChanged() override;
    void fieldEditingChanged() override;
    void fieldUpdateData() override;
    void fieldLinkGone() override;
    void setFocusedState(bool focused);

    AmountFieldLink* link_ = nullptr;
    bool hasFocus_ = false;
};

}  // namespace pemvora::amountgrid
