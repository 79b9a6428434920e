// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <vector>

#include <QCheckBox>
#include <QLabel>
#include <QString>
#include <QWidget>

#include "core/random_generator.h"
#include "toolkit/button.h"
#include "toolkit/combo_box.h"
#include "toolkit/line_control.h"
#include "toolkit/text_box.h"
#include "trainer/trainer_counters.h"
#include "trainer/trainer_kind.h"

// The frame of the three fraction trainers, and where a kind of trainer plugs into it.
//
// The frame is all that the windows share: it builds every control from tables with their twips
// geometry (the settings row, eight columns of exercise fields, row 2, the step rows 3 to 5 behind
// their "=" boxes, the solution, the buttons and the counter line), gives the fields their key
// rules, and runs what happens alike in every window: "C", counting, the "=" boxes that open
// the step rows, the check's end on a failure, the end of a new exercise, the mixed form and the
// decimal value of a solution, the random draws and the hidden number ranges.
//
// A kind of trainer is a subclass with its data (TrainerKindData: captions, fonts, the layout of
// its terms) and three routines: cbNeu_Click makes up an exercise, checkResult checks the answer,
// and rowBeforeFilled says when an "=" box may open its step row. Adding a kind is one row in the
// application's table of kinds (app/trainer_kinds.h), one folder with its class, and its tests.
//
// The frame keeps no model of an exercise: the fields are the exercise, and every handler reads
// and writes their texts. The counters live in the application object and are passed in; the
// frame writes them into the counter line whenever they change.
namespace pendro {

class Announcement;
class frmPendro;

constexpr int TermSlots = 8; // columns of the exercise arrays; at most five are ever generated
constexpr int SignSlots = 7; // sign labels between neighbouring columns

// How a window lays out its terms; it decides the shape of rows 1 and 2, which controls exist
// beside the fractions, and the order in which Tab visits the buttons.
enum class TermLayout {
    // An operator field in front of every term of rows 1 and 2, row 2 over one common
    // denominator (txtHN2): the addition and subtraction window.
    OperatorFields,
    // Sign labels between the terms, row 2 a fraction of products with a denominator under every
    // numerator, and the check box for negative numerators: multiplication and division.
    SignLabels,
};

// What tells the trainer windows apart; everything else of the frame is shared.
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
    TermLayout layout;
    const char* signText; // "*" or ":" between the terms of row 1 (with sign labels)
    double signFontPoints;
    const char* signAccessibleName;
};

// Controls that are shown and hidden together.
enum class ControlGroup {
    StepRow3, // opened by txtG3: txtZ3 over txtHN3, its bar, and txtG4
    StepRow4, // opened by txtG4: the reduced fraction, its bar and underline, and txtG5
    StepRow5, // opened by txtG5: the answer as a mixed number, its bar and underline
    ReducedSolution, // lblEZ1 over lblEN1 with its bar and underline
    MixedSolution, // "=", then lblGZ and lblEZ2 over lblEN2 with its bar and underline
};
constexpr int ControlGroupCount = 5;

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
    // The check of the kind, ended silently where it raises CheckFailure.
    void cbP_Click();

protected:
    virtual void cbNeu_Click() = 0;
    // Works out the solution, shows it and judges the answer; raises CheckFailure where it cannot
    // go on.
    virtual void checkResult() = 0;
    // Whether the step row before the "=" box of row (3 to 5) is filled in, so that the box opens
    // its row; nullopt when the click is to change nothing at all.
    virtual std::optional<bool> rowBeforeFilled(int row) const = 0;

    // cbAG read as the number of terms; nullopt only if the box could hold no whole number.
    std::optional<std::int16_t> termCount() const;
    // The largest numerator and denominator of an exercise, from the hidden range boxes (both
    // keep "10").
    int numeratorLimit() const;
    int denominatorLimit() const;

    // Where column i of rows 1 and 2 stands, in twips: the left edge of its fraction and the
    // right end of its fraction bar. The operator fields of the addition window stand in front.
    double fractionLeft(int column) const;
    double barRight(int column) const;

    // The end of "Neue Aufgabe": txtG2 and txtG3 shown, the focus in row 2, the exercise counted,
    // the check button in place of "Neue Aufgabe".
    void finishNewExercise(QWidget* firstOfRowTwo);

    // Shows L2 under row 2, from the row's left edge to the end of the bar of column last.
    void showRowTwoBar(int last);
    // Whether both fields of step row 3 or 4 hold text.
    bool stepRowFilled(int row) const;
    void setGroupShown(ControlGroup group, bool shown);
    static void setShown(std::initializer_list<QWidget*> controls, bool shown);

    // lblGZ, lblEZ2 and lblEN2 from the reduced result. The rest is worked out in 32 bits, as the
    // windows always have: where the kind finds its values beyond that (restInRange false), the
    // check ends after lblGZ and lblEN2.
    void showMixedNumber(std::int64_t numerator, std::int64_t denominator, bool restInRange);
    void showDecimal(std::int64_t numerator, std::int64_t denominator);
    // The end of a completed check: row 5 compared with the mixed form, text for text, the
    // attempt counted, the main window emptied.
    void judgeAnswer();

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
    void buildSignLabels(double row1Bar);
    void buildStepsAndSolution();
    void buildCounters();
    void installKeyRules();
    void setTabOrder();
    void showCounters();
    // txtG3_Click, txtG4_Click and txtG5_Click: the box in front of step row `row`; true when
    // the click opened the row.
    bool stepBox_Click(int row);
    TextBox* stepBox(int row) const;
    QWidget* firstFieldOfRow(int row) const;
    void announceOutcome(bool correct);
    // cbAG's change handler: the text the box must hold instead of text, or nullopt.
    static std::optional<QString> cbAG_Change(const QString& text);
    void Form_Load();

    const TrainerKindData& m_data;
    std::array<std::vector<QWidget*>, ControlGroupCount> m_groups;
    std::vector<Line*> m_stepAndSolutionLines;
    Announcement* m_announcement = nullptr;
};

} // namespace pendro
