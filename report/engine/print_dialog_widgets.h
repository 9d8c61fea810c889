#pragma once
// TfrPrintForm: the print dialog over the engine's printer wrapper (the
// installed printers and the virtual printer). Choosing a printer selects it
// in the wrapper at once; closing the dialog other than with OK selects again
// the printer that was current when it opened.

#include "report/engine/run_control.h"

#include <QDialog>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QSpinBox;

namespace pemvora::report {

class TfrPrintForm : public QDialog {
    Q_OBJECT
public:
    // Preset from the report's DefaultCopies and DefaultCollate; "Current
    // page" gives `currentPage`.
    TfrPrintForm(TfrReport& report, int currentPage, QWidget* parent = nullptr);

    // What the dialog yields (meaningful after OK).
    PrintChoice Choice() const;

    // The controls, for tests.
    QComboBox* printers() const { return printers_; }
    QRadioButton* allPages() const { return all_; }
    QRadioButton* currentPage() const { return current_; }
    QRadioButton* pageList() const { return range_; }
    QLineEdit* pageListEdit() const { return rangeEdit_; }
    QSpinBox* copies() const { return copies_; }
    QCheckBox* collate() const { return collate_; }
    QComboBox* printPages() const { return printPages_; }

    void done(int result) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void printerChosen(int index);
    void showCollation();

    int currentPage_;
    int printerAtOpen_;
    QComboBox* printers_;
    QRadioButton* all_;
    QRadioButton* current_;
    QRadioButton* range_;
    QLineEdit* rangeEdit_;
    QSpinBox* copies_;
    QCheckBox* collate_;
    QLabel* collationPicture_;
    QComboBox* printPages_;
};

// The print dialog for PrintFromPreview.
class QtPrintDialog : public PrintDialog {
public:
    explicit QtPrintDialog(QWidget* parent = nullptr) : parent_(parent) {}
    std::optional<PrintChoice> Run(TfrReport& report, int currentPage) override;

private:
    QWidget* parent_;
};

} // namespace pemvora::report
