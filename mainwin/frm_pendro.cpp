// SPDX-License-Identifier: GPL-3.0-or-later
#include "mainwin/frm_pendro.h"

#include <string>

#include <QAbstractListModel>
#include <QAction>
#include <QCloseEvent>
#include <QKeySequence>
#include <QLabel>
#include <QLayout>
#include <QListView>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QShortcut>

#include "core/key_filters.h"
#include "core/prime_table.h"
#include "toolkit/button.h"
#include "toolkit/controls.h"
#include "toolkit/keyboard.h"
#include "toolkit/text_box.h"
#include "toolkit/zoom.h"

namespace pendro {

namespace {

// Client area of the window.
constexpr double ClientWidth = 7020;
constexpr double ClientHeight = 3735;

constexpr double RowTop = 300;
constexpr double RowStep = 300;

constexpr FontSpec ButtonFont { "Arial", 14.25, true };
constexpr FontSpec ListFont { "Arial", 8.25, false };

// The captions "Zahl1:" .. "Zahl8:" of rows 0..7; their names do not follow the row order.
constexpr std::array<const char*, NumberFieldCount> NumberLabelNames { "Label1", "Label2", "Label8",
    "Label7", "Label10", "Label12", "Label13", "Label14" };

struct LabelRow
{
    const char* name;
    const char* caption;
    const char* toolTip;
    TwipsRect rect;
};

constexpr std::array<LabelRow, 9> LabelRows { {
    { "Label9", "Primfaktorzerlegung:", nullptr, { 2100, 60, 1875, 255 } },
    { "Label11", "Primzahlen", nullptr, { 1080, 2760, 915, 255 } },
    { "Label3", " bis 131072:", nullptr, { 1080, 3000, 915, 255 } },
    { "lblAnz", "", "Anzahl der Primfaktoren in der Liste.", { 420, 2760, 615, 195 } },
    { "Label6", "kgV:", "kleinstes gemeinsame Vielfache", { 3540, 2760, 315, 255 } },
    { "lblKGV", "", "kleinstes gemeinsames Vielfache", { 3900, 2760, 2235, 255 } },
    { "Label5", "ggT:", "größter gemeinsamer Teiler", { 3540, 3060, 315, 255 } },
    { "lblGGT", "", "größter gemeinsamer Teiler", { 3900, 3060, 1155, 255 } },
    { "Label4", "Pendro · 2013", nullptr, { 0, 3480, 1575, 195 } },
} };

constexpr const char* NumberToolTip = "Nur Ziffern erlaubt (kein Komma und kein Punkt).";

QString fromUtf8(const char* text)
{
    return text ? QString::fromUtf8(text) : QString();
}

QString windowTitleText()
{
    return QStringLiteral("Pendro       Version %1.%2.%3")
        .arg(PENDRO_VERSION_MAJOR)
        .arg(PENDRO_VERSION_MINOR)
        .arg(PENDRO_VERSION_PATCH);
}

// List1 shows the prime table as it is; one model row per prime instead of 12251 items.
class PrimeListModel : public QAbstractListModel
{
public:
    using QAbstractListModel::QAbstractListModel;

    int rowCount(const QModelIndex& parent = {}) const override
    {
        return parent.isValid() ? 0 : PrimeCount;
    }

