// ColumnPatternsPage: the column names a run ignores, as patterns with at
// most one "%" standing for any text.
#pragma once

#include <QWidget>
#include <string>
#include <vector>

class QLineEdit;
class QListWidget;
class QPushButton;
class UserPrompts;

class ColumnPatternsPage : public QWidget {
  Q_OBJECT

 public:
  ColumnPatternsPage(std::vector<std::string>& patterns, UserPrompts& prompts,
                     QWidget* parent = nullptr);

  // Writes the list back; false, with the page kept open, while the edit
  // still holds a pattern (it is added first, or refused).
  bool Apply();

  QLineEdit* PatternEdit() const { return edit_; }
  QListWidget* PatternList() const { return list_; }
  QPushButton* AddButton() const { return add_; }
  QPushButton* RemoveButton() const { return remove_; }

 private:
  void Add();
  void Remove();

  std::vector<std::string>& patterns_;
  UserPrompts& prompts_;
  QLineEdit* edit_ = nullptr;
  QListWidget* list_ = nullptr;
  QPushButton* add_ = nullptr;
  QPushButton* remove_ = nullptr;
};
