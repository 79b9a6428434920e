// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <variant>
#include <vector>

#include "core/exercises.h"

// What a worksheet holds: its settings and the exercises they give. The sheet number fixes the
// exercises: it is the starting state of the trainers' own generator, whose clock stands still,
// so the same number gives the same sheet on every machine.
namespace pendro {

enum class WorksheetKind {
    AddSub,
    Mul,
    Div,
    Factor,
    Ggt,
};

struct WorksheetKindInfo
{
    WorksheetKind kind;
    const char* key; // on the command line
    const char* caption; // in the dialog's list
    const char* title; // on the sheet (texts in UTF-8)
    const char* task; // the line under the title
};

// In the order of the dialog's list; a row's position is its kind.
inline constexpr const char* FractionTask
    = "Berechne. Schreibe das Ergebnis gekürzt und, wo es geht, als gemischte Zahl.";

inline constexpr WorksheetKindInfo WorksheetKinds[] = {
    { WorksheetKind::AddSub, "addsub", "Addition und Subtraktion",
        "Addition und Subtraktion gemeiner Brüche", FractionTask },
    { WorksheetKind::Mul, "mul", "Multiplikation", "Multiplikation gemeiner Brüche", FractionTask },
    { WorksheetKind::Div, "div", "Division", "Division gemeiner Brüche", FractionTask },
    { WorksheetKind::Factor, "factor", "Primfaktorzerlegung", "Primfaktorzerlegung",
        "Zerlege in Primfaktoren. Schreibe gleiche Faktoren als Potenz." },
    { WorksheetKind::Ggt, "ggt", "ggT und kgV", "ggT und kgV",
        "Bestimme den größten gemeinsamen Teiler (ggT) und das kleinste gemeinsame Vielfache "
        "(kgV)." },
};

const WorksheetKindInfo& worksheetKindInfo(WorksheetKind kind);

inline constexpr int MinExercises = 1;
inline constexpr int MaxExercises = 30;
inline constexpr int MinTerms = 2;
inline constexpr int MaxTerms = 5; // as in the trainers
inline constexpr int MaxGroupSize = 3; // numbers of a ggT and kgV exercise
inline constexpr std::uint32_t MinSheetNumber = 1;
inline constexpr std::uint32_t MaxSheetNumber = 999999;
// The trainers' numerators and denominators run from 1 to 10.
inline constexpr int FractionLimit = 10;

struct WorksheetSettings
{
    WorksheetKind kind = WorksheetKind::AddSub;
    int terms = 2; // terms of a fraction exercise, numbers of a ggT and kgV exercise
    bool negativeNumerators = false; // multiplication and division
    int range = 100; // factorization and ggT and kgV: 100, 1000 or 10000
    int count = 10;
    std::uint32_t sheetNumber = 1;
    bool solutions = true;
};

bool isFractionKind(WorksheetKind kind);
// The largest number of terms the kind takes (5, or 3 numbers for ggT and kgV); the factorization
// takes none.
int maxTerms(WorksheetKind kind);

// What is wrong with settings, in German, or an empty text when they make a sheet.
std::string settingsProblem(const WorksheetSettings& settings);

// A fraction exercise, a number to factorize or a group for ggT and kgV.
using WorksheetExercise = std::variant<FractionExercise, std::int32_t, std::vector<std::int32_t>>;

// The exercises of valid settings, in the order they are numbered.
std::vector<WorksheetExercise> worksheetExercises(const WorksheetSettings& settings);

// One line per exercise with its solution, as solutionLine and the like write it.
std::vector<std::string> solutionLines(std::span<const WorksheetExercise> exercises);

} // namespace pendro
