// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstddef>
#include <vector>

#include <QSize>

class QFont;
class QWidget;

// The zoom of Pendro's windows: one factor for all of them, in steps from 100 % to 300 %.
//
// A zoom draws nothing larger: it lays the window out again at the new size. Every control keeps
// its twips and the font it has at 100 %, so applyZoom places each control from its twips times
// the factor (toolkit/twips.h), sets each font to its size times the factor (rounded down to
// whole pixels, and for a label a pixel or more further where its caption would no longer fit),
// draws the lines thicker in proportion and sets the client area from its twips; text is then
// drawn by the font engine at the new size, as crisp as at 100 %. 100 % is the size the
// desktop's own display scale gives the windows.
//
// ZoomControl knows nothing of widgets: it holds the step and the rule that every open window
// must still fit its screen, so that the rule can be tested with sizes alone.
namespace pendro {

// The steps in percent: 25 apart up to 200, then 50 apart.
inline constexpr std::array<int, 7> ZoomPercents { 100, 125, 150, 175, 200, 250, 300 };

enum class ZoomChange {
    In, // one step larger
    Out, // one step smaller
    Reset, // back to 100 %
};

// What the fit rule needs to know of an open window.
struct WindowRoom
{
    QSize atHundred; // what the zoom scales: the window without its frame, at 100 %
    QSize frame; // what it does not: title bar and borders that the desktop adds
    QSize available; // the room on the window's screen, without task bars and panels
};

// Whether the window still fits its screen at percent; the zoomed part is rounded up.
bool fitsAt(const WindowRoom& window, int percent);

class ZoomControl
{
public:
    std::size_t step() const { return m_step; }
    int percent() const { return ZoomPercents[m_step]; }
    double factor() const { return percent() / 100.0; }

    // Moves one step up, one down or back to 100 %; a step up only where every open window
    // still fits its screen there. Whether the step changed.
    bool change(ZoomChange change, const std::vector<WindowRoom>& openWindows);
    // Steps down until every window fits (a window opened at the current zoom may not);
    // whether the step changed. At 100 % it stays, whatever the sizes.
    bool stepDownToFit(const std::vector<WindowRoom>& openWindows);

private:
    std::size_t m_step = 0;
};

// Sets widget's font, given as it is at 100 %, and keeps it so that the font follows the zoom.
void setScalableFont(QWidget* widget, const QFont& atHundred);

// Lays window out at factor (1 for 100 %): the window, every control and every font in it.
void applyZoom(QWidget* window, double factor);

// A window with more to lay out than twips and fonts say (the help window fits its text's font to
// its label) does it here; applyZoom calls it last.
class ZoomFollower
{
public:
    virtual void zoomApplied(double factor) = 0;

protected:
    ~ZoomFollower() = default;
};

} // namespace pendro
