// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringList>

// Pendro's command line, for teachers who script their worksheets and for tests:
//   pendro --worksheet addsub|mul|div|factor|ggt [--terms N] [--count K] [--number S]
//          [--negative] [--range R] [--no-solutions] --output FILE.pdf [--solutions-text]
// writes the worksheet's PDF without showing a window, on a machine without a display too, and
// with --solutions-text prints one line per exercise with its solution on standard output.
// Bad options end with a German message on standard error and exit code 2; they write no file.
// The PDF is written beside its destination first and renamed into place, so that a file that
// is there already is replaced whole or not at all.
namespace pendro {

// Exit code for options that make no worksheet, or a file that cannot be written.
constexpr int BadOptionsExitCode = 2;

// Whether the arguments ask for the command line (one of its options, or --help) rather than
// the windows. Qt's own options (-platform, -style) leave the windows.
bool wantsCommandLine(const QStringList& arguments);

// Runs the command line in a process of its own; the exit code.
int runCommandLine(int& argc, char* argv[]);

} // namespace pendro
