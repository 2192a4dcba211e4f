// Qt dialogs behind the user's questions.
#include "ui/QtUserPrompts.h"

#include <QFileDialog>
#include <QFontDialog>
#include <QFontInfo>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>

namespace {

constexpr const char* DialogTitle = "Quillmark for Oracle";
constexpr const char* RtfFilter = "RTF Format (*.rtf)";
constexpr const char* TextFilter = "Text Format (*.txt)";
constexpr const char* SqlFilter = "SQL Script (*.sql)";
constexpr const char* ConfigurationFilter = "Quillmark for Oracle Config Files (*.qmo)";

QMessageBox::StandardButtons ButtonsOf(MessageButtons buttons) {
  switch (buttons) {
    case MessageButtons::YesNo:
      return QMessageBox::Yes | QMessageBox::No;
    case MessageButtons::YesNoCancel:
      return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case MessageButtons::Ok:
      break;
  }
  return QMessageBox::Ok;
}

QMessageBox::Icon IconOf(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::Warning:
      return QMessageBox::Warning;
    case MessageIcon::Question:
      return QMessageBox::Question;
    case MessageIcon::Error:
      return QMessageBox::Critical;
    case MessageIcon::Information:
      break;
  }
  return QMessageBox::Information;
}

// A closed box counts as its safest answer: Cancel when offered, else No.
MessageAnswer AnswerOf(int button, MessageButtons buttons) {
  switch (button) {
    case QMessageBox::Yes:
      return MessageAnswer::Yes;
    case QMessageBox::No:
      return MessageAnswer::No;
    case QMessageBox::Cancel:
      return MessageAnswer::Cancel;
    case QMessageBox::Ok:
      return MessageAnswer::Ok;
    default:
      break;
  }
  switch (buttons) {
    case MessageButtons::YesNoCancel:
      return MessageAnswer::Cancel;
    case MessageButtons::YesNo:
      return MessageAnswer::No;
    case MessageButtons::Ok:
      break;
  }
  return MessageAnswer::Ok;
}

}  // namespace

MessageAnswer QtUserPrompts::ShowMessage(QWidget* parent, const QString& text,
                                         MessageButtons buttons, MessageIcon icon) {
  QMessageBox box(IconOf(icon), DialogTitle, text, ButtonsOf(buttons), parent);
  return AnswerOf(box.exec(), buttons);
}

std::optional<QString> QtUserPrompts::ChooseReportFile(QWidget* parent) {
  QFileDialog dialog(parent);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setNameFilters({RtfFilter, TextFilter, SqlFilter});
  dialog.setDefaultSuffix("rtf");
  if (!reportFolder_.isEmpty()) {
    dialog.setDirectory(reportFolder_);
  }
  dialog.setOption(QFileDialog::DontConfirmOverwrite, false);
  // The default suffix follows the chosen filter, so "report" saved as text
  // gets ".txt"; any name but ".rtf" is written as plain text.
  QObject::connect(
      &dialog, &QFileDialog::filterSelected, &dialog, [&dialog](const QString& filter) {
        dialog.setDefaultSuffix(filter == TextFilter ? "txt" : filter == SqlFilter ? "sql" : "rtf");
      });
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
    return std::nullopt;
  }
  reportFolder_ = dialog.directory().absolutePath();
  return dialog.selectedFiles().constFirst();
}

std::optional<QString> QtUserPrompts::ChooseConfigurationFile(QWidget* parent, bool forSaving) {
  QFileDialog dialog(parent);
  dialog.setAcceptMode(forSaving ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode(forSaving ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  dialog.setNameFilter(ConfigurationFilter);
  dialog.setDefaultSuffix("qmo");
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
    return std::nullopt;
  }
  return dialog.selectedFiles().constFirst();
}

std::optional<QFont> QtUserPrompts::ChooseFont(QWidget* parent, const QFont& current) {
  bool accepted = false;
  // The dialog lists installed families only: it starts on the family that
  // stands in for the report's font, rather than on its own default.
  QFont shown = current;
  shown.setFamily(QFontInfo(current).family());
  const QFont chosen = QFontDialog::getFont(&accepted, shown, parent, "Font");
  if (!accepted) {
    return std::nullopt;
  }
  return chosen;
}

bool QtUserPrompts::SetUpPrinter(QWidget* parent, QPrinter& printer) {
  QPrintDialog dialog(&printer, parent);
  // Printing to a PDF file serves a user without a printer.
  dialog.setOption(QAbstractPrintDialog::PrintToFile, true);
  dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
  dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
  return dialog.exec() == QDialog::Accepted;
}
