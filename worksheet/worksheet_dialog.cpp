// SPDX-License-Identifier: GPL-3.0-or-later
#include "worksheet/worksheet_dialog.h"

#include <algorithm>
#include <optional>

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QRandomGenerator>
#include <QSpinBox>
#include <QStandardPaths>

#include "core/key_filters.h"
#include "core/number_text.h"
#include "toolkit/controls.h"
#include "toolkit/file_saving.h"
#include "toolkit/keyboard.h"
#include "toolkit/text_box.h"
#include "toolkit/zoom.h"
#include "worksheet/worksheet_pdf.h"

namespace pendro {

namespace {

constexpr double ClientWidth = 5700;
constexpr double ClientHeight = 4320;
constexpr double LabelLeft = 120;
constexpr double LabelWidth = 2160;
constexpr double ControlLeft = 2400;
constexpr double RowTop = 120;
constexpr double RowStep = 420;
constexpr double RowHeight = 330;
constexpr FontSpec DialogFont { "Arial", 9.75, false };
constexpr int DefaultCount = 10;
constexpr int SheetNumberDigits = 6;

// The number ranges in the order of cbZahlenbereich.
constexpr const char* RangeCaptions[] = { "bis 100", "bis 1000", "bis 10000" };

TwipsRect rowRect(int row, double left, double width)
{
    return { left, RowTop + row * RowStep, width, RowHeight };
}

// The caption of a setting, its letter underlined; it names its control for a screen reader.
QLabel* makeCaption(QWidget* window, const char* name, int row, const char* caption, QWidget* buddy)
{
    auto* label = new QLabel(QString::fromUtf8(caption), window);
    placeControl(label, QString::fromLatin1(name), rowRect(row, LabelLeft, LabelWidth), DialogFont);
    label->setBuddy(buddy);
    return label;
}

// A dialog's push buttons take Return and keypad Enter when focused, as Space.
QPushButton* makeButton(
    QWidget* window, const char* name, const TwipsRect& rect, const char* caption)
{
    auto* button = new QPushButton(window);
    placeControl(button, QString::fromLatin1(name), rect, DialogFont);
    button->setText(QString::fromUtf8(caption));
    return button;
}

QString randomSheetNumber()
{
    return QString::number(QRandomGenerator::global()->bounded(MinSheetNumber, MaxSheetNumber + 1));
}

// Digits and Backspace; the control keys (copy, paste, undo) keep their work.
KeyCode sheetNumberKeyFilter(KeyCode code)
{
    return (code >= '0' && code <= '9') || code < 32 ? code : 0;
}

} // namespace

WorksheetDialog::WorksheetDialog(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmArbeitsblatt"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Arbeitsblatt erstellen"));
    setWindowIcon(pendroIcon());
    setScalableFont(this, makeFont(DefaultFont));
    setClientSizeTwips(this, ClientWidth, ClientHeight);
    buildControls();
    closeOnKeys(this, { QKeySequence::Close });

    m_choosePath = [this](const QString& suggestedPath) {
        return askSavePath(this, QStringLiteral("Arbeitsblatt speichern"), suggestedPath,
            QStringLiteral("PDF-Dokumente (*.pdf)"), QStringLiteral("pdf"));
    };
    m_askToOpen = [this](const QString& path) {
        return QMessageBox::question(this, QStringLiteral("Arbeitsblatt gespeichert"),
                   QStringLiteral("Das Arbeitsblatt ist gespeichert:\n%1\n\nJetzt im "
                                  "PDF-Betrachter öffnen, um es zu drucken?")
                       .arg(QDir::toNativeSeparators(path)),
                   QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes)
            == QMessageBox::Yes;
    };
    m_open = openWithDesktop;
}

