// ScriptedPrompts: answers the program's questions in place of the user and
// records every message it was shown, for the desktop program's tests.
#pragma once

#include <QFont>
#include <QString>
#include <QStringList>
#include <deque>
#include <mutex>

#include "ui/UserPrompts.h"

class ScriptedPrompts : public UserPrompts {
 public:
  // Answers for the next questions, in order; a question without a scripted
  // answer gets No (Cancel for Yes/No/Cancel), an OK box gets Ok.
  void Answer(MessageAnswer answer) { answers_.push_back(answer); }
  // The next report file dialog chooses path; an empty path cancels it.
  void ChooseFile(const QString& path) { files_.push_back(path); }
  void ChooseFontOnce(const QFont& font) { font_ = font; }
  // The next print dialog prints to this PDF file; empty cancels.
  void PrintTo(const QString& pdfPath) { pdfPath_ = pdfPath; }

  QStringList Messages() const;
  bool WasShown(const QString& text) const { return Messages().contains(text); }
  int FileDialogsShown() const { return fileDialogs_; }

  MessageAnswer ShowMessage(QWidget* parent, const QString& text, MessageButtons buttons,
                            MessageIcon icon) override;
  std::optional<QString> ChooseReportFile(QWidget* parent) override;
  // Takes the next path of ChooseFile, as the report's file dialog does.
  std::optional<QString> ChooseConfigurationFile(QWidget* parent, bool forSaving) override;
  std::optional<QFont> ChooseFont(QWidget* parent, const QFont& current) override;
  bool SetUpPrinter(QWidget* parent, QPrinter& printer) override;

 private:
  mutable std::mutex mutex_;
  QStringList messages_;
  std::deque<MessageAnswer> answers_;
  std::deque<QString> files_;
  std::optional<QFont> font_;
  QString pdfPath_;
  int fileDialogs_ = 0;
};
