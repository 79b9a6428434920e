// SPDX-License-Identifier: GPL-3.0-or-later
#include "toolkit/fonts.h"

#include <QFontDatabase>

namespace pendro {

std::vector<std::pair<QString, QString>> missingFontStandIns(
    const std::function<bool(const QString& family)>& installed)
{
    const std::pair<QString, QString> standIns[] = {
        { QStringLiteral("Arial"), QStringLiteral("Liberation Sans") },
        { QStringLiteral("Courier New"), QStringLiteral("Liberation Mono") },
    };
    std::vector<std::pair<QString, QString>> missing;
    for (const auto& standIn : standIns) {
        if (!installed(standIn.first))
            missing.push_back(standIn);
    }
    return missing;
}

void installFontSubstitutions()
{
    const auto missing = missingFontStandIns(
        [](const QString& family) { return QFontDatabase::hasFamily(family); });
    for (const auto& [family, standIn] : missing)
        QFont::insertSubstitution(family, standIn);
}

QFont makeFont(const FontSpec& wanted)
{
    QFont font(QString::fromLatin1(wanted.family));
    font.setPointSizeF(wanted.points);
    font.setBold(wanted.bold);
    return font;
}

} // namespace pendro
