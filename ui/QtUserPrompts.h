// UserPrompts with Qt's message boxes and standard dialogs.
#pragma once

#include <QString>

#include "ui/UserPrompts.h"

class QtUserPrompts : public UserPrompts {
 public:
  MessageAnswer ShowMessage(QWidget* parent, const QString& text, MessageButtons buttons,
                            MessageIcon icon) override;
  std::optional<QString> ChooseReportFile(QWidget* parent) override;
  std::optional<QString> ChooseConfigurationFile(QWidget* parent, bool forSaving) override;
  std::optional<QFont> ChooseFont(QWidget* parent, const QFont& current) override;
  bool SetUpPrinter(QWidget* parent, QPrinter& printer) override;

 private:
  // The folder of the last report file chosen, where the next dialog opens.
  QString reportFolder_;
};
