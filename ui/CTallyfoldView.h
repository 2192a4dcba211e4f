// The report view: a read-only plain-text edit that shows the core's report
// model. Runs append to the model on their own thread; the view catches up
// from a timer, applying each batch in one edit block, and always puts run
// text at the end of the report, wherever the user's caret is.
#pragma once

#include <QFont>
#include <QPlainTextEdit>
#include <QTimer>
#include <deque>

#include "engine/ReportCharFormat.h"
#include "engine/ReportModel.h"

class CTallyfoldView : public QPlainTextEdit {
  Q_OBJECT

 public:
  static constexpr int CatchUpIntervalMs = 50;
  // Runs shown per timer tick, so that a long report keeps the window usable
  // while the view catches up.
  static constexpr std::size_t RunsPerTick = 20000;

  CTallyfoldView(ReportModel& model, QWidget* parent);

  // Shows everything the model gained since the last look; anything that needs
  // the view complete (saving, printing, find) calls it first.
  void CatchUp();
  // The timer's step: takes the model's update and shows at most limit of the
  // runs waiting.
  void CatchUp(std::size_t limit);
  // True while runs taken from the model wait to be shown.
  bool HasPendingRuns() const { return !pending_.empty(); }
  // Moves the caret to the end of the report and shows it.
  void MoveCaretToEnd();
  // The font the report is shown in.
  QFont ReportFont() const { return font_; }

  static QFont FontOf(const ReportCharFormat& format);

 private:
  void ApplyCharFormat(const ReportCharFormat& format);
  void AppendPendingRuns(std::size_t limit);

  ReportModel& model_;
  QTimer catchUpTimer_;
  std::deque<TextRun> pending_;
  QFont font_;
};
