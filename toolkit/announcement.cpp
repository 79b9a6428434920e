// SPDX-License-Identifier: GPL-3.0-or-later
#include "toolkit/announcement.h"

namespace pendro {

Announcement::Announcement(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("announcement"));
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setGeometry(0, 0, 1, 1);
    hide();
}

void Announcement::announce(const QString& message)
{
    hide();
    setAccessibleName(message);
    show();
}

} // namespace pendro
