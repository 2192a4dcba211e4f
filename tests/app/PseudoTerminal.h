// A raw pseudo-terminal for tests of what the program writes to a terminal,
// and a reader of what reached the other end of a terminal or pipe.
#pragma once

#include <gtest/gtest.h>

#include <poll.h>
#include <pty.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <string>

// Everything that can be read from fd without waiting.
inline std::string Drain(int fd) {
  std::string text;
  char buffer[4096];
  pollfd ready{fd, POLLIN, 0};
  while (::poll(&ready, 1, 50) > 0 && (ready.revents & POLLIN) != 0) {
    const ssize_t got = ::read(fd, buffer, sizeof buffer);
    if (got <= 0) {
      break;
    }
    text.append(buffer, static_cast<std::size_t>(got));
  }
  return text;
}

// A pseudo-terminal of the given width, without output processing so that
// what the program wrote arrives as it was written.
struct PseudoTerminal {
  explicit PseudoTerminal(unsigned short columns = 200) {
    winsize size{};
    size.ws_col = columns;
    size.ws_row = 24;
    EXPECT_EQ(::openpty(&controller, &terminal, nullptr, nullptr, &size), 0);
    termios modes{};
    ::tcgetattr(terminal, &modes);
    ::cfmakeraw(&modes);
    ::tcsetattr(terminal, TCSANOW, &modes);
  }
  ~PseudoTerminal() {
    ::close(controller);
    ::close(terminal);
  }
  PseudoTerminal(const PseudoTerminal&) = delete;
  PseudoTerminal& operator=(const PseudoTerminal&) = delete;

  int controller = -1;
  int terminal = -1;
};
