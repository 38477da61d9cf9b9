#include "LibraryCall.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <iostream>
#include <mutex>

namespace py = pybind11;

namespace ostrel {

namespace {

std::mutex gLibraryTurn;

// Sends std::cout and std::cerr to `to` while it lives.
class StreamsTo {
public:
  explicit StreamsTo(std::ostream& to)
      : mOut(std::cout.rdbuf(to.rdbuf())), mErr(std::cerr.rdbuf(to.rdbuf())) {}
  ~StreamsTo() {
    std::cout.flush();
    std::cerr.flush();
    std::cout.rdbuf(mOut);
    std::cerr.rdbuf(mErr);
  }
  StreamsTo(const StreamsTo&) = delete;
  StreamsTo& operator=(const StreamsTo&) = delete;

private:
  std::streambuf* mOut;
  std::streambuf* mErr;
};

}  // namespace

std::string CallLibrary(const std::function<void()>& work) {
  std::ostringstream said;
  py::gil_scoped_release unlocked;
  std::lock_guard<std::mutex> turn(gLibraryTurn);
  StreamsTo streams(said);
  work();
  return said.str();
}

void ForwardToStderr(const std::string& text) {
  if (text.empty()) return;
  py::module_::import("sys").attr("stderr").attr("write")(text);
}

void CallLibraryQuietly(const std::function<void()>& work) { ForwardToStderr(CallLibrary(work)); }

std::string LastLine(const std::string& said, const std::string& fallback) {
  size_t end = said.find_last_not_of("\r\n");
  if (end == std::string::npos) return fallback;
  const size_t start = said.rfind('\n', end);
  return said.substr(start == std::string::npos ? 0 : start + 1, end + 1 - (start == std::string::npos ? 0 : start + 1));
}

void RaiseOSError(const std::string& message) {
  PyErr_SetString(PyExc_OSError, message.c_str());
  throw py::error_already_set();
}

void RequireReadable(const std::string& fileName) {
  std::FILE* file = std::fopen(fileName.c_str(), "rb");
  if (file != nullptr) {
    struct stat status;
    const bool folder = fstat(fileno(file), &status) == 0 && S_ISDIR(status.st_mode);
    std::fclose(file);
    if (!folder) return;
    errno = EISDIR;
  }
  PyErr_SetFromErrnoWithFilename(PyExc_OSError, fileName.c_str());
  throw py::error_already_set();
}

}  // namespace ostrel
