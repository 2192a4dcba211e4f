// Whole-inch page rule of report printing.
#include "ui/PrintPageRule.h"

namespace {

int WholeInchesInTwips(int pixels, int dpi) {
  if (dpi <= 0 || pixels <= 0) {
    return 0;
  }
  return pixels / dpi * PrintPageRule::TwipsPerInch;
}

int TwipsToPixels(int twips, int dpi) {
  return static_cast<int>(static_cast<long long>(twips) * dpi / PrintPageRule::TwipsPerInch);
}

}  // namespace

PrintPageRule PrintPageRule::For(int printableWidthPixels, int printableHeightPixels, int dpiX,
                                 int dpiY) {
  PrintPageRule rule;
  rule.pageWidthTwips = WholeInchesInTwips(printableWidthPixels, dpiX);
  rule.pageHeightTwips = WholeInchesInTwips(printableHeightPixels, dpiY);
  const int width = rule.pageWidthTwips - 2 * TwipsPerInch;
  const int height = rule.pageHeightTwips - 2 * TwipsPerInch;
  if (width > 0 && height > 0) {
    rule.textAreaTwips = QRect(TwipsPerInch, TwipsPerInch, width, height);
  }
  return rule;
}

QRect PrintPageRule::TextAreaPixels(int dpiX, int dpiY) const {
  if (textAreaTwips.isEmpty()) {
    return {};
  }
  return QRect(TwipsToPixels(textAreaTwips.x(), dpiX), TwipsToPixels(textAreaTwips.y(), dpiY),
               TwipsToPixels(textAreaTwips.width(), dpiX),
               TwipsToPixels(textAreaTwips.height(), dpiY));
}
