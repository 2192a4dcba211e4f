// Prints the report document page by page on a chosen printer, inside the
// whole-inch page rule with one-inch margins; lines longer than the page is
// wide wrap onto the next line, so nothing is cut off.
#pragma once

#include <QFont>
#include <QString>

class QPrinter;
class QTextDocument;

class ReportPrinter {
 public:
  enum class Outcome { Printed, Cancelled, Failed };

  static constexpr const char* JobName = "Quillmark for Oracle";
  static constexpr const char* GeneralErrorText =
      "There was a general printing error, please check printer is working properly, connected, "
      "on line etc.";

  // Renders every page of the document; the printer is set up by the caller.
  static Outcome Print(QPrinter& printer, const QTextDocument& report, const QFont& font);
};
