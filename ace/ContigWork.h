// Work on every contig of an assembly, spread over the machine's cores.
#ifndef OSTREL_ACE_CONTIGWORK_H
#define OSTREL_ACE_CONTIGWORK_H

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <exception>
#include <functional>
#include <mutex>
#include <ostream>
#include <thread>

namespace ostrel {

// Calls work(c, messages) once for every contig index c below `count`, on up
// to as many threads as the machine has cores; each call may touch only its
// own contig's data. What the calls write to `messages` goes to `out` once
// every call is done, in contig order, so the output is that of one pass in
// order. An exception thrown by a call is rethrown here after the other
// threads have stopped and what was said so far has been written.
void ForEachContig(size_t count, const std::function<void(size_t, std::ostream&)>& work, std::ostream& out);

// Contigs handed over one at a time and worked on in that order by one
// worker thread while the caller goes on (the ACE reader hands over each
// contig it has moved past). Without a thread to be had, each contig is
// worked on as it is handed over. Not copyable: it owns the thread.
class ContigQueue {
public:
  explicit ContigQueue(std::function<void(size_t)> work);
  ~ContigQueue();  // stops the worker; contigs not yet begun are dropped
  ContigQueue(const ContigQueue&) = delete;
  ContigQueue& operator=(const ContigQueue&) = delete;

  void Add(size_t c);
  // Waits until every contig handed over so far is done; more may follow.
  // Rethrows the first exception of the work (the contigs after it are
  // dropped).
  void Wait();
  // Waits until every contig handed over is done, and takes no more;
  // rethrows as Wait does.
  void Finish();

private:
  void WorkOnHandedContigs();  // the worker's loop
  void Stop(bool dropWaiting);

  std::function<void(size_t)> mWork;
  std::mutex mMutex;  // guards what follows
  std::condition_variable mChanged;
  std::deque<size_t> mWaiting;
  size_t mAdded = 0;  // contigs handed over
  size_t mDone = 0;   // contigs done (or dropped)
  bool mClosed = false;  // no more contigs will come
  std::exception_ptr mFailure;
  std::thread mWorker;
};

}  // namespace ostrel

#endif
