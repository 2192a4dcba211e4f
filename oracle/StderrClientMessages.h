// ClientMessages for headless runs: each message becomes one block of text on
// standard error, so that unattended runs and tests never wait for a click.
#pragma once

#include "oracle/ClientMessages.h"

class StderrClientMessages final : public ClientMessages {
 public:
  void Show(const std::string& text, MessageKind kind) override;
};
