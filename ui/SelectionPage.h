// SelectionPage: one kind's objects listed for the user to include or leave
// out of a run. The run settings keep what is left out, so that objects
// created later are included by default. The list is read when the page is
// first shown; a page never shown applies nothing.
#pragma once

#include <QWidget>
#include <functional>
#include <string>
#include <vector>

class QCheckBox;
class QListWidget;
class QPushButton;

class SelectionPage : public QWidget {
  Q_OBJECT

 public:
  using NameSource = std::function<std::vector<std::string>()>;

  SelectionPage(const QString& listLabel, const QString& notProcessedText, NameSource names,
                std::vector<std::string>& excluded, int& notProcessed, QWidget* parent = nullptr);

  // Writes the choices back when the page was shown.
  void Apply();

  QListWidget* NameList() const { return list_; }
  QPushButton* SelectAllButton() const { return selectAll_; }
  QPushButton* UnselectAllButton() const { return unselectAll_; }

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void Fill();

  NameSource names_;
  std::vector<std::string>& excluded_;
  int& notProcessed_;
  QListWidget* list_ = nullptr;
  QCheckBox* notProcessedBox_ = nullptr;
  QPushButton* selectAll_ = nullptr;
  QPushButton* unselectAll_ = nullptr;
  bool filled_ = false;
};
