// Report view: catching up with the report model.
#include "ui/CTallyfoldView.h"

#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <algorithm>
#include <iterator>
#include <limits>

#include "ui/ReportTabStops.h"

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
  connect(&catchUpTimer_, &QTimer::timeout, this, [this] { CatchUp(RunsPerTick); });
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
  CatchUp(std::numeric_limits<std::size_t>::max());
}

void CTallyfoldView::CatchUp(std::size_t limit) {
  ReportModel::Update update = model_.TakeUpdate();
  if (update.IsEmpty() && pending_.empty()) {
    return;
  }
  QScrollBar* bar = verticalScrollBar();
  const bool following = bar->value() == bar->maximum();
  if (update.cleared) {
    pending_.clear();
    clear();
  }
  // The format applies to all text, shown or waiting, so its place among the runs
  // does not matter.
  if (update.format) {
    ApplyCharFormat(*update.format);
  }
  std::move(update.runs.begin(), update.runs.end(), std::back_inserter(pending_));
  AppendPendingRuns(limit);
  if (following) {
    bar->setValue(bar->maximum());
  }
}

void CTallyfoldView::ApplyCharFormat(const ReportCharFormat& format) {
  font_ = FontOf(format);
  document()->setDefaultFont(font_);
  SetReportTabStops(*document(), font_, viewport());
  QTextCursor all(document());
  all.select(QTextCursor::Document);
  all.mergeCharFormat(FontFormat(font_));
}

void CTallyfoldView::AppendPendingRuns(std::size_t limit) {
  const std::size_t count = std::min(limit, pending_.size());
  if (count == 0) {
    return;
  }
  // A cursor of its own: the user's caret and selection stay where they are.
  QTextCursor end(document());
  end.movePosition(QTextCursor::End);
  end.beginEditBlock();
  QTextCharFormat format = FontFormat(font_);
  for (std::size_t i = 0; i < count; ++i) {
    const TextRun& run = pending_[i];
    format.setForeground(QColor(run.colour.red, run.colour.green, run.colour.blue));
    format.setFontUnderline(run.underline);
    QString text = QString::fromUtf8(run.text.data(), static_cast<qsizetype>(run.text.size()));
    text.remove(QLatin1Char('\r'));
    end.insertText(text, format);
  }
  end.endEditBlock();
  pending_.erase(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(count));
}

void CTallyfoldView::MoveCaretToEnd() {
  CatchUp();
  moveCursor(QTextCursor::End);
  ensureCursorVisible();
}
