// The report document: what the user does with a report once it is written -
// saving it as rich text or plain text, the unsaved-report question before it
// is lost, choosing its font and printing it.
#pragma once

#include <QFile>
#include <QString>

class CTallyfoldView;
class QWidget;
class ReportModel;
class SettingsStore;
class UserPrompts;
struct RunFlags;

class CTallyfoldDoc {
 public:
  static constexpr const char* UnsavedQuestion =
      "The report has not been saved. Do you wish to save it?";
  static constexpr const char* OpenFailedText = "Could not open file.";
  static constexpr const char* SaveFailedText = "ERROR: Could not save file.";

  CTallyfoldDoc(QWidget& window, CTallyfoldView& view, ReportModel& model, RunFlags& flags,
                SettingsStore& store, UserPrompts& prompts);

  // Asks for a file and saves the report unless it is saved already; a
  // cancelled file dialog or a failed write sets SaveCancelled.
  void SaveReport();
  // "Save Report": always asks for a file.
  void SaveReportCommand();
  // The question before the report is lost; false refuses.
  bool CanCloseReport();
  void FontCommand();
  void PrintCommand();

  // Writes the report to path, as rich text when its extension is "rtf" in any
  // case, as plain text otherwise; shows the failure and returns false.
  bool WriteReport(const QString& path);

 private:
  static bool OpenForSaving(QFile& file);
  bool WriteRichText(const QString& path);
  bool WritePlainText(const QString& path);
  void Tell(const QString& text);

  QWidget& window_;
  CTallyfoldView& view_;
  ReportModel& model_;
  RunFlags& flags_;
  SettingsStore& store_;
  UserPrompts& prompts_;
};
