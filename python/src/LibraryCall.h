// How the module calls the library: one call at a time, without the GIL,
// with what the library says on standard output and standard error kept,
// so that it reaches Python (sys.stderr, or the message of an exception)
// rather than the process's own streams.
#ifndef OSTREL_PYTHON_LIBRARYCALL_H
#define OSTREL_PYTHON_LIBRARYCALL_H

#include <functional>
#include <sstream>
#include <stdexcept>
#include <string>

#include <pybind11/pybind11.h>

namespace ostrel {

// Runs `work` with the GIL released and the library's standard streams
// going to a string, which is returned. The library keeps process-wide
// state (line buffers, the copy buffer), so calls from several Python
// threads take turns. `work` may call back into Python (a handle's read)
// after taking the GIL itself.
std::string CallLibrary(const std::function<void()>& work);

// Marks an object in use while it lives, so that a second Python thread
// reaching it meanwhile (while the first has let the GIL go) gets a
// RuntimeError rather than a half-made object. Made and ended with the GIL.
class InUse {
public:
  explicit InUse(bool& flag) : mFlag(flag) {
    if (mFlag) throw std::runtime_error("the object is in use by another thread");
    mFlag = true;
  }
  ~InUse() { mFlag = false; }
  InUse(const InUse&) = delete;
  InUse& operator=(const InUse&) = delete;

private:
  bool& mFlag;
};

// Writes `text` to Python's sys.stderr when it is not empty.
void ForwardToStderr(const std::string& text);

// The same as CallLibrary, forwarding what was said.
void CallLibraryQuietly(const std::function<void()>& work);

// The last non-empty line of what the library said, for an exception's
// message; `fallback` when it said nothing.
std::string LastLine(const std::string& said, const std::string& fallback);

// Raises OSError with `message`.
[[noreturn]] void RaiseOSError(const std::string& message);

// Raises OSError (with errno's code and text, naming `fileName`) when
// `fileName` cannot be opened for reading or is a folder.
void RequireReadable(const std::string& fileName);

}  // namespace ostrel

#endif
