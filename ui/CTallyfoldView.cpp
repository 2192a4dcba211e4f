// Report view: catching up with the report model.
#include "ui/CTallyfoldView.h"

#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>

namespace {

QTextCharFormat FontFormat(const QFont& font) {
  QTextCharFormat format;
  format.setFontFamilies(font.families());
  format.setFontPointSize(font.pointSizeF());
  format.setFontWeight(font.weight());
  format.setFontItalic(font.italic());
  format.setFontStrikeOut(font.strikeOut());
  return format;
}

}  // namespace

CTallyfoldView::CTallyfoldView(ReportModel& model, QWidget* parent)
    : QPlainTextEdit(parent), model_(model) {
  setReadOnly(true);
  // The caret stays usable for selecting, copying and find.
  setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  setLineWrapMode(QPlainTextEdit::NoWrap);
  setUndoRedoEnabled(false);
  setWordWrapMode(QTextOption::NoWrap);
  ApplyCharFormat(model_.CharFormat());
  connect(&catchUpTimer_, &QTimer::timeout, this, &CTallyfoldView::CatchUp);
  catchUpTimer_.start(CatchUpIntervalMs);
}

QFont CTallyfoldView::FontOf(const ReportCharFormat& format) {
  QFont font(QString::fromStdString(format.faceName));
  font.setPointSizeF(format.height > 0 ? format.PointSize() : 8.5);
  font.setBold(format.Bold());
  font.setItalic(format.Italic());
  font.setStrikeOut(format.StrikeOut());
  font.setStyleHint(QFont::TypeWriter, QFont::PreferDefault);
  return font;
}

void CTallyfoldView::CatchUp() {
  ReportModel::Update update = model_.TakeUpdate();
  if (update.IsEmpty()) {
    return;
  }
  QScrollBar* bar = verticalScrollBar();
  const bool following = bar->value() == bar->maximum();
  if (update.cleared) {
    clear();
  }
  if (update.format) {
    ApplyCharFormat(*update.format);
  }
  AppendRuns(update.runs);
  if (following) {
    bar->setValue(bar->maximum());
  }
}

void CTallyfoldView::ApplyCharFormat(const ReportCharFormat& format) {
  font_ = FontOf(format);
  document()->setDefaultFont(font_);
  QTextCursor all(document());
  all.select(QTextCursor::Document);
  all.mergeCharFormat(FontFormat(font_));
}

void CTallyfoldView::AppendRuns(const std::vector<TextRun>& runs) {
  if (runs.empty()) {
    return;
  }
  // A cursor of its own: the user's caret and selection stay where they are.
  QTextCursor end(document());
  end.movePosition(QTextCursor::End);
  end.beginEditBlock();
  QTextCharFormat format = FontFormat(font_);
  for (const TextRun& run : runs) {
    format.setForeground(QColor(run.colour.red, run.colour.green, run.colour.blue));
    format.setFontUnderline(run.underline);
    QString text = QString::fromUtf8(run.text.data(), static_cast<qsizetype>(run.text.size()));
    text.remove(QLatin1Char('\r'));
    end.insertText(text, format);
  }
  end.endEditBlock();
}

void CTallyfoldView::MoveCaretToEnd() {
  CatchUp();
  moveCursor(QTextCursor::End);
  ensureCursorVisible();
}
