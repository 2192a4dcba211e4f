// Report printing: the whole-inch page rule and page-by-page output.
#include <gtest/gtest.h>

#include <QFile>
#include <QPrinter>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextDocument>

#include "ui/PrintPageRule.h"
#include "ui/ReportPrinter.h"

namespace {

TEST(PrintPageRuleTest, RoundsThePrintableAreaDownToWholeInches) {
  // 8.5 x 11 inches at 600 dpi prints as if the page were 8 inches wide.
  const PrintPageRule rule = PrintPageRule::For(5100, 6600, 600, 600);
  EXPECT_EQ(rule.pageWidthTwips, 8 * 1440);
  EXPECT_EQ(rule.pageHeightTwips, 11 * 1440);
  EXPECT_EQ(rule.textAreaTwips, QRect(1440, 1440, 6 * 1440, 9 * 1440));
  EXPECT_EQ(rule.TextAreaPixels(600, 600), QRect(600, 600, 3600, 5400));
}

TEST(PrintPageRuleTest, UsesEachAxisOwnResolution) {
  const PrintPageRule rule = PrintPageRule::For(1199, 3000, 300, 600);  // 3.99 x 5 inches
  EXPECT_EQ(rule.pageWidthTwips, 3 * 1440);
  EXPECT_EQ(rule.pageHeightTwips, 5 * 1440);
  EXPECT_EQ(rule.TextAreaPixels(300, 600), QRect(300, 600, 300, 1800));
}

TEST(PrintPageRuleTest, PageWithoutRoomInsideTheMarginsHasNoTextArea) {
  EXPECT_TRUE(PrintPageRule::For(1199, 6600, 600, 600).textAreaTwips.isEmpty());
  EXPECT_TRUE(PrintPageRule::For(5100, 6600, 0, 600).textAreaTwips.isEmpty());
  EXPECT_TRUE(PrintPageRule::For(5100, 6600, 600, 600).TextAreaPixels(600, 600).isValid());
}

int PdfPageCount(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    return -1;
  }
  const QString pdf = QString::fromLatin1(file.readAll());
  static const QRegularExpression page("/Type\\s*/Page(?!s)");
  return static_cast<int>(pdf.count(page));
}

TEST(ReportPrinterTest, PrintsLongReportOnSeveralPagesAndShortOneOnOne) {
  QTemporaryDir dir;
  QFont font("Courier New");
  font.setPointSizeF(8.5);

  QTextDocument shortReport;
  shortReport.setPlainText("one line");
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(dir.filePath("short.pdf"));
  ASSERT_EQ(ReportPrinter::Print(printer, shortReport, font), ReportPrinter::Outcome::Printed);
  EXPECT_EQ(PdfPageCount(dir.filePath("short.pdf")), 1);

  // 8.5 pt lines on a 9-inch text area hold well under 200 lines a page.
  QString text;
  for (int i = 0; i < 400; ++i) {
    text += QString("INSERT INTO T VALUES (%1);\n").arg(i);
  }
  QTextDocument longReport;
  longReport.setPlainText(text);
  QPrinter longPrinter(QPrinter::HighResolution);
  longPrinter.setOutputFormat(QPrinter::PdfFormat);
  longPrinter.setOutputFileName(dir.filePath("long.pdf"));
  ASSERT_EQ(ReportPrinter::Print(longPrinter, longReport, font), ReportPrinter::Outcome::Printed);
  const int pages = PdfPageCount(dir.filePath("long.pdf"));
  EXPECT_GE(pages, 3);
  EXPECT_LE(pages, 8);
  EXPECT_EQ(longPrinter.docName(), "Quillmark for Oracle");
}

TEST(ReportPrinterTest, PrinterThatCannotOpenItsOutputFails) {
  QTextDocument report;
  report.setPlainText("text");
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName("/nonexistent-directory/report.pdf");
  EXPECT_EQ(ReportPrinter::Print(printer, report, QFont()), ReportPrinter::Outcome::Failed);
}

}  // namespace
