// Bounded reading of the query file.
#include "app/QueryFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace {

std::string CannotRead(const std::string& path, int error) {
  return "the query file " + path + " could not be read: " + std::strerror(error);
}

}  // namespace

std::optional<std::string> ReadQueryFile(const std::string& path, std::string& query) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    return CannotRead(path, errno);
  }
  struct stat status {};
  std::optional<std::string> problem;
  if (::fstat(fd, &status) != 0) {
    problem = CannotRead(path, errno);
  } else if (S_ISDIR(status.st_mode)) {
    problem = "the query file " + path + " is a folder, not a file";
  }
  std::string text;
  char chunk[64 * 1024];
  while (!problem) {
    const ssize_t got = ::read(fd, chunk, sizeof chunk);
    if (got < 0 && errno == EINTR) {
      continue;
    }
    if (got < 0) {
      problem = CannotRead(path, errno);
    } else if (got == 0) {
      break;
    } else if (text.size() + static_cast<std::size_t>(got) > LargestQueryFile) {
      problem = "the query file " + path + " is larger than " +
                std::to_string(LargestQueryFile / (1024 * 1024)) + " MB: it should hold one query";
    } else {
      text.append(chunk, static_cast<std::size_t>(got));
    }
  }
  ::close(fd);
  if (!problem) {
    query = std::move(text);
  }
  return problem;
}
