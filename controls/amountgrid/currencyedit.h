#pragma once
// The amount edit controls: a row of cells showing a number one digit per
// cell after a currency sign, edited with a caret that moves from cell to cell.
//
// TsncCustomCurrencyEdit is the widget over an AmountEditModel; TsncCurrencyEdit
// holds its own value, TsncDBCurrencyEdit shows and edits a dataset field.

#include "controls/amountgrid/amounteditmodel.h"
#include "controls/amountgrid/boundamounteditmodel.h"
#include "controls/amountgrid/currencyheader.h"

#include <QWidget>

#include <memory>
#include <optional>

class QTimer;

namespace pemvora::amountgrid {

class TsncCustomCurrencyEdit : public QWidget, private AmountEditModel::Host {
    Q_OBJECT
public:
    ~TsncCustomCurrencyEdit() override;

    const AmountEditModel& model() const { return *model_; }

    BorderStyle borderStyle() const { return border_; }
    void setBorderStyle(BorderStyle b);
    bool ctl3D() const { return ctl3D_; }
    void setCtl3D(bool on);
    QColor color() const { return model_->color(); }
    void setColor(const QColor& c) { model_->setColor(c); }

    int cellWidth() const { return model_->cellWidth(); }
    void setCellWidth(int w);
    int digitalNumber() const { return model_->digitalNumber(); }
    bool setDigitalNumber(int n);
    int decimalNumber() const { return model_->decimalNumber(); }
    bool setDecimalNumber(int n) { return model_->setDecimalNumber(n); }
    QString currencySymbol() const { return model_->currencySymbol(); }
    void setCurrencySymbol(const QString& s) { model_->setCurrencySymbol(s); }
    bool currencySymbolAligned() const { return model_->currencySymbolAligned(); }
    void setCurrencySymbolAligned(bool on) { model_->setCurrencySymbolAligned(on); }
    QColor gridLineColor() const { return model_->gridLineColor(); }
    void setGridLineColor(const QColor& c) { model_->setGridLineColor(c); }
    int gridLineWidth() const { return model_->gridLineWidth(); }
    void setGridLineWidth(int w);
    QColor kilobitSeparatorColor() const { return model_->kilobitSeparatorColor(); }
    void setKilobitSeparatorColor(const QColor& c) { model_->setKilobitSeparatorColor(c); }
    QColor decimalSeparatorColor() const { return model_->decimalSeparatorColor(); }
    void setDecimalSeparatorColor(const QColor& c) { model_->setDecimalSeparatorColor(c); }
    QColor focusedColor() const { return model_->focusedColor(); }
    void setFocusedColor(const QColor& c) { model_->setFocusedColor(c); }
    QColor negativeColor() const { return model_->negativeColor(); }
    void setNegativeColor(const QColor& c) { model_->setNegativeColor(c); }
    QFont negativeFont() const { return negativeFont_; }
    void setNegativeFont(const QFont& f);
    // The colour the negative font writes in (the normal font writes in the palette's text colour).
    QColor negativeFontColor() const { return negativeFontColor_; }
    void setNegativeFontColor(const QColor& c);
    bool showNegativeColor() const { return model_->showNegativeColor(); }
    void setShowNegativeColor(bool on) { model_->setShowNegativeColor(on); }
    bool showNegativeFont() const { return model_->showNegativeFont(); }
    void setShowNegativeFont(bool on) { model_->setShowNegativeFont(on); }
    bool showNegativeSign() const { return model_->showNegativeSign(); }
    void setShowNegativeSign(bool on) { model_->setShowNegativeSign(on); }
    bool zeroEmpty() const { return model_->zeroEmpty(); }
    void setZeroEmpty(bool on) { model_->setZeroEmpty(on); }
    int maxLength() const { return model_->maxLength(); }
    bool setMaxLength(int n) { return model_->setMaxLength(n); }
    bool moveOutAllowed() const { return model_->moveOutAllowed(); }
    void setMoveOutAllowed(bool on) { model_->setMoveOutAllowed(on); }
    virtual bool readOnly() const { return model_->readOnly(); }
    virtual void setReadOnly(bool on) { model_->setReadOnly(on); }
    TextLayout textLayout() const { return model_->textLayout(); }
    void setTextLayout(TextLayout l) { model_->setTextLayout(l); }

    QSize sizeHint() const override { return {121, 25}; }

signals:
    void beforeChange();                                    // before the first of a run of user changes
    void changed();                                         // after every user change
    void movedOut(int key, Qt::KeyboardModifiers shift);    // a key left the control

protected:
    TsncCustomCurrencyEdit(std::unique_ptr<AmountEditModel> model, QWidget* parent);
    AmountEditModel& editModel() { return *model_; }

    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    // A change or the leaving failed in the field behind the control (the
    // bound control reports it; the change or the leaving did not happen).
    virtual void fieldFailed(const QString& message);

private:
    void invalidate(const QRect& clientRect) override;
    void onBeforeChange() override { emit beforeChange(); }
    void onChange() override { emit changed(); }
    void onMoveOut(int key, Qt::KeyboardModifiers shift) override { emit movedOut(key, shift); }
    void updateFrame();
    void fitWidth();
    void updateMeasures();

    std::unique_ptr<AmountEditModel> model_;
    BorderStyle border_ = BorderStyle::Single;
    bool ctl3D_ = true;
    QFont negativeFont_;
    QColor negativeFontColor_{0, 0, 0};
    QTimer* blink_ = nullptr;  // exists only while the control has the focus
    // The focus came with a mouse press that has not reached the control yet
    // (or with the window's activation, which such a press brings about): Qt
    // gives the focus first, and the press still counts as one on a control
    // that had no focus. Any key or press in between clears it.
    bool focusedByPress_ = false;
    // A press that came while the window was not active yet (its x in the
    // client): it places the caret once the activation brings the focus.
    std::optional<int> pressBeforeFocus_;
    // The control had the focus when its window (or a popup) took it away:
    // it was not left, and getting the focus back is not entering it.
    bool keptOverWindowSwitch_ = false;
};

class TsncCurrencyEdit : public TsncCustomCurrencyEdit {
    Q_OBJECT
public:
    explicit TsncCurrencyEdit(QWidget* parent = nullptr);

    Amount value() const { return model().value(); }
    void setValue(const Amount& v) { editModel().setValue(v); }
    void setValue(double v) { editModel().setValue(Amount::fromDouble(v)); }
};

class TsncDBCurrencyEdit : public TsncCustomCurrencyEdit {
    Q_OBJECT
public:
    explicit TsncDBCurrencyEdit(QWidget* parent = nullptr);

    // The data source and field: a link the dataset hands out for one of its
    // numeric columns. Null lets go of the current one.
    void setFieldLink(AmountFieldLink* link) { bound_->setFieldLink(link); }
    AmountFieldLink* fieldLink() const { return bound_->fieldLink(); }
    Amount value() const { return model().value(); }

    bool readOnly() const override { return bound_->linkReadOnly(); }
    void setReadOnly(bool on) override { bound_->setLinkReadOnly(on); }

    bool editCanModify() { return bound_->editCanModify(); }
    void resetFromField() { bound_->resetFromField(); }

signals:
    // The dataset refused: either the edit mode at the first change (the
    // change is not made) or the written value when leaving (the control
    // keeps the focus).
    void fieldError(const QString& message);

protected:
    void fieldFailed(const QString& message) override;

private:
    TsncDBCurrencyEdit(BoundAmountEditModel* model, QWidget* parent);  // takes the model

    BoundAmountEditModel* bound_;  // the model, owned by the base
};

}  // namespace pemvora::amountgrid
