// SPDX-License-Identifier: GPL-3.0-or-later
#include "toolkit/fonts.h"

namespace pendro {

void installFontSubstitutions()
{
    QFont::insertSubstitution(QStringLiteral("Arial"), QStringLiteral("Liberation Sans"));
    QFont::insertSubstitution(QStringLiteral("Courier New"), QStringLiteral("Liberation Mono"));
}

QFont makeFont(const FontSpec& wanted)
{
    QFont font(QString::fromLatin1(wanted.family));
    font.setPointSizeF(wanted.points);
    font.setBold(wanted.bold);
    return font;
}

} // namespace pendro
