// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

// The help window's text, laid out for a fixed-width font with explicit line breaks.
namespace pendro {

// Characters per line of the help window.
constexpr int HelpColumns = 70;

// Greedy word wrap: each line holds as many whole words as fit in width characters, the first
// one indented by indent spaces. A single word longer than a line stands on a line of its own.
QStringList wrapParagraph(const QString& paragraph, int width, int indent = 0);

// The whole text, lines joined by "\n", none longer than HelpColumns.
QString helpText();

} // namespace pendro
