// The page geometry of a printed report: the printable area rounded down to
// whole inches, with a one-inch margin on every side, in twips.
#pragma once

#include <QRect>

struct PrintPageRule {
  static constexpr int TwipsPerInch = 1440;

  int pageWidthTwips = 0;
  int pageHeightTwips = 0;
  QRect textAreaTwips;  // empty when the page leaves no room inside the margins

  static PrintPageRule For(int printableWidthPixels, int printableHeightPixels, int dpiX, int dpiY);

  // The text area in device pixels of a device with the given resolution.
  QRect TextAreaPixels(int dpiX, int dpiY) const;
};
