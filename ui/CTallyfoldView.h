// The report view: a read-only plain-text edit that shows the core's report
// model. Runs append to the model on their own thread; the view catches up
// from a timer, applying each batch in one edit block, and always puts run
// text at the end of the report, wherever the user's caret is.
#pragma once

#include <QFont>
#include <QPlainTextEdit>
#include <QTimer>

#include "engine/ReportCharFormat.h"
#include "engine/ReportModel.h"

class CTallyfoldView : public QPlainTextEdit {
  Q_OBJECT

 public:
  static constexpr int CatchUpIntervalMs = 50;

  CTallyfoldView(ReportModel& model, QWidget* parent);

  // Applies what the model gained since the last look; the timer calls it, and
  // so does anything that needs the view complete (saving, printing, find).
  void CatchUp();
  // Moves the caret to the end of the report and shows it.
  void MoveCaretToEnd();
  // The font the report is shown in.
  QFont ReportFont() const { return font_; }

  static QFont FontOf(const ReportCharFormat& format);

 private:
  void ApplyCharFormat(const ReportCharFormat& format);
  void AppendRuns(const std::vector<TextRun>& runs);

  ReportModel& model_;
  QTimer catchUpTimer_;
  QFont font_;
};
