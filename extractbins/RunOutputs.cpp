// Opening the run's outputs, appended to or written fresh.
#include "extractbins/RunOutputs.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <system_error>

#include "util/StringUtil.h"

namespace ostrel {

namespace {

namespace fs = std::filesystem;

constexpr mode_t kNewFileMode = 0664;  // less the file-creation mask

// Opens `name` with `flags`; when a folder on the way is missing, makes the
// folders and tries again. -1 with errno set when it cannot.
int OpenMakingFolders(const std::string& name, int flags) {
  int fd = ::open(name.c_str(), flags, kNewFileMode);
  if (fd >= 0 || errno != ENOENT) return fd;
  const fs::path folder = fs::path(name).parent_path();
  std::error_code error;
  if (folder.empty() || (!fs::create_directories(folder, error) && error)) {
    if (error) errno = error.value();
    return -1;
  }
  return ::open(name.c_str(), flags, kNewFileMode);
}

// The temporary files of fresh outputs not yet renamed into place, removed
// when an interrupt, hangup or termination ends the run, so that it leaves
// no partial files behind. Process-wide (one thread): each name is a C
// string of its own, a removed one nullptr, and the list is only changed
// while those signals are blocked, so that the handler never meets it half
// changed.
constexpr int kEndingSignals[] = {SIGINT, SIGTERM, SIGHUP};
std::vector<char*> gRemovedOnSignal;

void RemoveTemporaryFiles(int signal) {
  for (const char* name : gRemovedOnSignal)
    if (name != nullptr) ::unlink(name);
  ::raise(signal);  // the handler was reset: the signal ends the process as it would have
}

class EndingSignalsBlocked {
public:
  EndingSignalsBlocked() {
    sigset_t blocked;
    ::sigemptyset(&blocked);
    for (int signal : kEndingSignals) ::sigaddset(&blocked, signal);
    ::sigprocmask(SIG_BLOCK, &blocked, &mBefore);
  }
  ~EndingSignalsBlocked() { ::sigprocmask(SIG_SETMASK, &mBefore, nullptr); }
  EndingSignalsBlocked(const EndingSignalsBlocked&) = delete;
  EndingSignalsBlocked& operator=(const EndingSignalsBlocked&) = delete;

private:
  sigset_t mBefore;
};

// Adds a file to those removed on a signal; its place in the list.
size_t RemoveOnSignal(const std::string& name) {
  EndingSignalsBlocked blocked;
  if (gRemovedOnSignal.empty()) {
    // Once; signals the user has the process ignore stay ignored.
    struct sigaction action = {};
    action.sa_handler = RemoveTemporaryFiles;
    action.sa_flags = SA_RESETHAND;
    ::sigemptyset(&action.sa_mask);
    for (int signal : kEndingSignals) {
      struct sigaction before;
      if (::sigaction(signal, nullptr, &before) == 0 && before.sa_handler != SIG_IGN)
        ::sigaction(signal, &action, nullptr);
    }
  }
  char* copy = new char[name.size() + 1];
  std::memcpy(copy, name.c_str(), name.size() + 1);
  gRemovedOnSignal.push_back(copy);
  return gRemovedOnSignal.size() - 1;
}

// Takes the file at `place` off the list (it was renamed or removed).
void KeepOnSignal(size_t place) {
  EndingSignalsBlocked blocked;
  delete[] gRemovedOnSignal[place];
  gRemovedOnSignal[place] = nullptr;
}

// The name of the file, with its folders resolved as far as they exist.
std::string PathOf(const std::string& name) {
  // Made absolute first: a relative name none of whose folders exists yet
  // would stay relative, and differ from the same name resolved later.
  std::error_code error;
  const fs::path absolute = fs::absolute(name, error);
  const fs::path resolved = error ? fs::path() : fs::weakly_canonical(absolute, error);
  return error ? fs::path(name).lexically_normal().string() : resolved.string();
}

// Gives `replacement` the permissions of the file `name` it replaces, when
// there is one (a new output keeps the new-file mode).
bool KeepPermissions(const std::string& name, const std::string& replacement) {
  struct stat replaced;
  if (::stat(name.c_str(), &replaced) != 0) return errno == ENOENT;
  return ::chmod(replacement.c_str(), replaced.st_mode & 07777) == 0;
}

}  // namespace

RunOutputs::~RunOutputs() {
  for (Output& output : mOutputs)
    if (!output.mTempName.empty()) RemoveTemporaryFile(output);
}

void RunOutputs::RemoveTemporaryFile(Output& output) {
  ::unlink(output.mTempName.c_str());
  KeepOnSignal(output.mSignalPlace);
  output.mTempName.clear();
}

size_t RunOutputs::Find(const std::string& name) {
  const auto known = mByName.find(name);
  if (known != mByName.end()) return known->second;
  const auto [same, added] = mByPath.emplace(PathOf(name), mOutputs.size());
  if (added) {
    mOutputs.emplace_back();
    mOutputs.back().mName = name;
  }
  mByName.emplace(name, same->second);
  return same->second;
}

const std::string& RunOutputs::FileOf(size_t output) const {
  const Output& out = mOutputs[output];
  return out.mTempName.empty() ? out.mName : out.mTempName;
}

int RunOutputs::Open(const std::string& name, size_t& output) {
  output = Find(name);
  Output& out = mOutputs[output];
  int fd = -1;
  if (mFresh && out.mFailed) return -1;
  if (!out.mOpened) {
    fd = OpenFirst(out);
  } else if (mFresh) {
    fd = ::open(out.mTempName.c_str(), O_WRONLY | O_APPEND);
  } else {
    fd = OpenMakingFolders(out.mName, O_WRONLY | O_CREAT | O_APPEND);
  }
  if (fd < 0) {
    out.mFailed = true;
    std::cout << ShownFileName(name) << " open failed: " << std::strerror(errno) << '.' << std::endl;
  }
  return fd;
}

// The first open of an output in this run: appended to, or its temporary
// file made beside it under a name no other file has.
int RunOutputs::OpenFirst(Output& output) {
  int fd = -1;
  if (!mFresh) {
    fd = OpenMakingFolders(output.mName, O_WRONLY | O_CREAT | O_APPEND);
    struct stat status;
    if (fd >= 0 && ::fstat(fd, &status) == 0 && status.st_size > 0) ++mHeldBytes;
  } else {
    // Made and listed for removal with no signal in between.
    EndingSignalsBlocked blocked;
    const std::string stem = output.mName + ".tmp" + std::to_string(::getpid());
    std::string temp = stem;
    for (int attempt = 1; (fd = OpenMakingFolders(temp, O_WRONLY | O_CREAT | O_EXCL | O_APPEND)) < 0 &&
                          errno == EEXIST;
         ++attempt)
      temp = stem + "-" + std::to_string(attempt);
    if (fd >= 0) {
      output.mTempName = temp;
      output.mSignalPlace = RemoveOnSignal(temp);
    }
  }
  output.mOpened = fd >= 0;
  return fd;
}

bool RunOutputs::Close(size_t output, int fd, bool written) {
  const bool closed = ::close(fd) == 0;
  if (!closed || !written) mOutputs[output].mFailed = true;
  return closed;
}

bool RunOutputs::Finish(std::ostream& notes) {
  bool ok = true;
  for (Output& output : mOutputs) {
    if (output.mTempName.empty()) continue;
    if (output.mFailed) {
      std::cout << ShownFileName(output.mName) << " left as it was: not all of its records could be written."
                << std::endl;
    } else if (!KeepPermissions(output.mName, output.mTempName) ||
               ::rename(output.mTempName.c_str(), output.mName.c_str()) != 0) {
      std::cout << ShownFileName(output.mName) << " could not be replaced: " << std::strerror(errno) << '.'
                << std::endl;
      ok = false;
    } else {
      KeepOnSignal(output.mSignalPlace);
      output.mTempName.clear();
      continue;
    }
    RemoveTemporaryFile(output);
  }
  if (mHeldBytes > 0)
    notes << mHeldBytes << (mHeldBytes == 1 ? " output" : " outputs")
          << " already held bytes: this run's records were appended after them (-r replaces outputs instead)."
          << std::endl;
  return ok;
}

}  // namespace ostrel
