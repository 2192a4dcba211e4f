// Report printing: the document is laid out again on the printer's resolution
// with the text area of the page rule as its page, long lines wrapped, then
// drawn page by page.
#include "ui/ReportPrinter.h"

#include <QAbstractTextDocumentLayout>
#include <QPainter>
#include <QPrinter>
#include <QTextDocument>
#include <QTextOption>
#include <memory>

#include "ui/PrintPageRule.h"
#include "ui/ReportTabStops.h"

ReportPrinter::Outcome ReportPrinter::Print(QPrinter& printer, const QTextDocument& report,
                                            const QFont& font) {
  printer.setDocName(JobName);
  const int dpiX = printer.logicalDpiX();
  const int dpiY = printer.logicalDpiY();
  const PrintPageRule rule = PrintPageRule::For(printer.width(), printer.height(), dpiX, dpiY);
  const QRect textArea = rule.TextAreaPixels(dpiX, dpiY);
  if (textArea.isEmpty()) {
    return Outcome::Failed;
  }

  // A copy keeps the on-screen layout untouched; its layout paginates.
  std::unique_ptr<QTextDocument> pages(report.clone());
  pages->setDefaultFont(font);
  SetReportTabStops(*pages, font, &printer);
  pages->setDocumentMargin(0);
  // The view shows long lines unwrapped; on paper they would be cut at the
  // margin, so they wrap instead, at a blank where there is one.
  QTextOption wrapping = pages->defaultTextOption();
  wrapping.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
  pages->setDefaultTextOption(wrapping);
  pages->documentLayout()->setPaintDevice(&printer);
  pages->setPageSize(textArea.size());

  QPainter painter;
  if (!painter.begin(&printer)) {
    return printer.printerState() == QPrinter::Aborted ? Outcome::Cancelled : Outcome::Failed;
  }
  const int pageCount = std::max(1, pages->pageCount());
  for (int page = 0; page < pageCount; ++page) {
    if (page > 0 && !printer.newPage()) {
      painter.end();
      return Outcome::Failed;
    }
    painter.save();
    painter.translate(textArea.topLeft());
    const QRectF pageRect(0, page * textArea.height(), textArea.width(), textArea.height());
    painter.translate(0, -pageRect.top());
    painter.setClipRect(pageRect);
    QAbstractTextDocumentLayout::PaintContext context;
    context.clip = pageRect;
    context.palette.setColor(QPalette::Text, Qt::black);
    pages->documentLayout()->draw(&painter, context);
    painter.restore();
    if (printer.printerState() == QPrinter::Aborted) {
      painter.end();
      return Outcome::Cancelled;
    }
  }
  if (!painter.end() || printer.printerState() == QPrinter::Error) {
    return Outcome::Failed;
  }
  return printer.printerState() == QPrinter::Aborted ? Outcome::Cancelled : Outcome::Printed;
}
