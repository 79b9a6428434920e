#include "toolkit/fonts.h"

namespace pendro {

void installFontSubstitutions()
{
    QFont::insertSubstitution(QStringLiteral("Arial"), QStringLiteral("Liberation Sans"));
    QFont::insertSubstitution(QStringLiteral("Courier New"), QStringLiteral("Liberation Mono"));
}

QFont makeFont(const FontSpec& spec)
{
    QFont font(QString::fromLatin1(spec.family));
    font.setPointSizeF(spec.points);
    font.setBold(spec.bold);
    return font;
}

} // namespace pendro
