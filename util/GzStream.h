// Input streams over files that may be gzip-compressed: a plain file and a
// gzip file (one or several members) read alike, through zlib's gzip file
// interface, which hands plain files through unchanged.
#ifndef OSTREL_UTIL_GZSTREAM_H
#define OSTREL_UTIL_GZSTREAM_H

#include <istream>
#include <streambuf>
#include <string>
#include <vector>

#include "util/BlockReadAhead.h"

namespace ostrel {

// A read-only stream buffer refilled with decompressed bytes, the next
// refill read ahead while the current one is parsed. A read error (a damaged
// or truncated gzip file) ends the input where the good data ends, and sets
// badbit on the stream the buffer reports to. Not copyable: it owns the
// open gzip file.
class gzstreambuf : public std::streambuf {
public:
  gzstreambuf();
  ~gzstreambuf() override;
  gzstreambuf(const gzstreambuf&) = delete;
  gzstreambuf& operator=(const gzstreambuf&) = delete;

  bool is_open() const { return mAhead.IsOpen(); }
  // Opens the file for reading; nullptr when it cannot be opened or this
  // buffer already has a file open.
  gzstreambuf* open(const char* name);
  // Closes the file; nullptr when none was open.
  gzstreambuf* close();
  // True once the input has ended at a read error rather than its end.
  bool damaged() const { return mAhead.Damaged(); }
  // The stream whose badbit a read error sets (none: nullptr).
  void report_to(std::ios* stream) { mStream = stream; }

protected:
  int_type underflow() override;

private:
  static constexpr int kPutBack = 4;           // characters kept for unget/putback
  // Decompressed bytes per refill; large, since every refill is handed over
  // between two threads, and a handover costs a wake-up.
  static constexpr int kBufferSize = 1 << 20;
  std::vector<char> mBuffer;  // kPutBack characters, then the refill area
  BlockReadAhead mAhead;      // fills the next refill area
  std::ios* mStream = nullptr;
};

// What igzstream and icbtstream share: the buffer and the open and close
// that set the stream's state. A virtual base of the streams so that the
// buffer exists before std::istream is given it.
class gzstreambase : virtual public std::ios {
public:
  gzstreambase();
  ~gzstreambase() override;

  // Opens the file, closing any file open before; sets failbit when the file
  // cannot be opened, clears the state when it can. A damaged or truncated
  // gzip file sets badbit where its good data ends.
  void open(const char* name);
  void close();  // sets failbit when no file was open
  bool is_open() const { return mBuf.is_open(); }
  gzstreambuf* rdbuf() { return &mBuf; }

protected:
  gzstreambuf mBuf;
};

// Reads a plain or gzip-compressed file.
class igzstream : public gzstreambase, public std::istream {
public:
  igzstream() : std::istream(&mBuf) {}
  explicit igzstream(const char* name) : std::istream(&mBuf) { gzstreambase::open(name); }
  explicit igzstream(const std::string& name) : igzstream(name.c_str()) {}

  gzstreambuf* rdbuf() { return gzstreambase::rdbuf(); }
  void open(const char* name) { gzstreambase::open(name); }
  void open(const std::string& name) { gzstreambase::open(name.c_str()); }
};

// Reads a file that may be stored compressed: open finds it under its own
// name, or under the name without or with ".gz".
class icbtstream : public gzstreambase, public std::istream {
public:
  icbtstream() : std::istream(&mBuf) {}

  gzstreambuf* rdbuf() { return gzstreambase::rdbuf(); }
  // 1. When `name` exists, opens it.
  // 2. Otherwise, when `name` contains ".gz": prints "FileRoot=" and the name
  //    up to its last ".gz" on standard output and opens that root if it
  //    exists.
  // 3. Otherwise opens `name` followed by ".gz" if that exists.
  // True when a file was opened.
  bool open(const std::string& name);
};

}  // namespace ostrel

#endif
