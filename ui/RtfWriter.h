// Writes a QTextDocument as a rich-text (RTF) stream: the saved report keeps
// its colours, underline and font the way the report view shows them.
#pragma once

#include <QByteArray>

class QTextDocument;

class RtfWriter {
 public:
  // The whole document as one RTF group; blocks become paragraphs.
  static QByteArray Write(const QTextDocument& document);
};
