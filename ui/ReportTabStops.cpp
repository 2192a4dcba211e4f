// Report tab stops measured in blanks of the report font.
#include "ui/ReportTabStops.h"

#include <QFontMetricsF>
#include <QTextDocument>
#include <QTextOption>

void SetReportTabStops(QTextDocument& document, const QFont& font, QPaintDevice* device) {
  const QFontMetricsF metrics(font, device);
  QTextOption option = document.defaultTextOption();
  option.setTabStopDistance(BlanksPerTabStop * metrics.horizontalAdvance(QLatin1Char(' ')));
  document.setDefaultTextOption(option);
}
