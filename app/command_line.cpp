// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/command_line.h"

#include <cstdio>
#include <optional>
#include <string>

#include <QCommandLineParser>
#include <QGuiApplication>
#include <QRandomGenerator>

#include "core/number_text.h"
#include "toolkit/file_saving.h"
#include "toolkit/fonts.h"
#include "worksheet/worksheet_content.h"
#include "worksheet/worksheet_pdf.h"

#ifdef Q_OS_WIN
#include <io.h>
#include <windows.h>
#endif

namespace pendro {

namespace {

struct OptionRow
{
    const char* names; // comma-separated
    const char* valueName; // nullptr for a switch
    const char* description; // German, UTF-8
};

const OptionRow OptionRows[] = {
    { "worksheet", "ART",
        "Aufgabenart: addsub (Addition und Subtraktion), mul (Multiplikation), div (Division), "
        "factor (Primfaktorzerlegung), ggt (ggT und kgV)" },
    { "terms", "N",
        "Anzahl Glieder, 2 bis 5; bei ggt die Anzahl der Zahlen, 2 oder 3 (Vorgabe 2)" },
    { "count", "K", "Anzahl Aufgaben, 1 bis 30 (Vorgabe 10)" },
    { "number", "S",
        "Blattnummer, 1 bis 999999: dieselbe Nummer gibt dasselbe Blatt (Vorgabe: eine neue, "
        "zufällige)" },
    { "negative", nullptr, "negative Zähler erlauben (mul und div)" },
    { "range", "R", "Zahlenbereich bei factor und ggt: 100, 1000 oder 10000 (Vorgabe 100)" },
    { "no-solutions", nullptr, "ohne Lösungsblatt" },
    { "output", "DATEI.pdf", "wohin das PDF geschrieben wird" },
    { "solutions-text", nullptr,
        "jede Aufgabe mit ihrer Lösung als eine Zeile auf die Standardausgabe schreiben" },
    { "h,help", nullptr, "diese Hilfe zeigen" },
    { "v,version", nullptr, "die Version zeigen" },
};

// Writes UTF-8 text to standard output or standard error as it stands.
void print(std::FILE* stream, const QString& text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stream);
    std::fflush(stream);
}

constexpr int HelpIndent = 24;
constexpr int HelpWidth = 79;

QString optionName(const QString& name)
{
    return (name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + name;
}

QString helpText()
{
    QString text = QStringLiteral(
        "Aufruf: pendro [--worksheet ART --output DATEI.pdf [Optionen]]\n\n"
        "Ohne Optionen öffnet Pendro sein Hauptfenster. Mit --worksheet schreibt es ein "
        "Arbeitsblatt\nals PDF, ohne ein Fenster zu zeigen (auch auf einem Rechner ohne "
        "Bildschirm).\n\nOptionen:\n");
    for (const OptionRow& row : OptionRows) {
        QString names;
        for (const QString& name : QString::fromLatin1(row.names).split(QLatin1Char(',')))
            names += (names.isEmpty() ? QString() : QStringLiteral(", ")) + optionName(name);
        if (row.valueName)
            names += QLatin1Char(' ') + QString::fromLatin1(row.valueName);
        text += QStringLiteral("  %1").arg(names, -HelpIndent + 2);
        // The description in lines of at most HelpWidth characters, indented under each other.
        int column = HelpIndent;
        for (const QString& word : QString::fromUtf8(row.description).split(QLatin1Char(' '))) {
            if (column > HelpIndent && column + 1 + word.size() > HelpWidth) {
                text += QLatin1Char('\n') + QString(HelpIndent, QLatin1Char(' '));
                column = HelpIndent;
            } else if (column > HelpIndent) {
                text += QLatin1Char(' ');
                ++column;
            }
            text += word;
            column += static_cast<int>(word.size());
        }
        text += QLatin1Char('\n');
    }
    text += QStringLiteral(
        "\nBeispiel:\n"
        "  pendro --worksheet mul --terms 3 --count 20 --number 4711 --output brueche.pdf\n\n"
        "Rückgabewert: 0, wenn das Arbeitsblatt geschrieben ist; 2 bei falschen Angaben oder "
        "wenn die\nDatei nicht geschrieben werden kann (dann wird keine Datei geschrieben oder "
        "verändert).\n");
    return text;
}

// What went wrong, for standard error; settings stay unset then.
struct Request
{
    WorksheetSettings settings;
    QString output;
    bool solutionsText = false;
    QString problem;
};

std::optional<int> wholeNumber(const QString& text)
{
    return parseInt32(text.toStdString());
}

Request readRequest(const QCommandLineParser& parser)
{
    Request request;
    const auto fail = [&request](const QString& problem) {
        request.problem = problem;
        return request;
    };
    if (!parser.positionalArguments().isEmpty())
        return fail(
            QStringLiteral("Unerwartete Angabe „%1“.").arg(parser.positionalArguments().first()));
    if (!parser.isSet(QStringLiteral("worksheet")))
        return fail(QStringLiteral("Es fehlt --worksheet ART."));

    const QString kindKey = parser.value(QStringLiteral("worksheet"));
    const WorksheetKindInfo* info = nullptr;
    for (const WorksheetKindInfo& row : WorksheetKinds) {
        if (kindKey == QLatin1String(row.key))
            info = &row;
    }
    if (!info)
        return fail(QStringLiteral("Unbekannte Aufgabenart „%1“; möglich sind addsub, mul, div, "
                                   "factor und ggt.")
                        .arg(kindKey));
    WorksheetSettings& settings = request.settings;
    settings.kind = info->kind;

    const struct
    {
        const char* name;
        int* target;
    } numbers[] = { { "terms", &settings.terms }, { "count", &settings.count },
        { "range", &settings.range } };
    for (const auto& number : numbers) {
        const QString name = QString::fromLatin1(number.name);
        if (!parser.isSet(name))
            continue;
        const std::optional<int> value = wholeNumber(parser.value(name));
        if (!value)
            return fail(
                QStringLiteral("„%1“ ist keine ganze Zahl (--%2).").arg(parser.value(name), name));
        *number.target = *value;
    }
    if (parser.isSet(QStringLiteral("number"))) {
        const std::optional<int> value = wholeNumber(parser.value(QStringLiteral("number")));
        if (!value)
            return fail(QStringLiteral("„%1“ ist keine ganze Zahl (--number).")
                            .arg(parser.value(QStringLiteral("number"))));
        settings.sheetNumber = *value < 0 ? 0 : static_cast<std::uint32_t>(*value);
    } else {
        settings.sheetNumber
            = QRandomGenerator::global()->bounded(MinSheetNumber, MaxSheetNumber + 1);
    }
    settings.negativeNumerators = parser.isSet(QStringLiteral("negative"));
    settings.solutions = !parser.isSet(QStringLiteral("no-solutions"));

    // An option that the kind does not use is a mistake in the script, not something to ignore.
    if (settings.negativeNumerators && settings.kind != WorksheetKind::Mul
        && settings.kind != WorksheetKind::Div)
        return fail(QStringLiteral("--negative gilt nur für mul und div."));
    if (parser.isSet(QStringLiteral("range")) && isFractionKind(settings.kind))
        return fail(QStringLiteral("--range gilt nur für factor und ggt."));
    if (parser.isSet(QStringLiteral("terms")) && settings.kind == WorksheetKind::Factor)
        return fail(QStringLiteral("--terms gilt nicht für factor."));
    const std::string problem = settingsProblem(settings);
    if (!problem.empty())
        return fail(QString::fromStdString(problem));

    request.output = parser.value(QStringLiteral("output"));
    if (request.output.isEmpty())
        return fail(QStringLiteral("Es fehlt --output DATEI.pdf."));
    request.solutionsText = parser.isSet(QStringLiteral("solutions-text"));
    return request;
}

// Standard error carries Pendro's own messages: Qt's notes about the session (no runtime folder,
// no display) are no concern of a script.
void keepSeriousMessages(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    if (type == QtCriticalMsg || type == QtFatalMsg)
        print(stderr, qFormatLogMessage(type, context, text) + QLatin1Char('\n'));
}

#ifdef Q_OS_WIN
// Pendro is a program with windows, which Windows starts without a console. Started from one,
// it writes there; standard output and error that the caller redirected stay as they are.
void useCallersConsole()
{
    const bool redirected
        = GetStdHandle(STD_OUTPUT_HANDLE) != nullptr && GetStdHandle(STD_ERROR_HANDLE) != nullptr;
    if (redirected || !AttachConsole(ATTACH_PARENT_PROCESS))
        return;
    SetConsoleOutputCP(CP_UTF8);
    if (_fileno(stdout) < 0 || GetStdHandle(STD_OUTPUT_HANDLE) == nullptr)
        std::freopen("CONOUT$", "w", stdout);
    if (_fileno(stderr) < 0 || GetStdHandle(STD_ERROR_HANDLE) == nullptr)
        std::freopen("CONOUT$", "w", stderr);
}
#endif

} // namespace

bool wantsCommandLine(const QStringList& arguments)
{
    for (const QString& argument : arguments.mid(1)) {
        for (const OptionRow& row : OptionRows) {
            for (const QString& name : QString::fromLatin1(row.names).split(QLatin1Char(','))) {
                const QString option = optionName(name);
                if (argument == option || argument.startsWith(option + QLatin1Char('=')))
                    return true;
            }
        }
    }
    return false;
}

int runCommandLine(int& argc, char* argv[])
{
#ifdef Q_OS_WIN
    useCallersConsole();
#else
    // No window is shown: the sheet needs fonts, not a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
#endif
    qInstallMessageHandler(keepSeriousMessages);
    QGuiApplication application(argc, argv);
    QCommandLineParser parser;
    for (const OptionRow& row : OptionRows) {
        QCommandLineOption option(QString::fromLatin1(row.names).split(QLatin1Char(',')),
            QString::fromUtf8(row.description));
        if (row.valueName)
            option.setValueName(QString::fromLatin1(row.valueName));
        parser.addOption(option);
    }
    if (!parser.parse(QGuiApplication::arguments())) {
        const QStringList unknown = parser.unknownOptionNames();
        print(stderr,
            (unknown.isEmpty() ? QStringLiteral("pendro: Einer Option fehlt ihr Wert.")
                               : QStringLiteral("pendro: Unbekannte Option „%1“.")
                                     .arg(optionName(unknown.first())))
                + QStringLiteral(" „pendro --help“ zeigt alle Optionen.\n"));
        return BadOptionsExitCode;
    }
    if (parser.isSet(QStringLiteral("help"))) {
        print(stdout, helpText());
        return 0;
    }
    if (parser.isSet(QStringLiteral("version"))) {
        print(stdout, QStringLiteral("Pendro %1\n").arg(QStringLiteral(PENDRO_VERSION)));
        return 0;
    }

    const Request request = readRequest(parser);
    if (!request.problem.isEmpty()) {
        print(stderr, QStringLiteral("pendro: ") + request.problem + QLatin1Char('\n'));
        return BadOptionsExitCode;
    }
    installFontSubstitutions();
    const QString problem = writeFileReplacing(request.output, worksheetPdf(request.settings));
    if (!problem.isEmpty()) {
        print(stderr, QStringLiteral("pendro: ") + problem + QLatin1Char('\n'));
        return BadOptionsExitCode;
    }
    if (request.solutionsText) {
        QString lines;
        for (const std::string& line : solutionLines(worksheetExercises(request.settings)))
            lines += QString::fromStdString(line) + QLatin1Char('\n');
        print(stdout, lines);
    }
    return 0;
}

} // namespace pendro
