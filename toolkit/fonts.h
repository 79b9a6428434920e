// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <utility>
#include <vector>

#include <QFont>
#include <QString>
#include <QStringList>

// The windows name their fonts as the classic desktop fonts; where those are missing, a
// metric-compatible family stands in (Liberation Sans for Arial, Liberation Mono for Courier New).
// A browser has no fonts to offer a page, so the browser build carries its own: Liberation Sans
// and Liberation Mono cut down to the characters a German page needs. Their licence reserves the
// name Liberation for the whole fonts, so these are named Pendro Sans and Pendro Mono.
namespace pendro {

struct FontSpec
{
    const char* family;
    double points;
    bool bold;
};

constexpr FontSpec DefaultFont { "Arial", 8.25, false };

// The stand-ins for the wanted families that `installed` does not know, as (family, stand-ins in
// the order they are tried). Where the real font is there (Arial and Courier New on Windows), it
// is used.
std::vector<std::pair<QString, QStringList>> missingFontStandIns(
    const std::function<bool(const QString& family)>& installed);

// Registers the fonts the program carries (the browser build's; none elsewhere), then the
// stand-ins for the families this machine lacks.
void installFontSubstitutions();
QFont makeFont(const FontSpec& wanted);

} // namespace pendro
