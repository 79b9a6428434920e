// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>

#include "worksheet/worksheet_content.h"

// The worksheet as a PDF: A4 portrait, German, drawn with QPainter on a QPdfWriter (Qt GUI
// alone, no print support), its fonts embedded so that the text can be selected and prints
// sharp.
//
// The exercise pages open with the kind as the title, the sheet number and lines for name, class
// and date, then number the exercises in a grid: each as the trainers show it, stacked fractions
// with their bars and the operators between, "=" and room to work; a number to factorize; a group
// for ggT and kgV. The solution pages, where asked for, give every exercise's reduced fraction,
// mixed number and decimal value (the trainers' own forms), the prime factors as powers, or ggT
// and kgV. Every page names the sheet number and counts the pages. A line of mathematics that
// would not fit its cell is set smaller until it does, so nothing leaves the margins.
namespace pendro {

// The whole file. The settings must be valid (settingsProblem gives none).
QByteArray worksheetPdf(const WorksheetSettings& settings);

// The page margins: nothing is drawn closer to the paper's edges.
inline constexpr double SideMarginMm = 18;
inline constexpr double TopMarginMm = 15;
inline constexpr double BottomMarginMm = 15;

} // namespace pendro
