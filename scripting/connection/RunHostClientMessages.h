// RunHostClientMessages: shows the client layer's messages through the run
// host, which carries them to the window's thread (or the console), so that a
// session may report an error from the worker as safely as from the window.
#pragma once

#include "engine/RunHost.h"
#include "oracle/ClientMessages.h"

class RunHostClientMessages final : public ClientMessages {
 public:
  explicit RunHostClientMessages(RunHost& host) : host_(host) {}

  void Show(const std::string& text, MessageKind kind) override {
    const MessageIcon icon = kind == MessageKind::Error     ? MessageIcon::Error
                             : kind == MessageKind::Warning ? MessageIcon::Warning
                                                            : MessageIcon::Information;
    host_.ShowMessage(text, MessageButtons::Ok, icon);
  }

 private:
  RunHost& host_;
};
