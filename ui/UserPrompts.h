// The questions the desktop program puts to the user: message boxes and the
// common file, font and print dialogs. The window asks through this interface
// so that tests can answer in place of the user.
#pragma once

#include <QFont>
#include <QString>
#include <optional>

#include "engine/RunHost.h"

class QPrinter;
class QWidget;

class UserPrompts {
 public:
  virtual ~UserPrompts() = default;

  virtual MessageAnswer ShowMessage(QWidget* parent, const QString& text, MessageButtons buttons,
                                    MessageIcon icon) = 0;
  // The report's save-file dialog: a path, or nothing when cancelled.
  virtual std::optional<QString> ChooseReportFile(QWidget* parent) = 0;
  // The *.qmo file dialog, to save one (asking before overwriting) or to open
  // an existing one: a path, or nothing when cancelled.
  virtual std::optional<QString> ChooseConfigurationFile(QWidget* parent, bool forSaving) = 0;
  virtual std::optional<QFont> ChooseFont(QWidget* parent, const QFont& current) = 0;
  // The print dialog; false when cancelled.
  virtual bool SetUpPrinter(QWidget* parent, QPrinter& printer) = 0;
};
