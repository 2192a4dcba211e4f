// Report file writing on POSIX descriptors, so that every failure has its errno.
#include "engine/ReportFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "engine/TerminalSafeText.h"

namespace {

// Large enough to make writes cheap, small enough that a failure is found soon.
constexpr std::size_t BufferCapacity = 64 * 1024;

}  // namespace

ReportFile::~ReportFile() {
  Close();
}

bool ReportFile::Open(const std::string& path, int flags) {
  Close();
  buffer_.clear();
  position_ = 0;
  lastError_ = 0;
  // A report may hold anything the schema holds: only its owner reads a new one.
  showControls_ = false;
  fd_ = ::open(path.c_str(), flags | O_CLOEXEC, 0600);
  if (fd_ < 0) {
    lastError_ = errno;
    return false;
  }
  // An existing file keeps its mode through open(): a rewritten report is made
  // owner-only like a new one. Devices and FIFOs are not the report's to change.
  struct stat status {};
  if (::fstat(fd_, &status) == 0 && S_ISREG(status.st_mode)) {
    ::fchmod(fd_, 0600);
  }
  return true;
}

bool ReportFile::Create(const std::string& path) {
  if (path == StandardOutputName) {
    Close();
    buffer_.clear();
    position_ = 0;
    lastError_ = 0;
    // A descriptor of its own: closing the report leaves standard output open.
    fd_ = ::fcntl(STDOUT_FILENO, F_DUPFD_CLOEXEC, 0);
    if (fd_ < 0) {
      lastError_ = errno;
      return false;
    }
    // Names and values could otherwise drive the terminal showing them.
    showControls_ = ::isatty(fd_) == 1;
    return true;
  }
  return Open(path, O_WRONLY | O_CREAT | O_TRUNC);
}

bool ReportFile::OpenExisting(const std::string& path) {
  return Open(path, O_WRONLY | O_CREAT);
}

bool ReportFile::SeekToEnd() {
  if (!Flush()) {
    return false;
  }
  const off_t end = ::lseek(fd_, 0, SEEK_END);
  if (end < 0) {
    lastError_ = errno;
    return false;
  }
  position_ = end;
  return true;
}

bool ReportFile::Write(std::string_view bytes) {
  if (fd_ < 0) {
    lastError_ = EBADF;
    return false;
  }
  if (buffer_.size() + bytes.size() > BufferCapacity && !Flush()) {
    return false;
  }
  if (showControls_) {
    buffer_.append(TerminalSafeText(bytes));
  } else {
    buffer_.append(bytes);
  }
  return true;
}

bool ReportFile::Flush() {
  std::size_t done = 0;
  while (done < buffer_.size()) {
    const ssize_t written = ::write(fd_, buffer_.data() + done, buffer_.size() - done);
    if (written < 0) {
      if (errno == EINTR) {
        continue;
      }
      lastError_ = errno;
      position_ += static_cast<long long>(done);
      buffer_.clear();
      return false;
    }
    done += static_cast<std::size_t>(written);
  }
  position_ += static_cast<long long>(done);
  buffer_.clear();
  return true;
}

bool ReportFile::Close() {
  if (fd_ < 0) {
    return true;
  }
  bool ok = Flush();
  if (::close(fd_) != 0 && ok) {
    lastError_ = errno;
    ok = false;
  }
  fd_ = -1;
  return ok;
}

bool ReportFile::Truncate(long long length) {
  buffer_.clear();
  if (::ftruncate(fd_, static_cast<off_t>(length)) != 0 ||
      ::lseek(fd_, static_cast<off_t>(length), SEEK_SET) < 0) {
    return false;
  }
  position_ = length;
  return true;
}

bool ReportFile::DiskFull() const {
  return lastError_ == ENOSPC;
}
