// What a run needs of the window it reports to: caption, the control panel's
// status text and progress bar, message boxes, the "Saving..." dialog and the
// unattended end. The run calls these from the worker thread and from the
// user-interface thread; a window implementation carries every call out on its
// own thread and waits for it (a direct call when already there), so that a
// message box returns the user's answer to the worker.
#pragma once

#include <string>

enum class MessageButtons { Ok, YesNo, YesNoCancel };
enum class MessageIcon { Information, Warning, Question, Error };
enum class MessageAnswer { Ok, Yes, No, Cancel };

class RunHost {
 public:
  virtual ~RunHost() = default;

  // The main window caption, always text + " - Quillmark for Oracle".
  virtual void SetCaption(const std::string& fullCaption) = 0;
  virtual std::string Caption() = 0;

  // Creates the modeless control panel of a scripting run (status text
  // "Retrieving Database Information ...", progress bar); false when its window
  // could not be created. The status and progress calls below go to the current
  // panel and do nothing while there is none (a statement run has none).
  virtual bool CreateControlPanel() = 0;
  virtual void DestroyControlPanel() = 0;
  virtual void SetStatusText(const std::string& text) = 0;
  virtual void SetProgressRange(int low, int high) = 0;
  virtual void SetProgressPosition(int position) = 0;
  virtual void SetProgressStep(int step) = 0;
  virtual void StepProgress() = 0;

  // A message box owned by the main window; returns the button pressed.
  virtual MessageAnswer ShowMessage(const std::string& text, MessageButtons buttons,
                                    MessageIcon icon) = 0;

  // The modeless "Saving..." dialog ("Saving report to file...", a progress bar
  // of lineCount steps) and the wait cursor, while one save or auto-save runs.
  virtual void BeginSaving(int lineCount) = 0;
  virtual void StepSaving() = 0;
  virtual void EndSaving() = 0;

  // Brings the main window back from its minimized state.
  virtual void RestoreMainWindow() = 0;
  // Ends an unattended run's program with exitCode after releasing the
  // connection and the control panel. It may return (when it only asks the
  // event loop to quit); the worker then ends without further steps.
  virtual void EndProcess(int exitCode) = 0;
  // Puts the report view's caret at the end of the text (Resume).
  virtual void MoveCaretToEnd() = 0;
};
