// SPDX-License-Identifier: GPL-3.0-or-later
#include "web/page.h"

#include <string>
#include <vector>

#include <QApplication>

namespace pendro::web {

QApplication* newPageApplication(int argc, char* argv[])
{
    // QApplication keeps argc and argv, and main()'s stack goes away: copies for the page's life.
    static int argumentCount = argc;
    static std::vector<std::string> arguments(argv, argv + argc);
    static std::vector<char*> argumentPointers;
    for (std::string& argument : arguments)
        argumentPointers.push_back(argument.data());
    argumentPointers.push_back(nullptr);
    return new QApplication(argumentCount, argumentPointers.data());
}

} // namespace pendro::web