void WorksheetDialog::buildControls()
{
    cbAufgabenart = new QComboBox(this);
    placeControl(
        cbAufgabenart, QStringLiteral("cbAufgabenart"), rowRect(0, ControlLeft, 3180), DialogFont);
    for (const WorksheetKindInfo& info : WorksheetKinds)
        cbAufgabenart->addItem(QString::fromUtf8(info.caption));
    makeCaption(this, "Label1", 0, "&Aufgabenart:", cbAufgabenart);

    cbAG = new QComboBox(this);
    placeControl(cbAG, QStringLiteral("cbAG"), rowRect(1, ControlLeft, 735), DialogFont);
    makeCaption(this, "Label2", 1, "Anzahl &Glieder:", cbAG);

    cbMinus = new QCheckBox(this);
    placeControl(cbMinus, QStringLiteral("cbMinus"), rowRect(2, ControlLeft, 300), DialogFont);
    makeCaption(this, "Label3", 2, "&negative Zähler erlauben:", cbMinus);

    cbZahlenbereich = new QComboBox(this);
    placeControl(cbZahlenbereich, QStringLiteral("cbZahlenbereich"), rowRect(3, ControlLeft, 1500),
        DialogFont);
    for (const char* caption : RangeCaptions)
        cbZahlenbereich->addItem(QString::fromLatin1(caption));
    makeCaption(this, "Label4", 3, "&Zahlenbereich:", cbZahlenbereich);

    spAnzahl = new QSpinBox(this);
    placeControl(spAnzahl, QStringLiteral("spAnzahl"), rowRect(4, ControlLeft, 900), DialogFont);
    spAnzahl->setRange(MinExercises, MaxExercises);
    spAnzahl->setValue(DefaultCount);
    makeCaption(this, "Label5", 4, "Anzahl Au&fgaben:", spAnzahl);

    txtBlattnummer = new TextBox(this);
    placeControl(txtBlattnummer, QStringLiteral("txtBlattnummer"), rowRect(5, ControlLeft, 1200),
        DialogFont, QStringLiteral("Dieselbe Nummer gibt dasselbe Blatt"));
    txtBlattnummer->setMaxLength(SheetNumberDigits);
    txtBlattnummer->setKeyRule(TextBox::CodeRule(sheetNumberKeyFilter));
    txtBlattnummer->setText(randomSheetNumber());
    makeCaption(this, "Label6", 5, "&Blattnummer:", txtBlattnummer);
    cbNeueNummer = makeButton(
        this, "cbNeueNummer", { 3720, RowTop + 5 * RowStep - 30, 1860, 390 }, "Neue Nu&mmer");

    cbLoesungsblatt = new QCheckBox(this);
    placeControl(cbLoesungsblatt, QStringLiteral("cbLoesungsblatt"), rowRect(6, ControlLeft, 300),
        DialogFont);
    cbLoesungsblatt->setChecked(true);
    makeCaption(this, "Label7", 6, "&Lösungsblatt:", cbLoesungsblatt);

    lblHinweis = new QLabel(this);
    placeControl(
        lblHinweis, QStringLiteral("lblHinweis"), { LabelLeft, 3060, 5460, 630 }, DialogFont);
    lblHinweis->setWordWrap(true);
    lblHinweis->setTextFormat(Qt::PlainText);

    cbSpeichern = makeButton(this, "cbSpeichern", { 2280, 3780, 1620, 420 }, "&Speichern …");
    cbSchliessen = makeButton(this, "cbSchliessen", { 3960, 3780, 1620, 420 }, "S&chließen");
    cbSpeichern->setDefault(true);

    connect(cbAufgabenart, &QComboBox::currentIndexChanged, this,
        &WorksheetDialog::cbAufgabenart_Change);
    connect(cbNeueNummer, &QPushButton::clicked, this, &WorksheetDialog::cbNeueNummer_Click);
    connect(cbSpeichern, &QPushButton::clicked, this, &WorksheetDialog::cbSpeichern_Click);
    connect(cbSchliessen, &QPushButton::clicked, this, &QWidget::close);
    cbAufgabenart_Change();
}

// The term counts the kind allows, the current one kept where it still may be; the settings that
// the kind does not use are disabled.
void WorksheetDialog::cbAufgabenart_Change()
{
    const auto kind = static_cast<WorksheetKind>(cbAufgabenart->currentIndex());
    const int most = maxTerms(kind);
    const QString current = cbAG->currentText();
    cbAG->clear();
    for (int terms = MinTerms; terms <= std::max(most, MinTerms); ++terms)
        cbAG->addItem(QString::number(terms));
    cbAG->setCurrentIndex(std::max(0, cbAG->findText(current)));
    cbAG->setEnabled(most > 0);
    cbMinus->setEnabled(kind == WorksheetKind::Mul || kind == WorksheetKind::Div);
    cbZahlenbereich->setEnabled(!isFractionKind(kind));
}

void WorksheetDialog::cbNeueNummer_Click()
{
    txtBlattnummer->setText(randomSheetNumber());
}

WorksheetSettings WorksheetDialog::settings() const
{
    WorksheetSettings settings;
    settings.kind = static_cast<WorksheetKind>(cbAufgabenart->currentIndex());
    settings.terms = cbAG->currentText().toInt();
    settings.negativeNumerators = cbMinus->isEnabled() && cbMinus->isChecked();
    settings.range = NumberRanges[std::max(0, cbZahlenbereich->currentIndex())];
    settings.count = spAnzahl->value();
    const std::optional<std::int32_t> number = parseInt32(txtBlattnummer->text().toStdString());
    settings.sheetNumber = number && *number > 0 ? static_cast<std::uint32_t>(*number) : 0;
    settings.solutions = cbLoesungsblatt->isChecked();
    return settings;
}

QString WorksheetDialog::suggestedFileName(const WorksheetSettings& settings) const
{
    return QStringLiteral("Arbeitsblatt %1 %2.pdf")
        .arg(QString::fromUtf8(worksheetKindInfo(settings.kind).caption))
        .arg(settings.sheetNumber);
}

void WorksheetDialog::cbSpeichern_Click()
{
    const WorksheetSettings settings = this->settings();
    const std::string problem = settingsProblem(settings);
    if (!problem.empty()) {
        lblHinweis->setText(QString::fromStdString(problem));
        txtBlattnummer->setFocus();
        return;
    }
    const QByteArray pdf = worksheetPdf(settings);
    const QString fileName = suggestedFileName(settings);
    if (savesByDownload()) {
        offerDownload(pdf, fileName);
        lblHinweis->setText(
            QStringLiteral("Das Arbeitsblatt wird als „%1“ heruntergeladen.").arg(fileName));
        return;
    }
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const QString path = m_choosePath(QDir(folder).filePath(fileName));
    if (path.isEmpty())
        return;
    const QString failure = writeFileReplacing(path, pdf);
    if (!failure.isEmpty()) {
        lblHinweis->setText(failure);
        return;
    }
    lblHinweis->setText(QStringLiteral("Gespeichert: %1").arg(QDir::toNativeSeparators(path)));
    if (m_askToOpen(path))
        m_open(path);
}

} // namespace pendro
