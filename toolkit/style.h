// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QStyle;

namespace pendro {

// The Fusion style, except that the icons of the menu bar's overflow button are decoded only
// when that button is first drawn. Every QMenuBar asks the style for them when it is built, and
// decoding Qt's own icon files there loads every image-format plugin (gif, ico, jpeg and
// libjpeg) at start-up, for a button that a window as wide as its menu never shows. A check
// box's indicator follows the zoom of its window (toolkit/zoom.h).
QStyle* makeApplicationStyle();

} // namespace pendro
