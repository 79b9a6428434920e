// SPDX-License-Identifier: GPL-3.0-or-later
#include "trainer/check_failure.h"

#include <QString>

#include "core/number_text.h"

namespace pendro {

std::int16_t toInt16(const QString& text)
{
    return required(parseInt16(text.toStdString()));
}

std::int32_t toInt32(const QString& text)
{
    return required(parseInt32(text.toStdString()));
}

QString wholeNumberText(std::int64_t value)
{
    return QString::fromStdString(formatInt(value));
}

} // namespace pendro
