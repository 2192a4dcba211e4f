// SplashScreen: the product's name and version over the main window as the
// program starts. It goes by itself after a moment, or at the first click.
#pragma once

class QWidget;

inline constexpr int SplashShownMs = 750;

// Shows the splash centred over frame; it deletes itself when it goes.
void ShowSplash(QWidget& frame);
