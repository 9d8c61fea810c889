#pragma once
// An edit model on fixed text sizes with a host that records what the model
// asks of its widget.

#include "controls/amountgrid/amounteditmodel.h"

#include "tests/controls/fixed_measure.h"

#include <QStringList>

#include <vector>

namespace pemvora::amountgrid::testing {

struct RecordingHost : AmountEditModel::Host {
    std::vector<QRect> invalidated;
    int beforeChanges = 0;
    int changes = 0;
    std::vector<int> movedOutKeys;

    void invalidate(const QRect& r) override { invalidated.push_back(r); }
    void onBeforeChange() override { ++beforeChanges; }
    void onChange() override { ++changes; }
    void onMoveOut(int key, Qt::KeyboardModifiers) override { movedOutKeys.push_back(key); }
};

inline Amount amount(const char* text) { return *Amount::parse(text); }

// The text each cell shows, left to right ("" for an empty cell).
inline QStringList cellTexts(const AmountEditModel& model) {
    QStringList out;
    for (const EditCell& cell : model.picture().cells) out << cell.text;
    return out;
}

// Cells given as one string, one character a cell, '_' for empty; the
// currency sign as '$'.
inline QStringList cells(const QString& row) {
    QStringList out;
    for (QChar c : row) {
        if (c == QLatin1Char('_')) out << QString();
        else if (c == QLatin1Char('$')) out << QStringLiteral("\uFFE5");
        else out << QString(c);
    }
    return out;
}

// 145 pixels wide and 21 high: 10 cells of 13, cell 0 widened to 19.
template <class Model = AmountEditModel>
struct EditFixture {
    RecordingHost host;
    Model model{fixedMeasure(), fixedMeasure()};

    EditFixture() {
        model.setClientSize({145, 21});
        model.setHost(&host);
    }
    void type(const char* keys) {
        for (const char* k = keys; *k; ++k) {
            if (*k == '.') model.keyDown(Qt::Key_Period, Qt::NoModifier);
            else model.typeDigit(*k - '0');
        }
    }
    KeyResult key(int k, Qt::KeyboardModifiers m = Qt::NoModifier) { return model.keyDown(k, m); }
};

}  // namespace pemvora::amountgrid::testing
