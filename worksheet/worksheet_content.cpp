// SPDX-License-Identifier: GPL-3.0-or-later
#include "worksheet/worksheet_content.h"

#include <algorithm>
#include <cstddef>

#include "core/number_text.h"
#include "core/solutions.h"

namespace pendro {

const WorksheetKindInfo& worksheetKindInfo(WorksheetKind kind)
{
    return WorksheetKinds[static_cast<std::size_t>(kind)];
}

bool isFractionKind(WorksheetKind kind)
{
    return kind == WorksheetKind::AddSub || kind == WorksheetKind::Mul
        || kind == WorksheetKind::Div;
}

int maxTerms(WorksheetKind kind)
{
    if (kind == WorksheetKind::Factor)
        return 0;
    return kind == WorksheetKind::Ggt ? MaxGroupSize : MaxTerms;
}

std::string settingsProblem(const WorksheetSettings& settings)
{
    if (settings.count < MinExercises || settings.count > MaxExercises)
        return std::string("Die Anzahl der Aufgaben muss zwischen ") + formatInt(MinExercises)
            + " und " + formatInt(MaxExercises) + " liegen.";
    const int most = maxTerms(settings.kind);
    if (most > 0 && (settings.terms < MinTerms || settings.terms > most))
        return std::string("Die Anzahl der Glieder muss zwischen ") + formatInt(MinTerms) + " und "
            + formatInt(most) + " liegen.";
    if (std::find(std::begin(NumberRanges), std::end(NumberRanges), settings.range)
        == std::end(NumberRanges))
        return "Der Zahlenbereich muss 100, 1000 oder 10000 sein.";
    if (settings.sheetNumber < MinSheetNumber || settings.sheetNumber > MaxSheetNumber)
        return std::string("Die Blattnummer muss eine ganze Zahl von ") + formatInt(MinSheetNumber)
            + " bis " + formatInt(MaxSheetNumber) + " sein.";
    return {};
}

std::vector<WorksheetExercise> worksheetExercises(const WorksheetSettings& settings)
{
    // The clock of a sheet stands still: every re-seed is a step of the generator alone.
    RandomGenerator random([] { return std::uint64_t { 0 }; }, settings.sheetNumber);
    const FractionSettings fractions { settings.terms, FractionLimit, FractionLimit,
        settings.negativeNumerators && settings.kind != WorksheetKind::AddSub };
    std::vector<WorksheetExercise> exercises;
    switch (settings.kind) {
    case WorksheetKind::AddSub:
        for (int i = 0; i < settings.count; ++i)
            exercises.emplace_back(drawSum(random, fractions));
        break;
    case WorksheetKind::Mul:
    case WorksheetKind::Div: {
        const FractionOperation operation = settings.kind == WorksheetKind::Mul
            ? FractionOperation::Product
            : FractionOperation::Quotient;
        for (int i = 0; i < settings.count; ++i)
            exercises.emplace_back(drawChain(random, operation, fractions));
        break;
    }
    case WorksheetKind::Factor:
        for (const std::int32_t number :
            drawCompositeNumbers(random, settings.range, settings.count))
            exercises.emplace_back(number);
        break;
    case WorksheetKind::Ggt:
        for (int i = 0; i < settings.count; ++i)
            exercises.emplace_back(drawNumberGroup(random, settings.range, settings.terms));
        break;
    }
    return exercises;
}

std::vector<std::string> solutionLines(std::span<const WorksheetExercise> exercises)
{
    std::vector<std::string> lines;
    int number = 0;
    for (const WorksheetExercise& exercise : exercises) {
        ++number;
        if (const auto* fraction = std::get_if<FractionExercise>(&exercise))
            lines.push_back(solutionLine(number, *fraction));
        else if (const auto* value = std::get_if<std::int32_t>(&exercise))
            lines.push_back(factorizationLine(number, *value));
        else
            lines.push_back(ggtAndKgvLine(number, std::get<std::vector<std::int32_t>>(exercise)));
    }
    return lines;
}

} // namespace pendro
