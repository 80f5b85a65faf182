#pragma once
// Runs jobs 0..count-1 on several threads and hands their results to the calling thread in job
// order, with the memory that results waiting their turn hold kept under a budget.
#include <algorithm>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <map>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

namespace averlune {

// `work(i, worker)` makes job i's Result on worker thread `worker` (0..threads-1); `consume(i,
// result)` takes them on the calling thread in order of i and returns false to stop early (no
// job starts after that). A job starts only while the memory of the jobs started and not yet
// consumed, `reserve(i)` each until done and then `holds(result)`, stays within `budget`; a job
// starts anyway when none is outstanding, so that one larger than the budget still runs.
template <typename Result, typename Reserve, typename Work, typename Holds, typename Consume>
void runOrderedParallelWork(std::size_t count, unsigned threads, std::uint64_t budget, Reserve reserve, Work work,
                            Holds holds, Consume consume) {
  std::mutex mutex;
  std::condition_variable changed;
  std::size_t nextToStart = 0;
  std::uint64_t held = 0;
  bool stop = false;
  std::map<std::size_t, std::pair<Result, std::uint64_t>> finished;  // job -> result, memory held

  auto worker = [&](unsigned id) {
    std::unique_lock<std::mutex> lock(mutex);
    for (;;) {
      changed.wait(lock, [&] {
        return stop || nextToStart == count || held == 0 || held + reserve(nextToStart) <= budget;
      });
      if (stop || nextToStart == count) return;
      const std::size_t job = nextToStart++;
      const std::uint64_t reserved = reserve(job);
      held += reserved;
      lock.unlock();
      Result result = work(job, id);
      const std::uint64_t holding = holds(result);
      lock.lock();
      held = held - reserved + holding;
      finished.emplace(job, std::make_pair(std::move(result), holding));
      changed.notify_all();
    }
  };
  std::vector<std::thread> workers;
  for (unsigned id = 0; id < std::max(threads, 1u); ++id) workers.emplace_back(worker, id);

  for (std::size_t job = 0; job < count; ++job) {
    std::unique_lock<std::mutex> lock(mutex);
    changed.wait(lock, [&] { return finished.count(job) != 0; });
    auto node = finished.extract(job);
    lock.unlock();
    const bool more = consume(job, std::move(node.mapped().first));
    lock.lock();
    held -= node.mapped().second;
    changed.notify_all();
    if (!more) break;
  }
  {
    std::lock_guard<std::mutex> lock(mutex);
    stop = true;
  }
  changed.notify_all();
  for (std::thread& thread : workers) thread.join();
}

}  // namespace averlune
