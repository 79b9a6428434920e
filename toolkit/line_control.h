// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

namespace pendro {

// A straight line, 2 pixels wide at 100 % and wider in proportion to its window's zoom, whose end
// points are kept in twips of its form. The fraction bars and double underlines of the windows are
// such lines; they are horizontal or vertical.
class Line : public QWidget
{
    Q_OBJECT

public:
    explicit Line(QWidget* parent = nullptr);

    void setPoints(double x1, double y1, double x2, double y2);
    void setX1(double x1) { setPoints(x1, m_y1, m_x2, m_y2); }
    void setX2(double x2) { setPoints(m_x1, m_y1, x2, m_y2); }
    // Places the line again at its window's zoom now.
    void renew() { setPoints(m_x1, m_y1, m_x2, m_y2); }

    double x1() const { return m_x1; }
    double y1() const { return m_y1; }
    double x2() const { return m_x2; }
    double y2() const { return m_y2; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    double m_x1 = 0;
    double m_y1 = 0;
    double m_x2 = 0;
    double m_y2 = 0;
};

} // namespace pendro
