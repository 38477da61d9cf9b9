// Output files written whole or not at all: the bytes go to a temporary
// file beside the final name, plain or gzip-compressed, and are renamed into
// place only once every write has succeeded, so that no reader ever finds
// half a file under the final name.
#ifndef OSTREL_UTIL_OUTPUTFILE_H
#define OSTREL_UTIL_OUTPUTFILE_H

#include <zlib.h>

#include <ostream>
#include <streambuf>
#include <string>
#include <vector>

namespace ostrel {

// A write-only stream buffer over a file descriptor, compressing through
// zlib when asked. A failed write makes every later one fail too.
class OutputFileBuf : public std::streambuf {
public:
  OutputFileBuf() = default;
  ~OutputFileBuf() override { Close(); }
  OutputFileBuf(const OutputFileBuf&) = delete;
  OutputFileBuf& operator=(const OutputFileBuf&) = delete;

  // Takes over the open descriptor `fd`; false when zlib cannot take it.
  bool Open(int fd, bool compressed);
  // Writes what is buffered and closes the descriptor; false when a write
  // or the close failed, now or before.
  bool Close();
  bool Failed() const { return mFailed; }
  const std::string& Error() const { return mError; }  // why the first failure failed

protected:
  int_type overflow(int_type c) override;
  std::streamsize xsputn(const char* s, std::streamsize n) override;
  int sync() override;

private:
  static constexpr size_t kBufferSize = 1 << 20;
  bool WriteOut(const char* data, size_t n);  // past the buffer, to the file
  bool FlushBuffer();
  void Fail(const std::string& why);

  std::vector<char> mBuffer;
  int mFd = -1;
  gzFile mGz = nullptr;  // set when compressing; it owns mFd then
  bool mFailed = false;
  std::string mError;
};

// A file written under a temporary name beside `name`, renamed to `name` by
// Commit. One that is never committed is removed when the stream goes.
class OutputFile : public std::ostream {
public:
  OutputFile() : std::ostream(&mBuf) {}
  ~OutputFile() override { Discard(); }
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  // Makes the temporary file (`name` + ".XXXXXX", in the same folder, so the
  // rename stays within one file system), gzip-compressed when
  // `compressed`. False when it cannot be made; Error() says why.
  bool Open(const std::string& name, bool compressed);
  // Flushes and closes the temporary file, gives it the permission bits of a
  // new file and renames it to the final name. False, with the temporary
  // file removed and nothing under the final name changed, when a write,
  // the close or the rename failed.
  bool Commit();
  const std::string& Error() const { return mError; }  // "" while nothing failed

private:
  void Discard();  // closes and removes an uncommitted temporary file

  OutputFileBuf mBuf;
  std::string mName;      // the final name
  std::string mTempName;  // "" when no temporary file is open
  std::string mError;
};

}  // namespace ostrel

#endif
