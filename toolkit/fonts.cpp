// SPDX-License-Identifier: GPL-3.0-or-later
#include "toolkit/fonts.h"

#include <QDir>
#include <QDirIterator>
#include <QFontDatabase>

namespace pendro {

std::vector<std::pair<QString, QStringList>> missingFontStandIns(
    const std::function<bool(const QString& family)>& installed)
{
    const std::pair<QString, QStringList> standIns[] = {
        { QStringLiteral("Arial"),
            { QStringLiteral("Liberation Sans"), QStringLiteral("Pendro Sans") } },
        { QStringLiteral("Courier New"),
            { QStringLiteral("Liberation Mono"), QStringLiteral("Pendro Mono") } },
    };
    std::vector<std::pair<QString, QStringList>> missing;
    for (const auto& standIn : standIns) {
        if (!installed(standIn.first))
            missing.push_back(standIn);
    }
    return missing;
}

namespace {
// The fonts a build carries as resources below :/pendro/fonts (web/CMakeLists.txt).
void loadCarriedFonts()
{
    QDirIterator fonts(QStringLiteral(":/pendro/fonts"), { QStringLiteral("*.ttf") }, QDir::Files);
    while (fonts.hasNext())
        QFontDatabase::addApplicationFont(fonts.next());
}
} // namespace

void installFontSubstitutions()
{
    loadCarriedFonts();
    const auto missing = missingFontStandIns(
        [](const QString& family) { return QFontDatabase::hasFamily(family); });
    for (const auto& [family, standIns] : missing)
        QFont::insertSubstitutions(family, standIns);
}

QFont makeFont(const FontSpec& wanted)
{
    QFont font(QString::fromLatin1(wanted.family));
    font.setPointSizeF(wanted.points);
    font.setBold(wanted.bold);
    return font;
}

} // namespace pendro
