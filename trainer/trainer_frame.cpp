// SPDX-License-Identifier: GPL-3.0-or-later
#include "trainer/trainer_frame.h"

#include "core/key_filters.h"
#include "core/number_text.h"
#include "toolkit/controls.h"

namespace pendro {

const TrainerKindData AddSubKind { TrainerKind::AddSub, "frmTAS",
    "Trainer für die Addition und Subtraktion gemeiner Brüche", "Ergebnis Überprüfen", 8.25,
    "Zahlbereich Zähler bis:", "Zahlbereich Nenner bis:", 2, true, "", 18.0, "" };
const TrainerKindData MulKind { TrainerKind::Mul, "frmTM",
    "Trainer für die Multiplikation gemeiner Brüche", "Ergebnis überprüfen", 9.75,
    "Zähler bis:", "Nenner bis:", 4, false, "*", 18.0, "mal" };
const TrainerKindData DivKind { TrainerKind::Div, "frmTD",
    "Trainer für die Division gemeiner Brüche", "Ergebnis Überprüfen", 9.75,
    "Zähler bis:", "Nenner bis:", 4, false, ":", 24.0, "geteilt durch" };

namespace {
constexpr double ClientWidth = 8490;
constexpr double ClientHeight = 4905;
constexpr double ColumnStep = 1200;
constexpr double FieldHeight = 360;
constexpr double FractionWidth = 735;
constexpr double SmallBoxWidth = 255;

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

// Step rows and solution display stand at the same places in all three windows.
struct LineRow
{
    int number;
    double x1, x2, y;
};
constexpr LineRow StepAndSolutionLines[] = {
    { 3, 360, 2640, 3060 },
    { 4, 3120, 4320, 3060 },
    { 5, 3120, 4380, 3480 },
    { 6, 3120, 4380, 3540 },
    { 7, 6360, 7260, 3060 },
    { 8, 4800, 7260, 3480 },
    { 9, 4800, 7260, 3540 },
    { 10, 3120, 4320, 4080 },
    { 11, 3120, 4320, 4500 },
    { 12, 3120, 4320, 4560 },
    { 13, 6360, 7260, 4080 },
    { 14, 4800, 7260, 4500 },
    { 15, 4800, 7260, 4560 },
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
    setFont(makeFont(DefaultFont));
    setClientSizeTwips(this, ClientWidth, ClientHeight);

    buildSettingsAndButtons();
    buildExerciseRows();
    buildStepRows();
    buildSolutionAndCounters();
    installKeyRules();
    setTabOrder();
    showCounters();
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

// A label that shows a result: its text is what a screen reader reads, the description
// says what it is.
QLabel* makeResultLabel(QWidget* form, const QString& name, const TwipsRect& rect,
    const FontSpec& font, const char* description, Qt::Alignment alignment)
{
    QLabel* label = makeLabel(form, name, rect, font, {}, alignment);
    label->setAccessibleDescription(text(description));
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
    for (QWidget* hidden : { static_cast<QWidget*>(Label7), static_cast<QWidget*>(cbZBZ),
             static_cast<QWidget*>(Label8), static_cast<QWidget*>(cbZBN) })
        hidden->hide();

    if (!m_data.operatorFields) {
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

void TrainerFrame::buildExerciseRows()
{
    const bool addSub = m_data.operatorFields;
    // The addition window puts an operator field in front of each term and shifts its fractions.
    const double fractionLeft = addSub ? 720 : 360;
    const double row1Top = addSub ? 660 : 720;
    const double row1Bar = row1Top + FieldHeight;
    const double row1BottomTop = row1Bar + 60;

    for (int i = 0; i < TermSlots; ++i) {
        const double column = ColumnStep * i;
        const double left = fractionLeft + column;
        const QString k = QString::number(i + 1);
        txtZ1[i] = makeTextBox(this, arrayName("txtZ1", i),
            { left, row1Top, FractionWidth, FieldHeight }, FieldFont, Qt::AlignHCenter,
            text("Zähler ") + k);
        L1[i] = makeLine(this, arrayName("L1", i), left, row1Bar, left + 720, row1Bar);
        txtN1[i] = makeTextBox(this, arrayName("txtN1", i),
            { left, row1BottomTop, FractionWidth, FieldHeight }, FieldFont, Qt::AlignHCenter,
            QStringLiteral("Nenner ") + k);
        txtZ2[i]
            = makeTextBox(this, arrayName("txtZ2", i), { left, 1680, FractionWidth, FieldHeight },
                FieldFont, Qt::AlignHCenter, text("Zähler ") + k + QStringLiteral(" in Zeile 2"));
        txtZ2[i]->hide();
        if (addSub) {
            txtV1[i] = makeTextBox(this, arrayName("txtV1", i),
                { 360 + column, 840, SmallBoxWidth, FieldHeight }, FieldFont, Qt::AlignLeft,
                QStringLiteral("Rechenzeichen ") + k);
            txtV2[i] = makeTextBox(this, arrayName("txtV2", i),
                { 360 + column, 1680, SmallBoxWidth, FieldHeight }, FieldFont, Qt::AlignLeft,
                QStringLiteral("Rechenzeichen ") + k + QStringLiteral(" in Zeile 2"));
            txtV2[i]->hide();
        } else {
            txtN2[i] = makeTextBox(this, arrayName("txtN2", i),
                { left, 2100, FractionWidth, FieldHeight }, FieldFont, Qt::AlignHCenter,
                QStringLiteral("Nenner ") + k + QStringLiteral(" in Zeile 2"));
            txtN2[i]->hide();
        }
        if (i >= 2) {
            for (QWidget* column : { static_cast<QWidget*>(txtZ1[i]),
                     static_cast<QWidget*>(txtN1[i]), static_cast<QWidget*>(L1[i]) })
                column->hide();
            if (addSub)
                txtV1[i]->hide();
        }
    }

    if (!addSub) {
        const double signHeight = m_data.signFontPoints > 20 ? 480 : FieldHeight;
        for (int i = 0; i < SignSlots; ++i) {
            const double left = 1200 + ColumnStep * i;
            lblV1[i] = makeLabel(this, arrayName("lblV1", i),
                { left, row1Bar - signHeight / 2, SmallBoxWidth, signHeight },
                { "Arial", m_data.signFontPoints, true }, QString::fromLatin1(m_data.signText),
                Qt::AlignHCenter);
            lblV1[i]->setAccessibleName(text(m_data.signAccessibleName));
            lblV1[i]->setVisible(i == 0);
            lblVZ2[i] = makeLabel(this, arrayName("lblVZ2", i),
                { left, 1680, SmallBoxWidth, FieldHeight }, { "Arial", 18.0, true },
                QStringLiteral("*"), Qt::AlignHCenter);
            lblVN2[i] = makeLabel(this, arrayName("lblVN2", i),
                { left, 2100, SmallBoxWidth, FieldHeight }, { "Arial", 18.0, true },
                QStringLiteral("*"), Qt::AlignHCenter);
            lblVZ2[i]->setAccessibleName(QStringLiteral("mal"));
            lblVN2[i]->setAccessibleName(QStringLiteral("mal"));
            lblVZ2[i]->hide();
            lblVN2[i]->hide();
        }
    }

    txtG2 = makeTextBox(this, QStringLiteral("txtG2"), { 60, 1920, SmallBoxWidth, FieldHeight },
        FieldFont, Qt::AlignHCenter, QStringLiteral("Gleichheitszeichen vor Zeile 2"));
    txtG2->setText(addSub ? QString() : QStringLiteral("="));
    txtG2->hide();
    L2 = makeLine(this, QStringLiteral("L2"), 360, 2040, 1440, 2040);
    L2->hide();
    if (addSub) {
        txtHN2 = makeTextBox(this, QStringLiteral("txtHN2"), { 360, 2100, 2295, FieldHeight },
            FieldFont, Qt::AlignHCenter, QStringLiteral("Hauptnenner in Zeile 2"));
        txtHN2->hide();
    }
}

void TrainerFrame::buildStepRows()
{
    auto box = [this](const char* name, const TwipsRect& rect, const char* accessibleName,
                   const FontSpec& font = FieldFont, Qt::Alignment alignment = Qt::AlignHCenter) {
        TextBox* field = makeTextBox(
            this, QString::fromLatin1(name), rect, font, alignment, text(accessibleName));
        field->hide();
        return field;
    };
    txtG3
        = box("txtG3", { 60, 2880, SmallBoxWidth, FieldHeight }, "Gleichheitszeichen vor Zeile 3");
    txtZ3 = box("txtZ3", { 360, 2700, 2295, FieldHeight }, "Zähler in Zeile 3");
    txtHN3 = box("txtHN3", { 360, 3120, 2295, FieldHeight }, "Nenner in Zeile 3");
    txtG4 = box(
        "txtG4", { 2760, 2880, SmallBoxWidth, FieldHeight }, "Gleichheitszeichen vor Zeile 4");
    txtZ4 = box("txtZ4", { 3120, 2700, 1215, FieldHeight }, "Zähler in Zeile 4");
    txtHN4 = box("txtHN4", { 3120, 3120, 1215, FieldHeight }, "Nenner in Zeile 4");
    txtG5 = box(
        "txtG5", { 4440, 2880, SmallBoxWidth, FieldHeight }, "Gleichheitszeichen vor Zeile 5");
    txtGZ5 = box("txtGZ5", { 4800, 2700, 1515, 675 }, "Ganze Zahl der Antwort", WholeNumberFont,
        Qt::AlignRight);
    txtZ5 = box("txtZ5", { 6360, 2700, 915, FieldHeight }, "Zähler der Antwort");
    txtHN5 = box("txtHN5", { 6360, 3120, 915, FieldHeight }, "Nenner der Antwort");

    for (const LineRow& row : StepAndSolutionLines) {
        lines[row.number] = makeLine(
            this, QStringLiteral("L") + QString::number(row.number), row.x1, row.y, row.x2, row.y);
        lines[row.number]->hide();
    }

    connect(txtG3, &TextBox::clicked, this, [this] { txtG3_Click(); });
    connect(txtG4, &TextBox::clicked, this, [this] { txtG4_Click(); });
    connect(txtG5, &TextBox::clicked, this, [this] { txtG5_Click(); });
}

void TrainerFrame::buildSolutionAndCounters()
{
    auto result = [this](const char* name, const TwipsRect& rect, const char* description,
                      const FontSpec& font = FieldFont,
                      Qt::Alignment alignment = Qt::AlignHCenter) {
        QLabel* label
            = makeResultLabel(this, QString::fromLatin1(name), rect, font, description, alignment);
        label->hide();
        return label;
    };
    lblEZ1 = result("lblEZ1", { 3120, 3720, 1215, FieldHeight }, "Lösung Zähler");
    lblEN1 = result("lblEN1", { 3120, 4140, 1215, FieldHeight }, "Lösung Nenner");
    lblG6 = result(
        "lblG6", { 4440, 3930, SmallBoxWidth, FieldHeight }, "Gleichheitszeichen der Lösung");
    lblG6->setText(QStringLiteral("="));
    lblGZ = result(
        "lblGZ", { 4800, 3720, 1515, 675 }, "Lösung ganze Zahl", WholeNumberFont, Qt::AlignRight);
    lblEZ2 = result("lblEZ2", { 6360, 3720, 915, FieldHeight }, "Lösung Zähler des Rests");
    lblEN2 = result("lblEN2", { 6360, 4140, 915, FieldHeight }, "Lösung Nenner des Rests");
    lblEDB = makeResultLabel(this, QStringLiteral("lblEDB"), { 4800, 4620, 2535, 255 },
        { "Arial", 9.75, true }, "Lösung als Dezimalzahl", Qt::AlignLeft);

    auto counter = [this](const char* name, const TwipsRect& rect, const char* caption,
                       const char* description, Qt::Alignment alignment) {
        QLabel* label
            = makeLabel(this, QString::fromLatin1(name), rect, FrameFont, text(caption), alignment);
        if (description)
            label->setAccessibleDescription(text(description));
        return label;
    };
    lblVersuche = counter("lblVersuche", { 60, 4620, 555, 255 }, "0", "Versuche", Qt::AlignRight);
    lblVT = counter(
        "lblVT", { 675, 4620, 825, 255 }, "Versuche", "Versuch oder Versuche", Qt::AlignLeft);
    lblGut = counter("lblGut", { 1500, 4620, 540, 255 }, "0", "richtig", Qt::AlignRight);
    Label2 = counter("Label2", { 2085, 4620, 375, 255 }, "von", nullptr, Qt::AlignHCenter);
    lblVon = counter("lblVon", { 2490, 4620, 540, 255 }, "0", "Aufgaben", Qt::AlignLeft);
    Label4 = counter("Label4", { 3045, 4620, 735, 255 }, "richtig.", nullptr, Qt::AlignLeft);
    Label5 = makeLabel(this, QStringLiteral("Label5"), { 7440, 4680, 1005, 195 }, CreditFont,
        text("Pendro · 2013"), Qt::AlignRight);
    makeCreditLabel(Label5);
}

void TrainerFrame::installKeyRules()
{
    auto digits = [](TextBox* field) {
        field->setKeyRule([](std::uint16_t code) { return DigitKeyFilter(code); });
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

    const bool addSub = m_data.operatorFields;
    for (int i = 0; i < TermSlots; ++i) {
        if (addSub) {
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
    if (addSub)
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
    const bool addSub = m_data.operatorFields;
    for (int i = 0; i < TermSlots; ++i) {
        if (addSub)
            order.push_back(txtV1[i]);
        order.push_back(txtZ1[i]);
        order.push_back(txtN1[i]);
    }
    order.push_back(txtG2);
    for (int i = 0; i < TermSlots; ++i) {
        if (addSub)
            order.push_back(txtV2[i]);
        order.push_back(txtZ2[i]);
        if (!addSub)
            order.push_back(txtN2[i]);
    }
    if (addSub)
        order.push_back(txtHN2);
    for (TextBox* field :
        { txtG3, txtZ3, txtHN3, txtG4, txtZ4, txtHN4, txtG5, txtGZ5, txtZ5, txtHN5 })
        order.push_back(field);
    if (addSub) {
        for (Button* button : { cbP, cbNeu, cbClear })
            order.push_back(button);
    } else {
        for (Button* button : { cbClear, cbNeu, cbP })
            order.push_back(button);
    }
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
    for (TextBox* field :
        { txtG2, txtG3, txtG4, txtG5, txtZ3, txtHN3, txtZ4, txtHN4, txtZ5, txtHN5, txtGZ5, txtHN2 })
        emptyAndHide(field);
    for (QLabel* label : { lblEZ1, lblEN1, lblG6, lblGZ, lblEZ2, lblEN2 })
        emptyAndHide(label);
    for (int i = 0; i < SignSlots; ++i) {
        for (QLabel* sign : { lblV1[i], lblVZ2[i], lblVN2[i] })
            if (sign)
                sign->hide();
    }
    L2->hide();
    for (Line* line : lines)
        if (line)
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
    m_counters.correct = 0;
    m_counters.exercises = 0;
    lblGut->setText(QStringLiteral("0"));
    lblVon->setText(QStringLiteral("0"));
    m_counters.attempts = 0;
    lblVersuche->setText(QStringLiteral("0"));
    cbNeu->show();
    lblVT->setText(QStringLiteral("Versuche"));
}

void TrainerFrame::countNewExercise()
{
    m_counters.exercises = raisedCount(m_counters.exercises);
    lblVon->setText(QString::number(m_counters.exercises));
}

void TrainerFrame::countCheck(bool correct)
{
    if (correct) {
        m_counters.correct = raisedCount(m_counters.correct);
        lblGut->setText(QString::number(m_counters.correct));
    }
    m_counters.attempts = raisedCount(m_counters.attempts);
    lblVersuche->setText(QString::number(m_counters.attempts));
    if (correct) {
        cbNeu->show();
        cbP->hide();
    }
    lblVT->setText(
        m_counters.attempts == 1 ? QStringLiteral("Versuch") : QStringLiteral("Versuche"));
}

float TrainerFrame::reseededDraw()
{
    m_random.reseedFromClock();
    return m_random.draw();
}

} // namespace pendro
