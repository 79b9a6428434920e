// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include <QCheckBox>
#include <QLabel>
#include <QString>
#include <QWidget>

#include "core/random_generator.h"
#include "mainwin/trainer_kind.h"
#include "toolkit/button.h"
#include "toolkit/combo_box.h"
#include "toolkit/line_control.h"
#include "toolkit/text_box.h"
#include "trainer/trainer_counters.h"

namespace pendro {

class frmPendro;

constexpr int TermSlots = 8; // columns of the exercise arrays; at most five are ever generated
constexpr int SignSlots = 7; // sign labels between neighbouring columns

// What tells the three trainer windows apart; everything else of the frame is shared.
struct TrainerKindData
{
    TrainerKind kind;
    const char* objectName;
    const char* caption;
    const char* checkCaption; // "Ergebnis Überprüfen" or "Ergebnis überprüfen"
    double checkFontPoints;
    const char* rangeNumeratorCaption;
    const char* rangeDenominatorCaption;
    int rangeItemCount; // of "10", "20", "50", "100"
    // The addition window has operator fields in front of its terms and one common denominator in
    // row 2; the others have sign labels, a row of denominators and the negative-numerator box.
    bool operatorFields;
    const char* signText; // "*" or ":" between the terms of row 1 (unused with operator fields)
    double signFontPoints;
    const char* signAccessibleName;
};

extern const TrainerKindData AddSubKind;
extern const TrainerKindData MulKind;
extern const TrainerKindData DivKind;

// The frame that the three trainer windows share: the settings row (number of terms, the hidden
// number ranges, the negative-numerator box), eight columns of exercise fields, row 2, the step
// rows 3 to 5 behind their "=" boxes, the solution display, the buttons "C", "Neue Aufgabe" and
// "Ergebnis Überprüfen", and the counter line.
//
// Every control is built from tables with its twips geometry. The fields are the exercise: the
// frame keeps no model of it, and the trainer kinds read and write the texts in their handlers.
// The counters live in the application object and are passed in; the frame writes them into the
// counter line whenever they change.
class TrainerFrame : public QWidget
{
    Q_OBJECT

public:
    TrainerFrame(const TrainerKindData& data, TrainerCounters& counters, RandomGenerator& random,
        frmPendro& mainWindow);

    const TrainerKindData& kindData() const { return m_data; }

    // Empties and hides the exercise area, leaving settings, buttons and counters alone.
    void ResetFields();
    void cbClear_Click();

protected:
    virtual void cbNeu_Click() = 0;
    virtual void cbP_Click() = 0;
    virtual void txtG3_Click() = 0;
    virtual void txtG4_Click() = 0;
    virtual void txtG5_Click() = 0;

    // cbAG read as the number of terms; nullopt only if the box could hold no whole number.
    std::optional<std::int16_t> termCount() const;

    // Counting, with the counter line written at once. countCheck raises the correct count for
    // a right answer, then the attempt count, swaps the buttons on a right answer and sets lblVT.
    void countNewExercise();
    void countCheck(bool correct);

    // The generator with a clock re-seed before each draw, as the exercise generators use it.
    float reseededDraw();

    TrainerCounters& m_counters;
    RandomGenerator& m_random;
    frmPendro& m_main;

public:
    // Controls, named as their objectNames. Arrays that a kind lacks stay filled with nullptr.
    QLabel* Label6 = nullptr;
    ComboBox* cbAG = nullptr;
    QLabel* Label7 = nullptr;
    ComboBox* cbZBZ = nullptr;
    QLabel* Label8 = nullptr;
    ComboBox* cbZBN = nullptr;
    QLabel* Label1 = nullptr;
    QCheckBox* cbMinus = nullptr;
    Button* cbClear = nullptr;
    Button* cbNeu = nullptr;
    Button* cbP = nullptr;

    std::array<TextBox*, TermSlots> txtV1 {};
    std::array<TextBox*, TermSlots> txtZ1 {};
    std::array<TextBox*, TermSlots> txtN1 {};
    std::array<Line*, TermSlots> L1 {};
    std::array<QLabel*, SignSlots> lblV1 {};

    TextBox* txtG2 = nullptr;
    std::array<TextBox*, TermSlots> txtV2 {};
    std::array<TextBox*, TermSlots> txtZ2 {};
    std::array<TextBox*, TermSlots> txtN2 {};
    std::array<QLabel*, SignSlots> lblVZ2 {};
    std::array<QLabel*, SignSlots> lblVN2 {};
    Line* L2 = nullptr;
    TextBox* txtHN2 = nullptr;

    TextBox* txtG3 = nullptr;
    TextBox* txtZ3 = nullptr;
    TextBox* txtHN3 = nullptr;
    TextBox* txtG4 = nullptr;
    TextBox* txtZ4 = nullptr;
    TextBox* txtHN4 = nullptr;
    TextBox* txtG5 = nullptr;
    TextBox* txtGZ5 = nullptr;
    TextBox* txtZ5 = nullptr;
    TextBox* txtHN5 = nullptr;

    QLabel* lblEZ1 = nullptr;
    QLabel* lblEN1 = nullptr;
    QLabel* lblG6 = nullptr;
    QLabel* lblGZ = nullptr;
    QLabel* lblEZ2 = nullptr;
    QLabel* lblEN2 = nullptr;
    QLabel* lblEDB = nullptr;

    // L3 .. L15, index 0 unused so that lines[n] is Ln.
    std::array<Line*, 16> lines {};

    QLabel* lblVersuche = nullptr;
    QLabel* lblVT = nullptr;
    QLabel* lblGut = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* lblVon = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* Label5 = nullptr;

private:
    void buildSettingsAndButtons();
    void buildExerciseRows();
    void buildStepRows();
    void buildSolutionAndCounters();
    void installKeyRules();
    void setTabOrder();
    void showCounters();
    // cbAG's change handler: the text the box must hold instead of text, or nullopt.
    static std::optional<QString> cbAG_Change(const QString& text);
    void Form_Load();

    const TrainerKindData& m_data;
};

} // namespace pendro
