// The help pages as shipped: every link between them leads to a page that
// exists, and every page leads back to the contents.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QRegularExpression>

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

}  // namespace
