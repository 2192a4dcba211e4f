// CSourceSheet: "Advanced Source Options", the tabbed sheet behind the
// parameters dialog's Source "Advanced..." button: one selection page per
// kind of stored source. OK writes the pages that were shown into the run
// settings; Cancel writes nothing.
#pragma once

#include <QDialog>
#include <memory>
#include <vector>

struct RunSettings;
class DatabaseChoice;
class QTabWidget;
class SelectionPage;

class CSourceSheet : public QDialog {
  Q_OBJECT

 public:
  CSourceSheet(RunSettings& settings, DatabaseChoice& database, QWidget* parent = nullptr);
  ~CSourceSheet() override;

  QTabWidget* Tabs() const { return tabs_; }
  // The pages in tab order: triggers, views, functions, packages, package
  // bodies, procedures, types, type bodies.
  const std::vector<SelectionPage*>& Pages() const { return pages_; }

  void accept() override;

 private:
  RunSettings& settings_;
  std::unique_ptr<RunSettings> edited_;
  QTabWidget* tabs_ = nullptr;
  std::vector<SelectionPage*> pages_;
};
