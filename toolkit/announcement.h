// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

namespace pendro {

// What a screen reader is told when something happens that no focus move shows, such as the
// outcome of a check: an invisible notification whose name is the message. Announcing shows it
// anew, which screen readers present at once; it takes no room and no focus.
class Announcement : public QWidget
{
    Q_OBJECT

public:
    explicit Announcement(QWidget* parent);

    void announce(const QString& message);
    QString message() const { return accessibleName(); }
};

} // namespace pendro
