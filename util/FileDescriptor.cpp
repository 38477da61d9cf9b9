// Whole writes to POSIX file descriptors.
#include "util/FileDescriptor.h"

#include <unistd.h>

#include <cerrno>

namespace ostrel {

bool WriteAll(int fd, const char* data, size_t n) {
  while (n > 0) {
    const ssize_t written = ::write(fd, data, n);
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data += written;
    n -= static_cast<size_t>(written);
  }
  return true;
}

}  // namespace ostrel
