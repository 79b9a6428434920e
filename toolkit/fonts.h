// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFont>

// The windows name their fonts as the classic desktop fonts; where those are missing, a
// metric-compatible family stands in (Liberation Sans for Arial, Liberation Mono for Courier New).
namespace pendro {

struct FontSpec
{
    const char* family;
    double points;
    bool bold;
};

constexpr FontSpec DefaultFont { "Arial", 8.25, false };

void installFontSubstitutions();
QFont makeFont(const FontSpec& wanted);

} // namespace pendro
