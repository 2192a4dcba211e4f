// Report document operations: save, close question, font and print.
#include "ui/CTallyfoldDoc.h"

#include <QFile>
#include <QFileInfo>
#include <QPrinter>
#include <memory>

#include "config/SettingsStore.h"
#include "engine/ReportModel.h"
#include "engine/RunFlags.h"
#include "ui/CSavingDialog.h"
#include "ui/CTallyfoldView.h"
#include "ui/ReportPrinter.h"
#include "ui/RtfWriter.h"
#include "ui/UserPrompts.h"

CTallyfoldDoc::CTallyfoldDoc(QWidget& window, CTallyfoldView& view, ReportModel& model,
                             RunFlags& flags, SettingsStore& store, UserPrompts& prompts)
    : window_(window),
      view_(view),
      model_(model),
      flags_(flags),
      store_(store),
      prompts_(prompts) {}

void CTallyfoldDoc::Tell(const QString& text) {
  prompts_.ShowMessage(&window_, text, MessageButtons::Ok, MessageIcon::Information);
}

void CTallyfoldDoc::SaveReport() {
  if (flags_.ReportSaved) {
    return;
  }
  view_.CatchUp();
  if (model_.IsEmpty()) {
    flags_.ReportSaved = 1;
    return;
  }
  const std::optional<QString> path = prompts_.ChooseReportFile(&window_);
  if (!path) {
    flags_.SaveCancelled = 1;
    return;
  }
  flags_.SaveCancelled = 0;
  if (!WriteReport(*path)) {
    // A save that failed counts as not done: the questions that asked for it
    // must not go on to clear or close the report.
    flags_.SaveCancelled = 1;
    return;
  }
  flags_.ReportSaved = 1;
}

void CTallyfoldDoc::SaveReportCommand() {
  if (model_.IsEmpty()) {
    prompts_.ShowMessage(&window_, "There is nothing to save: the report is empty.",
                         MessageButtons::Ok, MessageIcon::Information);
    return;
  }
  flags_.ReportSaved = 0;
  SaveReport();
}

bool CTallyfoldDoc::CanCloseReport() {
  // A saved report may close even when an earlier file dialog was cancelled:
  // the stale flag would otherwise refuse every exit without a word.
  if (flags_.ReportSaved) {
    return true;
  }
  flags_.SaveCancelled = 0;
  switch (prompts_.ShowMessage(&window_, UnsavedQuestion, MessageButtons::YesNoCancel,
                               MessageIcon::Question)) {
    case MessageAnswer::Cancel:
      return false;
    case MessageAnswer::Yes:
      SaveReport();
      return !flags_.SaveCancelled;
    default:
      return true;
  }
}

bool CTallyfoldDoc::WriteReport(const QString& path) {
  view_.CatchUp();
  if (QFileInfo(path).suffix().compare("rtf", Qt::CaseInsensitive) == 0) {
    return WriteRichText(path);
  }
  return WritePlainText(path);
}

bool CTallyfoldDoc::OpenForSaving(QFile& file) {
  // A report may hold anything the schema holds: only its owner reads a new one.
  return file.open(QIODevice::WriteOnly | QIODevice::Truncate,
                   QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

bool CTallyfoldDoc::WriteRichText(const QString& path) {
  QFile file(path);
  if (!OpenForSaving(file)) {
    Tell(OpenFailedText);
    return false;
  }
  const QByteArray rtf = RtfWriter::Write(*view_.document()) + '\n';
  if (file.write(rtf) != rtf.size() || !file.flush()) {
    file.close();
    Tell(SaveFailedText);
    return false;
  }
  file.close();
  return true;
}

bool CTallyfoldDoc::WritePlainText(const QString& path) {
  QFile file(path);
  if (!OpenForSaving(file)) {
    Tell(OpenFailedText);
    return false;
  }
  // Lines are copied whole: a long generated statement must not be cut short.
  const int lineCount = model_.LineCount();
  CSavingDialog saving(&window_, lineCount);
  for (int i = 0; i < lineCount; ++i) {
    const std::string line = model_.Line(i);
    if (file.write(line.data(), static_cast<qint64>(line.size())) !=
        static_cast<qint64>(line.size())) {
      file.close();
      Tell(SaveFailedText);
      return false;
    }
    saving.Step();
  }
  if (!file.flush()) {
    file.close();
    Tell(SaveFailedText);
    return false;
  }
  file.close();
  saving.Finish();
  return true;
}

void CTallyfoldDoc::FontCommand() {
  const std::optional<QFont> chosen = prompts_.ChooseFont(&window_, view_.ReportFont());
  if (!chosen) {
    return;
  }
  ReportCharFormat format = model_.CharFormat();
  format.SetFont(chosen->family().toStdString(), chosen->pointSizeF(), chosen->bold(),
                 chosen->italic());
  format.Save(store_);
  model_.SetCharFormat(format);
  view_.CatchUp();
}

void CTallyfoldDoc::PrintCommand() {
  QPrinter printer(QPrinter::HighResolution);
  if (!prompts_.SetUpPrinter(&window_, printer)) {
    return;
  }
  view_.CatchUp();
  if (ReportPrinter::Print(printer, *view_.document(), view_.ReportFont()) ==
      ReportPrinter::Outcome::Failed) {
    prompts_.ShowMessage(&window_, ReportPrinter::GeneralErrorText, MessageButtons::Ok,
                         MessageIcon::Warning);
  }
}
