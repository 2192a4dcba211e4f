// Keyboard mnemonics: no two controls a user can reach at the same time
// share one Alt key, in any dialog or on any tab of it, nor two menus of
// the menu bar or two commands of one menu; the login labels lead to their
// fields.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QStackedWidget>
#include <QTabBar>
#include <map>
#include <vector>

#include "EveryDialog.h"
#include "ScriptedPrompts.h"
#include "engine/EmptyRunPhases.h"
#include "tests/oracle/SandboxClient.h"
#include "ui/CFindDialog.h"
#include "ui/CMainFrame.h"

namespace {

// The letter after the first single "&", lower case; null when there is none.
QChar Mnemonic(const QString& text) {
  for (qsizetype i = 0; i + 1 < text.size(); ++i) {
    if (text[i] == '&') {
      if (text[i + 1] != '&') {
        return text[i + 1].toLower();
      }
      ++i;  // "&&" is a plain ampersand
    }
  }
  return {};
}

using Scope = std::vector<QString>;  // the texts reachable together

void AddText(Scope& scope, const QString& text) {
  if (!Mnemonic(text).isNull()) {
    scope.push_back(text);
  }
}

// The texts of widget's own controls, and each page of a stack inside it
// (a tab) as a scope of its own that also holds the controls around it.
std::vector<Scope> ScopesOf(QWidget& widget) {
  Scope own;
  std::vector<QStackedWidget*> stacks;
  std::vector<QWidget*> pending{&widget};
  while (!pending.empty()) {
    QWidget* current = pending.back();
    pending.pop_back();
    if (auto* button = qobject_cast<QAbstractButton*>(current)) {
      AddText(own, button->text());
    } else if (auto* label = qobject_cast<QLabel*>(current); label && label->buddy()) {
      AddText(own, label->text());
    } else if (auto* group = qobject_cast<QGroupBox*>(current)) {
      AddText(own, group->title());
    } else if (auto* tabs = qobject_cast<QTabBar*>(current)) {
      for (int i = 0; i < tabs->count(); ++i) {
        AddText(own, tabs->tabText(i));
      }
    }
    for (QWidget* child : current->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
      if (auto* stack = qobject_cast<QStackedWidget*>(child)) {
        stacks.push_back(stack);
      } else if (!child->isWindow()) {
        pending.push_back(child);
      }
    }
  }
  std::vector<Scope> scopes;
  for (QStackedWidget* stack : stacks) {
    for (int i = 0; i < stack->count(); ++i) {
      for (Scope& inner : ScopesOf(*stack->widget(i))) {
        inner.insert(inner.end(), own.begin(), own.end());
        scopes.push_back(std::move(inner));
      }
    }
  }
  if (scopes.empty()) {
    scopes.push_back(own);
  }
  return scopes;
}

// "a: Text one / Text two" for every letter that leads to more than one text.
std::vector<std::string> Clashes(const Scope& scope) {
  std::map<QChar, QStringList> byLetter;
  for (const QString& text : scope) {
    byLetter[Mnemonic(text)].push_back(text);
  }
  std::vector<std::string> clashes;
  for (const auto& [letter, texts] : byLetter) {
    if (texts.size() > 1) {
      clashes.push_back(QString("%1: %2").arg(letter).arg(texts.join(" / ")).toStdString());
    }
  }
  return clashes;
}

void ExpectNoClash(QWidget& dialog, const std::string& name) {
  for (const Scope& scope : ScopesOf(dialog)) {
    for (const std::string& clash : Clashes(scope)) {
      ADD_FAILURE() << name << ": " << clash;
    }
  }
}

TEST(MnemonicsTest, NoDialogGivesOneAltKeyTwoControls) {
  MemorySettingsStore store;
  ScriptedPrompts prompts;
  EveryDialog dialogs(store, prompts);
  for (const auto& [name, dialog] : dialogs.All()) {
    ExpectNoClash(*dialog, name.toStdString());
  }
  CFindDialog find(nullptr);
  ExpectNoClash(find, "find");

  // Every label of the login dialog leads to its field.
  for (QLabel* label : dialogs.login.findChildren<QLabel*>()) {
    if (label->buddy() == nullptr) {
      continue;
    }
    EXPECT_FALSE(Mnemonic(label->text()).isNull()) << label->text().toStdString();
  }
}

TEST(MnemonicsTest, EveryMenuAndCommandHasAnAltKeyOfItsOwn) {
  const std::unique_ptr<MemorySettingsStore> store = SandboxSettings();
  ScriptedPrompts prompts;
  EmptyRunPhases phases{"DEMO"};
  CMainFrame frame(*store, prompts, phases);
  Scope menus;
  for (QAction* menuAction : frame.menuBar()->actions()) {
    EXPECT_FALSE(Mnemonic(menuAction->text()).isNull()) << menuAction->text().toStdString();
    menus.push_back(menuAction->text());
    Scope commands;
    for (QAction* command : menuAction->menu()->actions()) {
      if (command->isSeparator()) {
        continue;
      }
      EXPECT_FALSE(Mnemonic(command->text()).isNull())
          << menuAction->text().toStdString() << " > " << command->text().toStdString();
      commands.push_back(command->text());
    }
    for (const std::string& clash : Clashes(commands)) {
      ADD_FAILURE() << menuAction->text().toStdString() << ": " << clash;
    }
  }
  for (const std::string& clash : Clashes(menus)) {
    ADD_FAILURE() << "menu bar: " << clash;
  }
}

}  // namespace
