// SPDX-License-Identifier: GPL-3.0-or-later
#include "toolkit/line_control.h"

#include <algorithm>
#include <cmath>

#include <QPainter>

#include "toolkit/twips.h"

namespace pendro {

namespace {
constexpr int LineWidthPixels = 2;
}

Line::Line(QWidget* parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void Line::setPoints(double x1, double y1, double x2, double y2)
{
    m_x1 = x1;
    m_y1 = y1;
    m_x2 = x2;
    m_y2 = y2;
    const double zoom = windowZoom(this);
    const int thickness
        = std::max(LineWidthPixels, static_cast<int>(std::lround(LineWidthPixels * zoom)));
    const int left = twipsToPixels(std::min(x1, x2), zoom);
    const int top = twipsToPixels(std::min(y1, y2), zoom);
    const int right = twipsToPixels(std::max(x1, x2), zoom);
    const int bottom = twipsToPixels(std::max(y1, y2), zoom);
    setGeometry(left, top, std::max(right - left, thickness), std::max(bottom - top, thickness));
}

void Line::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::WindowText));
}

} // namespace pendro
