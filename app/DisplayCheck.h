// DisplayCheck: whether the desktop program can open a window here, asked
// before Qt is started, since Qt ends a program without a display by abort.
#pragma once

// True when a window can be shown: on Linux a DISPLAY or WAYLAND_DISPLAY is
// set, or QT_QPA_PLATFORM names a platform that needs neither (offscreen,
// minimal, vnc, linuxfb, eglfs and the like). Elsewhere always true.
bool DisplayAvailable();
