// Scripted answers of the desktop program's tests.
#include "ScriptedPrompts.h"

#include <QPrinter>

QStringList ScriptedPrompts::Messages() const {
  std::lock_guard lock(mutex_);
  return messages_;
}

MessageAnswer ScriptedPrompts::ShowMessage(QWidget*, const QString& text, MessageButtons buttons,
                                           MessageIcon) {
  std::lock_guard lock(mutex_);
  messages_.append(text);
  if (buttons == MessageButtons::Ok) {
    return MessageAnswer::Ok;
  }
  if (answers_.empty()) {
    return buttons == MessageButtons::YesNoCancel ? MessageAnswer::Cancel : MessageAnswer::No;
  }
  const MessageAnswer answer = answers_.front();
  answers_.pop_front();
  return answer;
}

std::optional<QString> ScriptedPrompts::ChooseReportFile(QWidget*) {
  ++fileDialogs_;
  if (files_.empty() || files_.front().isEmpty()) {
    if (!files_.empty()) {
      files_.pop_front();
    }
    return std::nullopt;
  }
  QString path = files_.front();
  files_.pop_front();
  return path;
}

std::optional<QString> ScriptedPrompts::ChooseConfigurationFile(QWidget* parent, bool) {
  return ChooseReportFile(parent);
}

std::optional<QFont> ScriptedPrompts::ChooseFont(QWidget*, const QFont&) {
  std::optional<QFont> chosen = font_;
  font_.reset();
  return chosen;
}

bool ScriptedPrompts::SetUpPrinter(QWidget*, QPrinter& printer) {
  if (pdfPath_.isEmpty()) {
    return false;
  }
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(pdfPath_);
  pdfPath_.clear();
  return true;
}
