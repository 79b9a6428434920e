// SPDX-License-Identifier: GPL-3.0-or-later
// The core tests built with emscripten run under node, which has no navigator before version 21;
// Qt's core asks it for the page's languages when it makes the first locale. Linked into those
// tests in front of emscripten's code (tests/CMakeLists.txt).
if (typeof navigator === 'undefined')
    globalThis.navigator = { language: 'de-DE', languages: ['de-DE'] };
