// Report printing: the whole-inch page rule, page-by-page output, and long
// lines of the demo report kept whole on paper.
#include <gtest/gtest.h>

#include <QFile>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QTextOption>
#include <sstream>

#include "app/BatchOptions.h"
#include "app/BatchRun.h"
#include "tests/oracle/SandboxClient.h"
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

QString WithoutBlanks(QString text) {
  static const QRegularExpression blanks("\\s+");
  return text.remove(blanks);
}

TEST(ReportPrinterTest, TheDemoReportsLongestLineIsPrintedWhole) {
  const QString pdfToText = QStandardPaths::findExecutable("pdftotext");
  ASSERT_FALSE(pdfToText.isEmpty()) << "pdftotext (poppler-utils) is needed: run scripts/setup";
  QTemporaryDir dir;
  BatchOptions options;
  options.Batch = true;
  options.Quiet = true;
  options.ConnectString = "DEMO/demo@demo";
  options.Kinds = BatchKindNames();
  options.ReportFile = dir.filePath("demo.sql").toStdString();
  const std::unique_ptr<MemorySettingsStore> store = SandboxSettings();
  std::ostringstream output;
  std::ostringstream errors;
  ASSERT_EQ(RunBatch(options, *store, output, errors), BatchFinished) << errors.str();
  QFile file(QString::fromStdString(options.ReportFile));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QString text = QString::fromUtf8(file.readAll()).remove('\r');
  QString longest;
  for (const QString& line : text.split('\n')) {
    if (line.size() > longest.size()) {
      longest = line;
    }
  }
  // Far wider than the six inches of a letter page's text area.
  ASSERT_GT(longest.size(), 150) << longest.toStdString();

  // As the view holds it: unwrapped.
  QTextDocument report;
  report.setPlainText(text);
  QTextOption unwrapped = report.defaultTextOption();
  unwrapped.setWrapMode(QTextOption::NoWrap);
  report.setDefaultTextOption(unwrapped);
  QFont font("Courier New");
  font.setPointSizeF(8.5);
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(dir.filePath("demo.pdf"));
  ASSERT_EQ(ReportPrinter::Print(printer, report, font), ReportPrinter::Outcome::Printed);

  QProcess extract;
  extract.start(pdfToText, {"-enc", "UTF-8", dir.filePath("demo.pdf"), "-"});
  ASSERT_TRUE(extract.waitForFinished(60000));
  ASSERT_EQ(extract.exitCode(), 0) << extract.readAllStandardError().toStdString();
  const QString printed = WithoutBlanks(QString::fromUtf8(extract.readAllStandardOutput()));
  // Wrapped, the line spans several printed lines: its characters are all there.
  EXPECT_TRUE(printed.contains(WithoutBlanks(longest))) << longest.toStdString();
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
