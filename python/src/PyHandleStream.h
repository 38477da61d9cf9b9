// An input stream over a Python file object: the library's readers take a
// std::istream, and a script hands over an open handle (text or binary).
#ifndef OSTREL_PYTHON_PYHANDLESTREAM_H
#define OSTREL_PYTHON_PYHANDLESTREAM_H

#include <istream>
#include <streambuf>
#include <string>

#include <pybind11/pybind11.h>

namespace ostrel {

// Refills itself from handle.read(kChunk), taking the GIL for it; a str
// read is taken as UTF-8. An exception from read() ends the stream there,
// and is kept to be raised again once the library returns.
class PyHandleBuf : public std::streambuf {
public:
  explicit PyHandleBuf(pybind11::object handle) : mHandle(std::move(handle)) {}
  ~PyHandleBuf() override;
  // Raises the exception read() raised, if any.
  void RaiseReadError();

protected:
  int_type underflow() override;

private:
  static constexpr int kChunk = 1 << 16;
  pybind11::object mHandle;
  std::string mChunk;
  bool mFailed = false;
  pybind11::error_already_set* mError = nullptr;
};

class PyHandleStream : public std::istream {
public:
  explicit PyHandleStream(pybind11::object handle) : std::istream(nullptr), mBuf(std::move(handle)) {
    rdbuf(&mBuf);
  }
  void RaiseReadError() { mBuf.RaiseReadError(); }

private:
  PyHandleBuf mBuf;
};

}  // namespace ostrel

#endif
