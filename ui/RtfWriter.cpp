// RTF output of a text document. One font table and one colour table are
// collected first, then every text fragment is written as its own group so
// that no formatting leaks from one run into the next.
#include "ui/RtfWriter.h"

#include <QColor>
#include <QFont>
#include <QFontInfo>
#include <QStringList>
#include <QTextBlock>
#include <QTextCharFormat>
#include <QTextDocument>
#include <QTextFragment>
#include <QVector>
#include <cmath>

namespace {

// Collects the distinct values of a table in first-use order.
template <typename T>
class RtfTable {
 public:
  int IndexOf(const T& value) {
    const qsizetype found = values_.indexOf(value);
    if (found >= 0) {
      return static_cast<int>(found);
    }
    values_.append(value);
    return static_cast<int>(values_.size() - 1);
  }
  const QVector<T>& Values() const { return values_; }

 private:
  QVector<T> values_;
};

void AppendEscaped(QByteArray& out, const QString& text) {
  for (qsizetype i = 0; i < text.size(); ++i) {
    const char16_t unit = text.at(i).unicode();
    switch (unit) {
      case u'\\':
        out += "\\\\";
        break;
      case u'{':
        out += "\\{";
        break;
      case u'}':
        out += "\\}";
        break;
      case u'\t':
        out += "\\tab ";
        break;
      case u'\r':
        break;
      case u'\n':
      case QChar::LineSeparator:
        out += "\\line ";
        break;
      default:
        if (unit < 0x80) {
          out += static_cast<char>(unit);
        } else {
          // RTF takes UTF-16 code units as signed 16-bit numbers, each followed by
          // one fallback character for readers without Unicode support.
          out += "\\u" + QByteArray::number(static_cast<qint16>(unit)) + "?";
        }
    }
  }
}

QByteArray FontFamilyKeyword(const QString& family) {
  const QFont font(family);
  return QFontInfo(font).fixedPitch() ? "\\fmodern" : "\\fswiss";
}

}  // namespace

QByteArray RtfWriter::Write(const QTextDocument& document) {
  RtfTable<QString> fonts;
  RtfTable<QColor> colours;
  QByteArray body;

  const QFont defaultFont = document.defaultFont();
  for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
    for (auto it = block.begin(); !it.atEnd(); ++it) {
      const QTextFragment fragment = it.fragment();
      if (!fragment.isValid()) {
        continue;
      }
      const QTextCharFormat format = fragment.charFormat();
      QFont font = format.font();
      if (!format.hasProperty(QTextFormat::FontFamilies)) {
        font.setFamilies(defaultFont.families());
      }
      double points = font.pointSizeF();
      if (points <= 0) {
        points = defaultFont.pointSizeF();
      }
      body += "{\\f" + QByteArray::number(fonts.IndexOf(font.family()));
      body += "\\fs" + QByteArray::number(static_cast<int>(std::lround(points * 2.0)));
      if (format.foreground().style() != Qt::NoBrush) {
        // Index 0 of the colour table is the reader's automatic colour.
        body += "\\cf" + QByteArray::number(colours.IndexOf(format.foreground().color()) + 1);
      }
      if (font.bold()) {
        body += "\\b";
      }
      if (font.italic()) {
        body += "\\i";
      }
      if (format.fontUnderline()) {
        body += "\\ul";
      }
      body += ' ';
      AppendEscaped(body, fragment.text());
      body += '}';
    }
    if (block.next().isValid()) {
      body += "\\par\n";
    }
  }
  if (fonts.Values().isEmpty()) {
    fonts.IndexOf(defaultFont.family());
  }

  QByteArray out = "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1\n{\\fonttbl";
  for (int i = 0; i < fonts.Values().size(); ++i) {
    const QString& family = fonts.Values().at(i);
    out += "{\\f" + QByteArray::number(i) + FontFamilyKeyword(family) + ' ';
    AppendEscaped(out, family);
    out += ";}";
  }
  out += "}\n{\\colortbl ;";
  for (const QColor& colour : colours.Values()) {
    out += "\\red" + QByteArray::number(colour.red()) + "\\green" +
           QByteArray::number(colour.green()) + "\\blue" + QByteArray::number(colour.blue()) + ';';
  }
  out += "}\n\\pard\\plain\n";
  out += body;
  out += "}";
  return out;
}
