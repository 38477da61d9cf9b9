// Work on every contig of an assembly, spread over the machine's cores.
#include "ace/ContigWork.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <mutex>
#include <sstream>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

namespace ostrel {

namespace {

// More threads than this gain little: the work is mostly memory traffic.
constexpr unsigned kMaxThreads = 4;

}  // namespace

void ForEachContig(size_t count, const std::function<void(size_t, std::ostream&)>& work, std::ostream& out) {
  std::vector<std::string> messages(count);
  std::atomic<size_t> next{0};
  std::atomic<bool> failed{false};
  std::exception_ptr failure;
  std::mutex failureLock;

  // Each thread takes the next contig not yet taken, so one large contig
  // does not hold back the rest.
  auto worker = [&]() {
    try {
      std::ostringstream said;
      for (size_t c = next++; c < count && !failed; c = next++) {
        work(c, said);
        if (said.tellp() > 0) {
          messages[c] = said.str();
          said.str("");
        }
      }
    } catch (...) {
      const std::lock_guard<std::mutex> hold(failureLock);
      if (!failure) failure = std::current_exception();
      failed = true;
    }
  };

  const unsigned cores = std::max(1u, std::min(std::thread::hardware_concurrency(), kMaxThreads));
  const size_t helpers = std::min<size_t>(cores - 1, count > 0 ? count - 1 : 0);
  std::vector<std::thread> threads;
  for (size_t t = 0; t < helpers; ++t) {
    try {
      threads.emplace_back(worker);
    } catch (const std::system_error&) {
      break;  // no thread to be had: the threads already running share the work
    }
  }
  worker();
  for (std::thread& thread : threads) thread.join();

  for (const std::string& said : messages) out << said;
  out.flush();
  if (failure) std::rethrow_exception(failure);
}

ContigQueue::ContigQueue(std::function<void(size_t)> work) : mWork(std::move(work)) {
  try {
    mWorker = std::thread(&ContigQueue::WorkOnHandedContigs, this);
  } catch (const std::system_error&) {
    // No thread to be had: Add does the work itself.
  }
}

ContigQueue::~ContigQueue() { Stop(true); }

void ContigQueue::Add(size_t c) {
  if (!mWorker.joinable()) {
    mWork(c);
    return;
  }
  {
    const std::lock_guard<std::mutex> hold(mMutex);
    mWaiting.push_back(c);
    ++mAdded;
  }
  mChanged.notify_all();
}

void ContigQueue::Wait() {
  std::exception_ptr failure;
  if (mWorker.joinable()) {
    std::unique_lock<std::mutex> hold(mMutex);
    mChanged.wait(hold, [this] { return mDone == mAdded || mFailure; });
    failure = mFailure;
  }
  if (failure) std::rethrow_exception(failure);
}

void ContigQueue::Finish() {
  Stop(false);
  if (mFailure) std::rethrow_exception(mFailure);
}

void ContigQueue::Stop(bool dropWaiting) {
  if (!mWorker.joinable()) return;
  {
    const std::lock_guard<std::mutex> hold(mMutex);
    mClosed = true;
    if (dropWaiting) mWaiting.clear();
  }
  mChanged.notify_all();
  mWorker.join();
}

void ContigQueue::WorkOnHandedContigs() {
  std::unique_lock<std::mutex> hold(mMutex);
  for (;;) {
    mChanged.wait(hold, [this] { return mClosed || !mWaiting.empty(); });
    if (mWaiting.empty()) return;  // closed, and nothing left
    const size_t c = mWaiting.front();
    mWaiting.pop_front();
    hold.unlock();
    try {
      mWork(c);
    } catch (...) {
      hold.lock();
      mFailure = std::current_exception();
      mWaiting.clear();
      mChanged.notify_all();
      return;
    }
    hold.lock();
    ++mDone;
    mChanged.notify_all();
  }
}

}  // namespace ostrel
