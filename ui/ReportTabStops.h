// Report tab stops: the report lines up column names and types with tabs, so
// a stop falls every eight blanks of the report font, on screen as in print.
#pragma once

class QFont;
class QPaintDevice;
class QTextDocument;

constexpr int BlanksPerTabStop = 8;

// Sets document's tab stops for font as measured on device (null: the screen).
void SetReportTabStops(QTextDocument& document, const QFont& font, QPaintDevice* device);
