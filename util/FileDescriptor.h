// Whole writes to POSIX file descriptors, for the commands that stream bytes
// past iostreams.
#ifndef OSTREL_UTIL_FILEDESCRIPTOR_H
#define OSTREL_UTIL_FILEDESCRIPTOR_H

#include <cstddef>

namespace ostrel {

// Writes all n bytes, retrying short and interrupted writes. False on a
// write error (errno tells which).
bool WriteAll(int fd, const char* data, size_t n);

}  // namespace ostrel

#endif
