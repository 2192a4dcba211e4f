// The help pages as shipped: every link between them leads to a page that
// exists, and every page leads back to the contents. A dialog's Help button
// and F1 show its page in the help window, and a page that is not installed
// shows the contents.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QTextBrowser>
#include <QUrl>

#include "ui/HelpPages.h"
#include "ui/HelpWindow.h"

namespace {

TEST(HelpPagesTest, LinksLeadToShippedPages) {
  const QDir help(QUILLMARK_HELP_SOURCE_DIR);
  const QStringList pages = help.entryList({"*.html"}, QDir::Files);
  ASSERT_TRUE(pages.contains("index.html"));
  const QRegularExpression link(R"(href="([^"#:]+))");
  for (const QString& page : pages) {
    QFile file(help.filePath(page));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(file.readAll());
    for (const QRegularExpressionMatch& match : link.globalMatch(text)) {
      EXPECT_TRUE(pages.contains(match.captured(1)))
          << page.toStdString() << " links to " << match.captured(1).toStdString();
    }
    if (page != "index.html") {
      EXPECT_TRUE(text.contains(R"(href="index.html")")) << page.toStdString();
    }
  }
}

TEST(HelpPagesTest, HelpButtonAndF1OpenTheDialogsPage) {
  // The pages as installed beside the program; this test's program has none.
  const QString installed =
      QDir(QCoreApplication::applicationDirPath()).filePath("../share/quillmark/help");
  QDir shared(QDir(installed).filePath("../.."));
  shared.removeRecursively();  // left by an interrupted run
  ASSERT_TRUE(QDir().mkpath(installed));
  for (const char* page : {"index.html", "connect.html"}) {
    QFile::copy(QDir(QUILLMARK_HELP_SOURCE_DIR).filePath(page), QDir(installed).filePath(page));
  }
  QStringList shown;
  const auto record = [&shown] {
    ASSERT_NE(CurrentHelpWindow(), nullptr);
    shown << QFileInfo(CurrentHelpWindow()->Browser()->source().toLocalFile()).fileName();
  };

  QDialog dialog;
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, &dialog);
  AddHelp(dialog, *buttons, "connect");
  dialog.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
  buttons->button(QDialogButtonBox::Help)->click();
  record();
  dialog.activateWindow();
  QTest::keyClick(&dialog, Qt::Key_F1);
  record();
  EXPECT_TRUE(ShowHelpPage("not-written-yet"));
  record();
  EXPECT_TRUE(ShowHelpPage("../../../etc/passwd"));  // never a path out of the help
  record();
  EXPECT_EQ(shown, QStringList({"connect.html", "connect.html", "index.html", "index.html"}));
  // The page is shown by the program itself, titled as the page is.
  EXPECT_TRUE(CurrentHelpWindow()->isVisible());
  EXPECT_FALSE(CurrentHelpWindow()->Browser()->toPlainText().isEmpty());
  EXPECT_TRUE(CurrentHelpWindow()->windowTitle().endsWith(HelpWindow::TitleText));
  CurrentHelpWindow()->close();

  shared.removeRecursively();
}

}  // namespace
