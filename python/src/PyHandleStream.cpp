#include "PyHandleStream.h"

namespace py = pybind11;

namespace ostrel {

PyHandleBuf::~PyHandleBuf() {
  py::gil_scoped_acquire locked;
  delete mError;
  mHandle = py::object();
}

void PyHandleBuf::RaiseReadError() {
  if (mError == nullptr) return;
  py::error_already_set error = std::move(*mError);
  delete mError;
  mError = nullptr;
  throw error;
}

PyHandleBuf::int_type PyHandleBuf::underflow() {
  if (gptr() < egptr()) return traits_type::to_int_type(*gptr());
  if (mFailed) return traits_type::eof();
  {
    py::gil_scoped_acquire locked;
    try {
      py::object chunk = mHandle.attr("read")(kChunk);
      if (!py::isinstance<py::bytes>(chunk) && !py::isinstance<py::str>(chunk)) {
        PyErr_SetString(PyExc_TypeError, "the handle's read() gave neither str nor bytes");
        throw py::error_already_set();
      }
      mChunk = chunk.cast<std::string>();
    } catch (py::error_already_set& error) {
      mError = new py::error_already_set(std::move(error));
      mFailed = true;
    }
  }
  if (mFailed || mChunk.empty()) return traits_type::eof();
  setg(mChunk.data(), mChunk.data(), mChunk.data() + mChunk.size());
  return traits_type::to_int_type(*gptr());
}

}  // namespace ostrel
