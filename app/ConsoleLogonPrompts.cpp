// Password of a connect string without one, for the headless front end.
#include "app/ConsoleLogonPrompts.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ostream>

#include "app/TerminalPassword.h"
#include "engine/TerminalSafeText.h"
#include "oracle/SecretText.h"

namespace {

// A password file's first line is read, never more than this.
constexpr std::size_t LongestPasswordLine = 4096;

// Closes a descriptor when it goes.
class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  ~FileDescriptor() {
    if (fd_ >= 0) {
      ::close(fd_);
    }
  }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  int get() const { return fd_; }

 private:
  int fd_;
};

}  // namespace

std::optional<std::string> ConsoleLogonPrompts::AskPassword(const std::string& user,
                                                            const std::string& database) {
  std::optional<std::string> password;
  if (!passwordFile_.empty()) {
    password = ReadPasswordFile();
    if (!password) {
      return std::nullopt;
    }
  } else if (const char* fromEnvironment = std::getenv("QUILLMARK_PASSWORD")) {
    password = fromEnvironment;
  } else {
    password =
        ReadPasswordWithoutEcho(TerminalSafeText("Password for " + user + "@" + database) + ": ");
  }
  if (!password || password->find_first_not_of(" \t\r\n") == std::string::npos) {
    errors_ << "Please enter a password.\n";
    return std::nullopt;
  }
  return password;
}

// The first line of the password file, read straight from the descriptor so
// that no stream buffer keeps a copy; what is read beyond it is wiped.
std::optional<std::string> ConsoleLogonPrompts::ReadPasswordFile() {
  const FileDescriptor file(::open(passwordFile_.c_str(), O_RDONLY | O_CLOEXEC));
  struct stat status {};
  if (file.get() < 0 || ::fstat(file.get(), &status) != 0 || S_ISDIR(status.st_mode)) {
    errors_ << "quillmark: cannot read the password file " << passwordFile_ << ": "
            << std::strerror(file.get() < 0 ? errno : EISDIR) << "\n";
    return std::nullopt;
  }
  std::string bytes(LongestPasswordLine, '\0');
  std::size_t filled = 0;
  while (filled < bytes.size() && std::memchr(bytes.data(), '\n', filled) == nullptr) {
    const ssize_t got = ::read(file.get(), bytes.data() + filled, bytes.size() - filled);
    if (got < 0 && errno == EINTR) {
      continue;
    }
    if (got < 0) {
      const int error = errno;
      WipeSecret(bytes);
      errors_ << "quillmark: cannot read the password file " << passwordFile_ << ": "
              << std::strerror(error) << "\n";
      return std::nullopt;
    }
    if (got == 0) {
      break;
    }
    filled += static_cast<std::size_t>(got);
  }
  std::size_t end = std::string_view(bytes.data(), filled).find('\n');
  end = end == std::string::npos ? filled : end;
  if (end > 0 && bytes[end - 1] == '\r') {
    --end;
  }
  std::string line(bytes.data(), end);
  WipeSecret(bytes);
  if (line.empty()) {
    errors_ << "quillmark: the password file " << passwordFile_
            << " holds no password on its first line\n";
    return std::nullopt;
  }
  return line;
}
