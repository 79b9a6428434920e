// SPDX-License-Identifier: GPL-3.0-or-later
#include "mainwin/help_text.h"

#include "core/factorization.h"

namespace pendro {

namespace {

// The example rows line up on their "|": header and rules sit one column further left.
constexpr int TableRuleIndent = 18;
constexpr int TableRowIndent = 19;
constexpr int SignatureIndent = 40;

struct TableRow
{
    bool headerOrRule;
    const char* text;
};

constexpr TableRow ExampleTable[] {
    { true, "Zahl | Primfaktoren" },
    { true, "-------------------------" },
    { false, "18  | 2*  3*3" },
    { false, "12  | 2*2*3" },
    { false, "30  | 2*  3*  5" },
    { false, "42  | 2*  3*    7" },
    { false, "36  | 2*2*3*3" },
    { true, "-------------------------" },
    { false, "ggT | 2*  3       =    6" },
    { false, "kgV | 2*2*3*3*5*7 = 1260" },
    { true, "-------------------------" },
};

QString spaces(int count)
{
    return QString(count, QLatin1Char(' '));
}

} // namespace

QStringList wrapParagraph(const QString& paragraph, int width, int indent)
{
    QStringList lines;
    QString line = spaces(indent);
    bool lineHasWord = false;
    for (const QString& word : paragraph.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        if (lineHasWord && line.size() + 1 + word.size() > width) {
            lines.append(line);
            line.clear();
            lineHasWord = false;
        }
        if (lineHasWord)
            line += QLatin1Char(' ');
        line += word;
        lineHasWord = true;
    }
    if (lineHasWord)
        lines.append(line);
    return lines;
}

QString helpText()
{
    QStringList lines;
    const auto paragraph = [&lines](const char* text, int indent = 0) {
        lines += wrapParagraph(QString::fromUtf8(text), HelpColumns, indent);
    };

    paragraph("Dieses Tool gestattet die Primfaktorzerlegung von bis zu 8 Zahlen sowie "
              "daraus die Ermittlung des größten gemeinsamen Teilers (ggT) und des "
              "kleinsten gemeinsamen Vielfachen (kgV). Dabei wird das unten im Beispiel "
              "angewendete Verfahren benutzt.");
    paragraph("Die Zahlen selber können aus dem Bereich von 2 bis 131100 stammen. Bei Zahlen "
              "größer als 131100 kann es zu folgender Fehlermeldung kommen:");
    lines += QStringLiteral("  \"") + QString::fromUtf8(RejectionMessage) + QLatin1Char('"');
    paragraph("Das liegt daran, dass als größte Primzahl in diesem Tool die Zahl 131071 "
              "berechnet wird. Die vom Tool ermittelten Primzahlen werden in der kleinen "
              "Listbox angezeigt. Dadurch, dass die Primzahlen erst beim Start des kleinen "
              "Programms berechnet und in die Listbox eingetragen werden, dauert der Start des "
              "Programms etwa 7 Sekunden (abhängig vom Leistungsvermögen des Rechners).");
    paragraph("In der Version 2.0 ist ein Trainer für die 4 Grundrechenarten mit gemeinen "
              "Brüchen hinzugekommen. Dabei können bis zu 5 Glieder (Summanden bzw. "
              "Faktoren) gewählt werden.");
    paragraph("Dieses Tool darf kostenlos benutzt und unverändert an andere weitergegeben "
              "werden. Die Benutzung geschieht auf eigene Gefahr; jede Haftung für Schäden, "
              "die aus der Benutzung entstehen, ist ausgeschlossen.");
    lines += spaces(SignatureIndent) + QStringLiteral("Pendro, Juli 2013");
    lines += QString();
    paragraph("Im folgenden wird eine Möglichkeit gezeigt, den ggT und das kgV selber über die "
              "Primfaktorzerlegung zu ermitteln:");
    for (const TableRow& row : ExampleTable)
        lines += spaces(row.headerOrRule ? TableRuleIndent : TableRowIndent)
            + QString::fromUtf8(row.text);
    paragraph("Vorschläge, wie sich das Programm verbessern ließe, sind jederzeit willkommen: "
              "schreiben Sie dem Autor einfach eine E-Mail.");

    return lines.join(QLatin1Char('\n'));
}

} // namespace pendro