    QVariant data(const QModelIndex& index, int role) const override
    {
        if (!index.isValid() || role != Qt::DisplayRole)
            return {};
        return QString::number(PrimeTable()[static_cast<std::size_t>(index.row())]);
    }
};

// The entries of the menu "Ansicht". Where the platform has standard keys for a zoom they come
// first (the menu shows the first); Ctrl+= zooms in as well, for keyboards where "+" needs Shift.
struct ZoomEntry
{
    const char* name;
    const char* caption;
    ZoomChange change;
};
constexpr std::array<ZoomEntry, 3> ZoomEntries { {
    { "menVergroessern", "&Vergrößern", ZoomChange::In },
    { "menVerkleinern", "Ver&kleinern", ZoomChange::Out },
    { "menOriginalgroesse", "&Originalgröße", ZoomChange::Reset },
} };

QList<QKeySequence> zoomKeys(ZoomChange change)
{
    QList<QKeySequence> keys;
    switch (change) {
    case ZoomChange::In:
        keys = QKeySequence::keyBindings(QKeySequence::ZoomIn);
        if (!keys.contains(QKeySequence(Qt::CTRL | Qt::Key_Equal)))
            keys.append(QKeySequence(Qt::CTRL | Qt::Key_Equal));
        break;
    case ZoomChange::Out:
        keys = QKeySequence::keyBindings(QKeySequence::ZoomOut);
        break;
    case ZoomChange::Reset:
        keys.append(QKeySequence(Qt::CTRL | Qt::Key_0));
        break;
    }
    return keys;
}

QLabel* makeLabel(QWidget* parent, const LabelRow& row)
{
    auto* label = new QLabel(parent);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setText(fromUtf8(row.caption));
    placeControl(
        label, QString::fromLatin1(row.name), row.rect, DefaultFont, fromUtf8(row.toolTip));
    return label;
}

QPushButton* makeButton(QWidget* parent, const char* name, const char* caption, const char* toolTip,
    const TwipsRect& rect)
{
    // Pressed by Space, Return or keypad Enter.
    auto* button = new Button(parent);
    button->setText(fromUtf8(caption));
    placeControl(button, QString::fromLatin1(name), rect, ButtonFont, fromUtf8(toolTip));
    button->setAutoDefault(false);
    return button;
}

} // namespace

frmPendro::frmPendro(QWidget* parent)
    : QMainWindow(parent)
{
    setObjectName(QStringLiteral("frmPendro"));
    setWindowIcon(pendroIcon());
    setScalableFont(this, makeFont(DefaultFont));

    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    setClientSizeTwips(client, ClientWidth, ClientHeight);
    setCentralWidget(client);
    buildControls(client);
    buildMenu();
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    // Form_Load: the list and its count first, then the title.
    m_list1->setModel(new PrimeListModel(m_list1));
    m_lblAnz->setText(QString::number(m_list1->model()->rowCount()));
    setWindowTitle(windowTitleText());

    m_txtZ1[0]->setFocus();
}

void frmPendro::buildControls(QWidget* client)
{
    for (int i = 0; i < NumberFieldCount; ++i) {
        const double top = RowTop + RowStep * i;
        const QString number = QString::number(i + 1);

        auto* numberField = new TextBox(client);
        placeControl(numberField, arrayName("txtZ1", i), { 720, top, 1215, 285 }, DefaultFont,
            fromUtf8(NumberToolTip));
        numberField->setKeyRule([](std::uint16_t code) { return MainDigitKeyFilter(code); });
        numberField->setInputMethodHints(numberField->inputMethodHints() | Qt::ImhDigitsOnly);
        numberField->setAccessibleName(QStringLiteral("Zahl ") + number);
        m_txtZ1[static_cast<std::size_t>(i)] = numberField;

        auto* factorField = new TextBox(client);
        placeControl(factorField, arrayName("txtPF1", i), { 2100, top, 4815, 285 }, DefaultFont);
        factorField->setFocusPolicy(Qt::ClickFocus);
        factorField->setAccessibleName(QStringLiteral("Primfaktoren von Zahl ") + number);
        m_txtPF1[static_cast<std::size_t>(i)] = factorField;

        const LabelRow labelRow { NumberLabelNames[static_cast<std::size_t>(i)], "", nullptr,
            { 120, top, 495, 255 } };
        makeLabel(client, labelRow)->setText(QStringLiteral("Zahl") + number + QLatin1Char(':'));
    }

    for (const LabelRow& row : LabelRows) {
        QLabel* label = makeLabel(client, row);
        const QString name = label->objectName();
        if (name == QLatin1String("lblAnz"))
            m_lblAnz = label;
        else if (name == QLatin1String("lblKGV"))
            m_lblKGV = label;
        else if (name == QLatin1String("lblGGT"))
            m_lblGGT = label;
        else if (name == QLatin1String("Label4"))
            makeCreditLabel(label);
    }
    // Result labels keep their text as what a screen reader reads; they only get a description.
    m_lblAnz->setAccessibleDescription(QStringLiteral("Anzahl der Primzahlen"));
    m_lblKGV->setAccessibleDescription(QStringLiteral("kgV"));
    m_lblGGT->setAccessibleDescription(QStringLiteral("ggT"));

    m_list1 = new QListView(client);
    placeControl(m_list1, QStringLiteral("List1"), { 2100, 2760, 1395, 900 }, ListFont,
        QStringLiteral("Liste enthält die Primfaktoren bis 131072"));
    m_list1->setUniformItemSizes(true);
    m_list1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list1->setAccessibleName(QStringLiteral("Primzahlen bis 131072"));

    m_btStart = makeButton(
        client, "btStart", "Start", "Startet die Primfaktorzerlegung", { 5760, 3240, 1215, 435 });
    m_btStart->setAccessibleName(QStringLiteral("Start"));
    m_btC = makeButton(client, "btC", "C", "Löscht alle Eingabefelder", { 5160, 3240, 495, 435 });
    m_btC->setAccessibleName(QStringLiteral("Alle Eingaben löschen"));
    setButtonColour(m_btC, QColor(255, 192, 192));

    connect(m_btStart, &QPushButton::clicked, this, &frmPendro::btStart_Click);
    connect(m_btC, &QPushButton::clicked, this, &frmPendro::btC_Click);

    QWidget* previous = m_txtZ1[0];
    for (int i = 1; i < NumberFieldCount; ++i) {
        setTabOrder(previous, m_txtZ1[static_cast<std::size_t>(i)]);
        previous = m_txtZ1[static_cast<std::size_t>(i)];
    }
    setTabOrder(previous, m_btStart);
    setTabOrder(m_btStart, m_list1);
    setTabOrder(m_list1, m_btC);
}

void frmPendro::buildMenu()
{
    QMenuBar* bar = menuBar();
    // Set on the widgets themselves: Windows gives menus its menu font and renews it with the
    // theme, over any application-wide choice.
    setScalableFont(bar, makeFont(DefaultFont));

    // Every entry has an underlined letter for Alt; Ctrl+Q ends the program from any window.
    QAction* quit = bar->addAction(QStringLiteral("&Beenden"));
    quit->setObjectName(QStringLiteral("Beenden"));
    quit->setShortcuts(quitKeys());
    quit->setShortcutContext(Qt::ApplicationShortcut);
    connect(quit, &QAction::triggered, this, &frmPendro::Beenden_Click);

    m_trainerMenu = bar->addMenu(QStringLiteral("&Trainer Bruchrechnung"));
    m_trainerMenu->menuAction()->setObjectName(QStringLiteral("menBruchrechnung"));
    setScalableFont(m_trainerMenu, makeFont(DefaultFont));
    // The trainers' entries come in front of this separator (addTrainerEntry). A worksheet is
    // what a teacher prints: Ctrl+P asks for one from any window.
    m_trainerEntriesEnd = m_trainerMenu->addSeparator();
    QAction* worksheet = m_trainerMenu->addAction(QStringLiteral("Arbeits&blatt erstellen…"));
    worksheet->setObjectName(QStringLiteral("menArbeitsblatt"));
    worksheet->setShortcut(QKeySequence::Print);
    worksheet->setShortcutContext(Qt::ApplicationShortcut);
    connect(worksheet, &QAction::triggered, this, &frmPendro::worksheetRequested);

    QMenu* view = bar->addMenu(QStringLiteral("&Ansicht"));
    view->menuAction()->setObjectName(QStringLiteral("menAnsicht"));
    setScalableFont(view, makeFont(DefaultFont));
    for (const ZoomEntry& entry : ZoomEntries) {
        QAction* action = view->addAction(QString::fromUtf8(entry.caption));
        action->setObjectName(QString::fromLatin1(entry.name));
        action->setShortcuts(zoomKeys(entry.change));
        // The trainers and the help window have no menu of their own: the keys work in all.
        action->setShortcutContext(Qt::ApplicationShortcut);
        connect(action, &QAction::triggered, this,
            [this, change = entry.change] { emit zoomRequested(change); });
    }

    QAction* help = bar->addAction(QStringLiteral("&Hilfe"));
    help->setObjectName(QStringLiteral("Hilfe"));
    connect(help, &QAction::triggered, this, &frmPendro::helpRequested);

    // F10 chooses the menu bar's first entry, as Alt alone does.
    auto* menuKey = new QShortcut(QKeySequence(Qt::Key_F10), this);
    connect(menuKey, &QShortcut::activated, this, [bar] { chooseMenuBarByKeyboard(bar); });
}

void frmPendro::addTrainerEntry(TrainerKind kind, const char* actionName, const char* caption)
{
    auto* action = new QAction(QString::fromUtf8(caption), m_trainerMenu);
    m_trainerMenu->insertAction(m_trainerEntriesEnd, action);
    action->setObjectName(QString::fromLatin1(actionName));
    connect(action, &QAction::triggered, this, [this, kind] { emit trainerRequested(kind); });
}

void frmPendro::runOverFields(FactorizationMode mode)
{
    WorkArea area;
    for (std::size_t i = 0; i < NumberFieldCount; ++i) {
        area.numbers[i] = m_txtZ1[i]->text().toStdString();
        area.factors[i] = m_txtPF1[i]->text().toStdString();
    }
    area.ggt = m_lblGGT->text().toStdString();
    area.kgv = m_lblKGV->text().toStdString();

    runFactorization(area, mode);

    for (std::size_t i = 0; i < NumberFieldCount; ++i) {
        m_txtZ1[i]->setText(QString::fromStdString(area.numbers[i]));
        m_txtPF1[i]->setText(QString::fromStdString(area.factors[i]));
    }
    m_lblGGT->setText(QString::fromStdString(area.ggt));
    m_lblKGV->setText(QString::fromStdString(area.kgv));
}

void frmPendro::btStart_Click()
{
    runOverFields(FactorizationMode::Lenient);
}

void frmPendro::HNBerechnen()
{
    runOverFields(FactorizationMode::Strict);
}

void frmPendro::emptyFields(QLabel* firstResult, QLabel* secondResult)
{
    for (std::size_t i = 0; i < NumberFieldCount; ++i) {
        m_txtZ1[i]->setText({});
        m_txtPF1[i]->setText({});
    }
    firstResult->setText({});
    secondResult->setText({});
}

// "C" empties the ggT before the kgV, ClearMainFields the other way round.
void frmPendro::btC_Click()
{
    emptyFields(m_lblGGT, m_lblKGV);
}

void frmPendro::ClearMainFields()
{
    emptyFields(m_lblKGV, m_lblGGT);
}

QString frmPendro::numberText(int index) const
{
    return m_txtZ1.at(static_cast<std::size_t>(index))->text();
}

void frmPendro::setNumberText(int index, const QString& text)
{
    m_txtZ1.at(static_cast<std::size_t>(index))->setText(text);
}

QString frmPendro::kgvCaption() const
{
    return m_lblKGV->text();
}

QString frmPendro::ggtCaption() const
{
    return m_lblGGT->text();
}

void frmPendro::Beenden_Click()
{
    close();
}

// Form_Unload: whichever way the window is closed, every other window goes with it.
void frmPendro::closeEvent(QCloseEvent* event)
{
    emit closingAll();
    event->accept();
}

} // namespace pendro
