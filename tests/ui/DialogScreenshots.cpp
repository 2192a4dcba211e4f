// dialog_screenshots OUTDIR: draws each run dialog under the current platform
// (offscreen in the build) into OUTDIR/NAME.png, so that clipped or
// overlapping controls can be seen without a display.
#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <cstdio>

#include "EveryDialog.h"
#include "ScriptedPrompts.h"
#include "config/MemorySettingsStore.h"

namespace {

bool Save(QWidget& dialog, const QDir& dir, const QString& name) {
  dialog.adjustSize();
  dialog.show();
  QApplication::processEvents();
  const bool saved = dialog.grab().save(dir.filePath(name + ".png"));
  dialog.hide();
  if (!saved) {
    std::fprintf(stderr, "cannot write %s\n", qPrintable(dir.filePath(name + ".png")));
  }
  return saved;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc != 2 || !QDir().mkpath(argv[1])) {
    std::fprintf(stderr, "usage: dialog_screenshots OUTDIR\n");
    return 2;
  }
  const QDir dir(argv[1]);
  MemorySettingsStore store;
  ScriptedPrompts prompts;
  EveryDialog dialogs(store, prompts);
  bool saved = true;
  for (const auto& [name, dialog] : dialogs.All()) {
    saved = saved && Save(*dialog, dir, name);
  }
  return saved ? 0 : 1;
}
