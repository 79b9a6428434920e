// SPDX-License-Identifier: GPL-3.0-or-later
#include "trainer/trainer_frame.h"

#include <algorithm>

#include "core/fraction_arithmetic.h"
#include "core/key_filters.h"
#include "core/number_text.h"
#include "mainwin/frm_pendro.h"
#include "toolkit/announcement.h"
#include "toolkit/controls.h"
#include "toolkit/keyboard.h"
#include "toolkit/zoom.h"
#include "trainer/check_failure.h"

namespace pendro {

namespace {
constexpr double ClientWidth = 8490;
constexpr double ClientHeight = 4905;
constexpr double ColumnStep = 1200;
constexpr double FieldHeight = 360;
constexpr double FractionWidth = 735;
constexpr double BarLength = 720;
constexpr double SmallBoxWidth = 255;
// Row 1 and row 2 begin here; the addition window's fractions stand behind operator fields.
constexpr double RowLeft = 360;
constexpr double OperatorFieldWidth = 360;

constexpr FontSpec FieldFont { "Arial", 12.0, true };
constexpr FontSpec WholeNumberFont { "Arial", 27.75, true };
constexpr FontSpec FrameFont { "Arial", 9.75, false };
constexpr FontSpec CreditFont { "Arial", 6.75, false };

const QColor LightRed(255, 192, 192);
const QColor LightCyan(192, 255, 255);
const QColor LightGreen(192, 255, 192);

QString text(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

// Step rows and solution stand at the same places in all windows, all hidden at first. A field
// or label in a group appears and disappears with it; txtG3 is shown by a new exercise.
struct StepField
{
    TextBox* TrainerFrame::*field;
    const char* name;
    TwipsRect rect;
    const char* accessibleName;
    std::optional<ControlGroup> group;
    bool wholeNumber = false; // the large, right-aligned whole part of a mixed number
};
const StepField StepFields[] = {
    { &TrainerFrame::txtG3, "txtG3", { 60, 2880, SmallBoxWidth, FieldHeight },
        "Gleichheitszeichen vor Zeile 3", std::nullopt },
    { &TrainerFrame::txtZ3, "txtZ3", { 360, 2700, 2295, FieldHeight }, "Zähler in Zeile 3",
        ControlGroup::StepRow3 },
    { &TrainerFrame::txtHN3, "txtHN3", { 360, 3120, 2295, FieldHeight }, "Nenner in Zeile 3",
        ControlGroup::StepRow3 },
    { &TrainerFrame::txtG4, "txtG4", { 2760, 2880, SmallBoxWidth, FieldHeight },
        "Gleichheitszeichen vor Zeile 4", ControlGroup::StepRow3 },
    { &TrainerFrame::txtZ4, "txtZ4", { 3120, 2700, 1215, FieldHeight }, "Zähler in Zeile 4",
        ControlGroup::StepRow4 },
    { &TrainerFrame::txtHN4, "txtHN4", { 3120, 3120, 1215, FieldHeight }, "Nenner in Zeile 4",
        ControlGroup::StepRow4 },
    { &TrainerFrame::txtG5, "txtG5", { 4440, 2880, SmallBoxWidth, FieldHeight },
        "Gleichheitszeichen vor Zeile 5", ControlGroup::StepRow4 },
    { &TrainerFrame::txtGZ5, "txtGZ5", { 4800, 2700, 1515, 675 }, "Ganze Zahl der Antwort",
        ControlGroup::StepRow5, true },
    { &TrainerFrame::txtZ5, "txtZ5", { 6360, 2700, 915, FieldHeight }, "Zähler der Antwort",
        ControlGroup::StepRow5 },
    { &TrainerFrame::txtHN5, "txtHN5", { 6360, 3120, 915, FieldHeight }, "Nenner der Antwort",
        ControlGroup::StepRow5 },
};

struct LineRow
{
    int number; // the line is L<number>
    double x1, x2, y;
    ControlGroup group;
};
constexpr LineRow StepAndSolutionLines[] = {
    { 3, 360, 2640, 3060, ControlGroup::StepRow3 },
    { 4, 3120, 4320, 3060, ControlGroup::StepRow4 },
    { 5, 3120, 4380, 3480, ControlGroup::StepRow4 },
    { 6, 3120, 4380, 3540, ControlGroup::StepRow4 },
    { 7, 6360, 7260, 3060, ControlGroup::StepRow5 },
    { 8, 4800, 7260, 3480, ControlGroup::StepRow5 },
    { 9, 4800, 7260, 3540, ControlGroup::StepRow5 },
    { 10, 3120, 4320, 4080, ControlGroup::ReducedSolution },
    { 11, 3120, 4320, 4500, ControlGroup::ReducedSolution },
    { 12, 3120, 4320, 4560, ControlGroup::ReducedSolution },
    { 13, 6360, 7260, 4080, ControlGroup::MixedSolution },
    { 14, 4800, 7260, 4500, ControlGroup::MixedSolution },
    { 15, 4800, 7260, 4560, ControlGroup::MixedSolution },
};

// The labels of the solution show results: their text is what a screen reader reads, the
// description says what it is.
struct SolutionLabel
{
    QLabel* TrainerFrame::*label;
    const char* name;
    TwipsRect rect;
    const char* description;
    ControlGroup group;
    bool wholeNumber = false;
};
const SolutionLabel SolutionLabels[] = {
    { &TrainerFrame::lblEZ1, "lblEZ1", { 3120, 3720, 1215, FieldHeight }, "Lösung Zähler",
        ControlGroup::ReducedSolution },
    { &TrainerFrame::lblEN1, "lblEN1", { 3120, 4140, 1215, FieldHeight }, "Lösung Nenner",
        ControlGroup::ReducedSolution },
    { &TrainerFrame::lblG6, "lblG6", { 4440, 3930, SmallBoxWidth, FieldHeight },
        "Gleichheitszeichen der Lösung", ControlGroup::MixedSolution },
    { &TrainerFrame::lblGZ, "lblGZ", { 4800, 3720, 1515, 675 }, "Lösung ganze Zahl",
        ControlGroup::MixedSolution, true },
    { &TrainerFrame::lblEZ2, "lblEZ2", { 6360, 3720, 915, FieldHeight }, "Lösung Zähler des Rests",
        ControlGroup::MixedSolution },
    { &TrainerFrame::lblEN2, "lblEN2", { 6360, 4140, 915, FieldHeight }, "Lösung Nenner des Rests",
        ControlGroup::MixedSolution },
};

// The counter line reads like a sentence: "0 Versuche 0 von 0 richtig.".
struct CounterLabel
{
    QLabel* TrainerFrame::*label;
    const char* name;
    TwipsRect rect;
    const char* caption;
    const char* description; // for the labels that show a counter
    Qt::Alignment alignment;
};
const CounterLabel CounterLabels[] = {
    { &TrainerFrame::lblVersuche, "lblVersuche", { 60, 4620, 555, 255 }, "0", "Versuche",
        Qt::AlignRight },
    { &TrainerFrame::lblVT, "lblVT", { 675, 4620, 825, 255 }, "Versuche", "Versuch oder Versuche",
        Qt::AlignLeft },
    { &TrainerFrame::lblGut, "lblGut", { 1500, 4620, 540, 255 }, "0", "richtig", Qt::AlignRight },
    { &TrainerFrame::Label2, "Label2", { 2085, 4620, 375, 255 }, "von", nullptr, Qt::AlignHCenter },
    { &TrainerFrame::lblVon, "lblVon", { 2490, 4620, 540, 255 }, "0", "Aufgaben", Qt::AlignLeft },
    { &TrainerFrame::Label4, "Label4", { 3045, 4620, 735, 255 }, "richtig.", nullptr,
        Qt::AlignLeft },
};
}

TrainerFrame::TrainerFrame(const TrainerKindData& data, TrainerCounters& counters,
    RandomGenerator& random, frmPendro& mainWindow)
    : QWidget(nullptr)
    , m_counters(counters)
    , m_random(random)
    , m_main(mainWindow)
    , m_data(data)
{
    setObjectName(QString::fromLatin1(data.objectName));
    setWindowTitle(text(data.caption));
    setWindowIcon(pendroIcon());
    setAttribute(Qt::WA_DeleteOnClose);
    setScalableFont(this, makeFont(DefaultFont));
    setClientSizeTwips(this, ClientWidth, ClientHeight);

    buildSettingsAndButtons();
    buildExerciseRows();
    buildStepsAndSolution();
    buildCounters();
    installKeyRules();
    setTabOrder();
    showCounters();
    m_announcement = new Announcement(this);
    // Escape does not close a trainer, so that a stray key never throws an exercise away.
    closeOnKeys(this, { QKeySequence::Close });
    Form_Load();
}

void TrainerFrame::Form_Load()
{
    m_random.reseedFromClock();
    static_cast<void>(m_random.draw());
}

namespace {
TextBox* makeTextBox(QWidget* form, const QString& name, const TwipsRect& rect,
    const FontSpec& font, Qt::Alignment alignment, const QString& accessibleName)
{
    auto* box = new TextBox(form);
    placeControl(box, name, rect, font);
    box->setAlignment(alignment | Qt::AlignVCenter);
    box->setAccessibleName(accessibleName);
    return box;
}

QLabel* makeLabel(QWidget* form, const QString& name, const TwipsRect& rect, const FontSpec& font,
    const QString& caption, Qt::Alignment alignment = Qt::AlignLeft)
{
    auto* label = new QLabel(caption, form);
    placeControl(label, name, rect, font);
    label->setAlignment(alignment | Qt::AlignVCenter);
    return label;
}

Line* makeLine(QWidget* form, const QString& name, double x1, double y1, double x2, double y2)
{
    auto* line = new Line(form);
    line->setObjectName(name);
    line->setPoints(x1, y1, x2, y2);
    return line;
}

ComboBox* makeComboBox(QWidget* form, const char* name, const TwipsRect& rect,
    const QStringList& items, const QString& current)
{
    auto* box = new ComboBox(form);
    placeControl(box, QString::fromLatin1(name), rect, FrameFont);
    box->addItems(items);
    box->setEditText(current);
    return box;
}

Button* makeButton(QWidget* form, const char* name, const TwipsRect& rect, const FontSpec& font,
    const QString& caption, const char* toolTip, const QColor& colour)
{
    auto* button = new Button(form);
    placeControl(button, QString::fromLatin1(name), rect, font, text(toolTip));
    button->setText(caption);
    setButtonColour(button, colour);
    return button;
}

}

void TrainerFrame::buildSettingsAndButtons()
{
    Label6 = makeLabel(this, "Label6", { 120, 105, 1335, 255 }, FrameFont, "Anzahl Glieder:");
    cbAG = makeComboBox(this, "cbAG", { 1500, 60, 735, 345 }, { "2", "3", "4", "5" }, "2");
    cbAG->setToolTip(text("Anzahl Glieder wählen (maximal 5)"));
    cbAG->textBox()->setObjectName(QStringLiteral("cbAG_edit"));
    cbAG->textBox()->setAccessibleName(QStringLiteral("Anzahl Glieder"));
    Label6->setBuddy(cbAG);

    const QStringList rangeItems
        = QStringList { "10", "20", "50", "100" }.mid(0, m_data.rangeItemCount);
    Label7 = makeLabel(
        this, "Label7", { 4980, 105, 1455, 255 }, FrameFont, text(m_data.rangeNumeratorCaption));
    cbZBZ = makeComboBox(this, "cbZBZ", { 6480, 60, 735, 345 }, rangeItems, "10");
    Label8 = makeLabel(
        this, "Label8", { 4980, 465, 1455, 255 }, FrameFont, text(m_data.rangeDenominatorCaption));
    cbZBN = makeComboBox(this, "cbZBN", { 6480, 420, 735, 345 }, rangeItems, "10");
    Label7->setBuddy(cbZBZ);
    Label8->setBuddy(cbZBN);
    // A combo box reports its text as its name; the field inside is named by its caption.
    cbZBZ->textBox()->setAccessibleName(text(m_data.rangeNumeratorCaption).chopped(1));
    cbZBN->textBox()->setAccessibleName(text(m_data.rangeDenominatorCaption).chopped(1));
    setShown({ Label7, cbZBZ, Label8, cbZBN }, false);

    if (m_data.layout == TermLayout::SignLabels) {
        Label1 = makeLabel(
            this, "Label1", { 2460, 105, 2415, 255 }, FrameFont, text("negative Zähler erlauben:"));
        cbMinus = new QCheckBox(this);
        placeControl(cbMinus, QStringLiteral("cbMinus"), { 4920, 90, 300, 285 }, FrameFont);
        cbMinus->setAccessibleName(text("negative Zähler erlauben"));
        Label1->setBuddy(cbMinus);
    }

    cbClear = makeButton(this, "cbClear", { 7290, 120, 1140, 495 }, FrameFont, "C",
        "Alle Eingaben löschen", LightRed);
    cbClear->setAccessibleName(text("Alle Eingaben löschen"));
    cbNeu = makeButton(this, "cbNeu", { 7290, 720, 1140, 1335 }, FrameFont, "Neue Aufgabe",
        "Generiert eine neue Aufgabe", LightCyan);
    cbP = makeButton(this, "cbP", { 7290, 2160, 1140, 855 },
        { "Arial", m_data.checkFontPoints, false }, text(m_data.checkCaption),
        "Überprüft das Ergebnis", LightGreen);

    connect(cbClear, &QPushButton::clicked, this, [this] { cbClear_Click(); });
    connect(cbNeu, &QPushButton::clicked, this, [this] { cbNeu_Click(); });
    connect(cbP, &QPushButton::clicked, this, [this] { cbP_Click(); });
    cbAG->setChangeRule([](const QString& text) { return cbAG_Change(text); });
}

double TrainerFrame::fractionLeft(int column) const
{
    const double first
        = m_data.layout == TermLayout::OperatorFields ? RowLeft + OperatorFieldWidth : RowLeft;
    return first + ColumnStep * column;
}

double TrainerFrame::barRight(int column) const
{
    return fractionLeft(column) + BarLength;
}

void TrainerFrame::buildExerciseRows()
{
    const bool operatorFields = m_data.layout == TermLayout::OperatorFields;
    const double row1Top = operatorFields ? 660 : 720;
    const double row1Bar = row1Top + FieldHeight;
    const double row1BottomTop = row1Bar + 60;

    for (int i = 0; i < TermSlots; ++i) {
        const double left = fractionLeft(i);
        const QString k = QString::number(i + 1);
        txtZ1[i] = makeTextBox(this, arrayName("txtZ1", i),
            { left, row1Top, FractionWidth, FieldHeight }, FieldFont, Qt::AlignHCenter,
            text("Zähler ") + k);
        L1[i] = makeLine(this, arrayName("L1", i), left, row1Bar, barRight(i), row1Bar);
        txtN1[i] = makeTextBox(this, arrayName("txtN1", i),
            { left, row1BottomTop, FractionWidth, FieldHeight }, FieldFont, Qt::AlignHCenter,
            QStringLiteral("Nenner ") + k);
        txtZ2[i]
            = makeTextBox(this, arrayName("txtZ2", i), { left, 1680, FractionWidth, FieldHeight },
                FieldFont, Qt::AlignHCenter, text("Zähler ") + k + QStringLiteral(" in Zeile 2"));
        txtZ2[i]->hide();
        if (operatorFields) {
            const double operatorLeft = left - OperatorFieldWidth;
            txtV1[i] = makeTextBox(this, arrayName("txtV1", i),
                { operatorLeft, 840, SmallBoxWidth, FieldHeight }, FieldFont, Qt::AlignLeft,
                QStringLiteral("Rechenzeichen ") + k);
            txtV2[i] = makeTextBox(this, arrayName("txtV2", i),
                { operatorLeft, 1680, SmallBoxWidth, FieldHeight }, FieldFont, Qt::AlignLeft,
                QStringLiteral("Rechenzeichen ") + k + QStringLiteral(" in Zeile 2"));
            txtV2[i]->hide();
        } else {
            txtN2[i] = makeTextBox(this, arrayName("txtN2", i),
                { left, 2100, FractionWidth, FieldHeight }, FieldFont, Qt::AlignHCenter,
                QStringLiteral("Nenner ") + k + QStringLiteral(" in Zeile 2"));
            txtN2[i]->hide();
        }
        if (i >= 2) {
            setShown({ txtZ1[i], txtN1[i], L1[i] }, false);
            if (operatorFields)
                txtV1[i]->hide();
        }
    }

    if (!operatorFields)
        buildSignLabels(row1Bar);

    txtG2 = makeTextBox(this, QStringLiteral("txtG2"), { 60, 1920, SmallBoxWidth, FieldHeight },
        FieldFont, Qt::AlignHCenter, QStringLiteral("Gleichheitszeichen vor Zeile 2"));
    txtG2->setText(operatorFields ? QString() : QStringLiteral("="));
    txtG2->hide();
    L2 = makeLine(this, QStringLiteral("L2"), RowLeft, 2040, 1440, 2040);
    L2->hide();
    if (operatorFields) {
        txtHN2 = makeTextBox(this, QStringLiteral("txtHN2"), { 360, 2100, 2295, FieldHeight },
            FieldFont, Qt::AlignHCenter, QStringLiteral("Hauptnenner in Zeile 2"));
        txtHN2->hide();
    }
}

// The signs between the terms of row 1 and between the factors of row 2.
void TrainerFrame::buildSignLabels(double row1Bar)
{
    // A sign stands in the gap between its columns, where the next column's step begins.
    const double signHeight = m_data.signFontPoints > 20 ? 480 : FieldHeight;
    for (int i = 0; i < SignSlots; ++i) {
        const double left = ColumnStep * (i + 1);
        lblV1[i] = makeLabel(this, arrayName("lblV1", i),
            { left, row1Bar - signHeight / 2, SmallBoxWidth, signHeight },
            { "Arial", m_data.signFontPoints, true }, QString::fromLatin1(m_data.signText),
            Qt::AlignHCenter);
        lblV1[i]->setAccessibleName(text(m_data.signAccessibleName));
        lblV1[i]->setVisible(i == 0);
        lblVZ2[i]
            = makeLabel(this, arrayName("lblVZ2", i), { left, 1680, SmallBoxWidth, FieldHeight },
                { "Arial", 18.0, true }, QStringLiteral("*"), Qt::AlignHCenter);
        lblVN2[i]
            = makeLabel(this, arrayName("lblVN2", i), { left, 2100, SmallBoxWidth, FieldHeight },
                { "Arial", 18.0, true }, QStringLiteral("*"), Qt::AlignHCenter);
        lblVZ2[i]->setAccessibleName(QStringLiteral("mal"));
        lblVN2[i]->setAccessibleName(QStringLiteral("mal"));
        lblVZ2[i]->hide();
        lblVN2[i]->hide();
    }
}

void TrainerFrame::buildStepsAndSolution()
{
    for (const StepField& row : StepFields) {
        TextBox* field = makeTextBox(this, QString::fromLatin1(row.name), row.rect,
            row.wholeNumber ? WholeNumberFont : FieldFont,
            row.wholeNumber ? Qt::AlignRight : Qt::AlignHCenter, text(row.accessibleName));
        field->hide();
        this->*row.field = field;
        if (row.group)
            m_groups[std::size_t(*row.group)].push_back(field);
    }
    for (const LineRow& row : StepAndSolutionLines) {
        Line* line = makeLine(
            this, QStringLiteral("L") + QString::number(row.number), row.x1, row.y, row.x2, row.y);
        line->hide();
        m_stepAndSolutionLines.push_back(line);
        m_groups[std::size_t(row.group)].push_back(line);
    }
    for (const SolutionLabel& row : SolutionLabels) {
        QLabel* label = makeLabel(this, QString::fromLatin1(row.name), row.rect,
            row.wholeNumber ? WholeNumberFont : FieldFont, {},
            row.wholeNumber ? Qt::AlignRight : Qt::AlignHCenter);
        label->setAccessibleDescription(text(row.description));
        label->hide();
        this->*row.label = label;
        m_groups[std::size_t(row.group)].push_back(label);
    }
    lblG6->setText(QStringLiteral("="));
    lblEDB = makeLabel(this, QStringLiteral("lblEDB"), { 4800, 4620, 2535, 255 },
        { "Arial", 9.75, true }, {}, Qt::AlignLeft);
    lblEDB->setAccessibleDescription(text("Lösung als Dezimalzahl"));

    // A click opens or closes a row; the keyboard and screen readers do the same and then take
    // the pupil into the row that opened.
    for (int row = 3; row <= 5; ++row) {
        TextBox* box = stepBox(row);
        const QString number = QString::number(row);
        box->setActivation(QStringLiteral("Zeile %1 öffnen").arg(number),
            QStringLiteral("Eingabetaste oder Leertaste öffnet Zeile %1").arg(number));
        connect(box, &TextBox::clicked, this, [this, row] { stepBox_Click(row); });
        connect(box, &TextBox::activated, this, [this, row] {
            if (stepBox_Click(row))
                firstFieldOfRow(row)->setFocus(Qt::OtherFocusReason);
        });
    }
}

void TrainerFrame::buildCounters()
{
    for (const CounterLabel& row : CounterLabels) {
        QLabel* label = makeLabel(this, QString::fromLatin1(row.name), row.rect, FrameFont,
            text(row.caption), row.alignment);
        if (row.description)
            label->setAccessibleDescription(text(row.description));
        this->*row.label = label;
    }
    Label5 = makeLabel(this, QStringLiteral("Label5"), { 7440, 4680, 1005, 195 }, CreditFont,
        text("Pendro · 2013"), Qt::AlignRight);
    makeCreditLabel(Label5);
}

void TrainerFrame::installKeyRules()
{
    // A field of digits asks a tablet for the numeric on-screen keyboard; one that takes a sign
    // too keeps the full one, which has the signs.
    auto digits = [](TextBox* field) {
        field->setKeyRule([](std::uint16_t code) { return DigitKeyFilter(code); });
        field->setInputMethodHints(field->inputMethodHints() | Qt::ImhDigitsOnly);
    };
    auto signedDigits = [](TextBox* field) {
        field->setKeyRule([](std::uint16_t code, RuleField& text) {
            return SignedDigitKeyFilterOnEmptiness(code, text.isEmpty());
        });
    };
    // The rules reach their own field only through what they are given: while a paste is under
    // way that is the paste's copy of the text (see TextBox).
    auto operatorField = [](TextBox* field) {
        field->setKeyRule([](std::uint16_t code, RuleField& self) {
            if (code == KeyBackspace)
                self.clear();
            return OperatorKeyFilter(code, self.text().toStdString());
        });
    };
    // An "=" box shows its successor when "=" is typed and hides it again on Backspace.
    auto equalsBox = [](TextBox* box, TextBox* successor) {
        box->setKeyRule([successor](std::uint16_t code, RuleField& self) {
            if (code == KeyBackspace) {
                self.clear();
                if (successor)
                    successor->hide();
                return code;
            }
            const std::uint16_t result = EqualsBoxKeyFilter(code, self.text().toStdString());
            if (result != 0 && successor)
                successor->show();
            return result;
        });
    };

    const bool operatorFields = m_data.layout == TermLayout::OperatorFields;
    for (int i = 0; i < TermSlots; ++i) {
        if (operatorFields) {
            digits(txtZ1[i]);
            digits(txtZ2[i]);
            operatorField(txtV1[i]);
            operatorField(txtV2[i]);
        } else {
            signedDigits(txtZ1[i]);
            signedDigits(txtZ2[i]);
            digits(txtN2[i]);
        }
        digits(txtN1[i]);
    }
    if (operatorFields)
        digits(txtHN2);
    for (TextBox* field : { txtHN3, txtHN4, txtHN5 })
        digits(field);
    for (TextBox* field : { txtZ3, txtZ4, txtZ5, txtGZ5 })
        signedDigits(field);
    equalsBox(txtG2, txtG3);
    equalsBox(txtG3, txtG4);
    equalsBox(txtG4, txtG5);
    equalsBox(txtG5, nullptr);
    cbAG->setKeyRule([](std::uint16_t code) { return TermCountKeyFilter(code); });
}

void TrainerFrame::setTabOrder()
{
    std::vector<QWidget*> order;
    const bool operatorFields = m_data.layout == TermLayout::OperatorFields;
    for (int i = 0; i < TermSlots; ++i) {
        if (operatorFields)
            order.push_back(txtV1[i]);
        order.push_back(txtZ1[i]);
        order.push_back(txtN1[i]);
    }
    order.push_back(txtG2);
    for (int i = 0; i < TermSlots; ++i) {
        if (operatorFields)
            order.push_back(txtV2[i]);
        order.push_back(txtZ2[i]);
        if (!operatorFields)
            order.push_back(txtN2[i]);
    }
    if (operatorFields)
        order.push_back(txtHN2);
    for (const StepField& row : StepFields)
        order.push_back(this->*row.field);
    // From the answer to the check first; "C", which empties everything, last of the buttons.
    for (Button* button : { cbP, cbNeu, cbClear })
        order.push_back(button);
    order.push_back(cbAG);
    if (cbMinus)
        order.push_back(cbMinus);
    for (std::size_t i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
}

std::optional<std::int16_t> TrainerFrame::termCount() const
{
    return parseInt16(cbAG->currentText().toStdString());
}

namespace {
// A hidden range box reads as its limit; the windows keep both at "10".
int rangeLimit(const ComboBox* box)
{
    const std::optional<std::int16_t> limit = parseInt16(box->currentText().toStdString());
    return std::max(1, static_cast<int>(limit.value_or(10)));
}
}

int TrainerFrame::numeratorLimit() const
{
    return rangeLimit(cbZBZ);
}

int TrainerFrame::denominatorLimit() const
{
    return rangeLimit(cbZBN);
}

std::optional<QString> TrainerFrame::cbAG_Change(const QString& text)
{
    if (text.isEmpty())
        return QStringLiteral("2");
    // A text too long for 16 bits is "greater than 5" as well.
    const std::optional<std::int16_t> count = parseInt16(text.toStdString());
    if (!count || *count > 5)
        return QStringLiteral("5");
    return std::nullopt;
}

void TrainerFrame::ResetFields()
{
    auto emptyAndHide = [](QWidget* control) {
        if (!control)
            return;
        if (auto* box = qobject_cast<QLineEdit*>(control))
            box->clear();
        else if (auto* label = qobject_cast<QLabel*>(control))
            label->clear();
        control->hide();
    };
    for (int i = 0; i < TermSlots; ++i) {
        for (QWidget* field : { static_cast<QWidget*>(txtZ1[i]), static_cast<QWidget*>(txtN1[i]),
                 static_cast<QWidget*>(txtZ2[i]), static_cast<QWidget*>(txtV1[i]),
                 static_cast<QWidget*>(txtV2[i]), static_cast<QWidget*>(txtN2[i]) })
            emptyAndHide(field);
        L1[i]->hide();
    }
    emptyAndHide(txtG2);
    emptyAndHide(txtHN2);
    for (const StepField& row : StepFields)
        emptyAndHide(this->*row.field);
    for (const SolutionLabel& row : SolutionLabels)
        emptyAndHide(this->*row.label);
    for (int i = 0; i < SignSlots; ++i) {
        for (QLabel* sign : { lblV1[i], lblVZ2[i], lblVN2[i] })
            if (sign)
                sign->hide();
    }
    L2->hide();
    for (Line* line : m_stepAndSolutionLines)
        line->hide();
    lblEDB->clear();
}

void TrainerFrame::showCounters()
{
    lblGut->setText(QString::number(m_counters.correct));
    lblVon->setText(QString::number(m_counters.exercises));
    lblVersuche->setText(QString::number(m_counters.attempts));
    lblVT->setText(
        m_counters.attempts == 1 ? QStringLiteral("Versuch") : QStringLiteral("Versuche"));
}

void TrainerFrame::cbClear_Click()
{
    ResetFields();
    m_counters = {};
    showCounters();
    cbNeu->show();
}

void TrainerFrame::finishNewExercise(QWidget* firstOfRowTwo)
{
    txtG2->show();
    txtG3->show();
    firstOfRowTwo->setFocus();
    m_counters.exercises = raisedCount(m_counters.exercises);
    lblVon->setText(QString::number(m_counters.exercises));
    cbNeu->hide();
    cbP->show();
}

void TrainerFrame::showRowTwoBar(int last)
{
    L2->setX1(RowLeft);
    L2->setX2(barRight(last));
    L2->show();
}

bool TrainerFrame::stepRowFilled(int row) const
{
    const auto filled = [](const TextBox* numerator, const TextBox* denominator) {
        return !numerator->text().isEmpty() && !denominator->text().isEmpty();
    };
    return row == 3 ? filled(txtZ3, txtHN3) : filled(txtZ4, txtHN4);
}

void TrainerFrame::setShown(std::initializer_list<QWidget*> controls, bool shown)
{
    for (QWidget* control : controls)
        control->setVisible(shown);
}

void TrainerFrame::setGroupShown(ControlGroup group, bool shown)
{
    for (QWidget* control : m_groups[std::size_t(group)])
        control->setVisible(shown);
}

TextBox* TrainerFrame::stepBox(int row) const
{
    return row == 3 ? txtG3 : row == 4 ? txtG4 : txtG5;
}

QWidget* TrainerFrame::firstFieldOfRow(int row) const
{
    return row == 3 ? txtZ3 : row == 4 ? txtZ4 : txtGZ5;
}

// The box opens the step row behind it and writes "=" into itself, or closes the row and
// empties itself. Closing hides the fields but keeps their texts; rows further right stay as
// they are.
bool TrainerFrame::stepBox_Click(int row)
{
    const std::optional<bool> filled = rowBeforeFilled(row);
    if (!filled)
        return false;
    static constexpr std::array<ControlGroup, 3> Rows { ControlGroup::StepRow3,
        ControlGroup::StepRow4, ControlGroup::StepRow5 };
    setGroupShown(Rows[std::size_t(row - 3)], *filled);
    stepBox(row)->setText(*filled ? QStringLiteral("=") : QString());
    return *filled;
}

void TrainerFrame::cbP_Click()
{
    try {
        checkResult();
    } catch (const CheckFailure&) {
        // The check ends where it failed: nothing is counted, and what it had shown or written
        // into the main window so far stays.
    }
}

void TrainerFrame::showMixedNumber(
    std::int64_t numerator, std::int64_t denominator, bool restInRange)
{
    require(denominator != 0);
    const MixedNumber mixed = mixedNumber(numerator, denominator);
    if (!mixed.whole) {
        lblGZ->clear();
        lblEZ2->setText(wholeNumberText(*mixed.restNumerator));
        lblEN2->setText(wholeNumberText(mixed.restDenominator));
        return;
    }
    lblGZ->setText(wholeNumberText(*mixed.whole));
    if (!mixed.restNumerator) {
        lblEZ2->clear();
        lblEN2->clear();
        return;
    }
    lblEN2->setText(wholeNumberText(mixed.restDenominator));
    require(restInRange);
    lblEZ2->setText(wholeNumberText(*mixed.restNumerator));
}

void TrainerFrame::showDecimal(std::int64_t numerator, std::int64_t denominator)
{
    lblEDB->setText(QString::fromStdString(
        formatDecimalPattern(static_cast<double>(numerator) / static_cast<double>(denominator))));
}

void TrainerFrame::judgeAnswer()
{
    // Exact texts: a blank, a plus sign, a leading zero or a "0" for an absent part is wrong.
    const bool correct = txtGZ5->text() == lblGZ->text() && txtZ5->text() == lblEZ2->text()
        && txtHN5->text() == lblEN2->text();
    if (correct)
        m_counters.correct = raisedCount(m_counters.correct);
    m_counters.attempts = raisedCount(m_counters.attempts);
    showCounters();
    if (correct) {
        cbNeu->show();
        cbP->hide();
    }
    m_main.ClearMainFields();
    announceOutcome(correct);
}

// A screen reader hears at once what a sighted pupil sees below the rows: whether the answer
// was right, and the solution as the mixed number shows it.
void TrainerFrame::announceOutcome(bool correct)
{
    QStringList solution;
    if (!lblGZ->text().isEmpty())
        solution << lblGZ->text();
    if (!lblEZ2->text().isEmpty())
        solution << lblEZ2->text() + QLatin1Char('/') + lblEN2->text();
    m_announcement->announce((correct ? QStringLiteral("Richtig! Die Lösung ist %1.")
                                      : QStringLiteral("Leider falsch. Die Lösung ist %1."))
                                 .arg(solution.join(QLatin1Char(' '))));
}

} // namespace pendro
