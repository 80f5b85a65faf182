#include "authoring/ordered_parallel_work.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>

namespace averlune {
namespace {

struct WorkRun {
  std::vector<std::size_t> consumed;
  std::uint64_t mostHeld = 0;
};

// Jobs of the given sizes on three threads with a budget; records the order of consumption and the
// most memory that started, unconsumed jobs held at once, as the jobs themselves see it.
WorkRun run(const std::vector<std::uint64_t>& sizes, std::uint64_t budget, std::size_t stopAfter = SIZE_MAX) {
  WorkRun result;
  std::atomic<std::uint64_t> held{0};
  std::atomic<std::uint64_t> most{0};
  runOrderedParallelWork<std::string>(
      sizes.size(), 3, budget, [&](std::size_t i) { return sizes[i]; },
      [&](std::size_t i, unsigned) {
        const std::uint64_t now = held += sizes[i];
        for (std::uint64_t seen = most; now > seen && !most.compare_exchange_weak(seen, now);) {
        }
        return std::to_string(i);
      },
      [&](const std::string& job) { return sizes[std::stoul(job)]; },
      [&](std::size_t i, std::string job) {
        EXPECT_EQ(job, std::to_string(i));
        held -= sizes[i];
        result.consumed.push_back(i);
        return result.consumed.size() < stopAfter;
      });
  result.mostHeld = most;
  return result;
}

TEST(OrderedParallelWork, HandsResultsOverInOrderWithinTheBudget) {
  std::vector<std::uint64_t> sizes;
  for (std::size_t i = 0; i < 200; ++i) sizes.push_back(1 + i % 7);
  const WorkRun small = run(sizes, 10);
  ASSERT_EQ(small.consumed.size(), sizes.size());
  for (std::size_t i = 0; i < sizes.size(); ++i) EXPECT_EQ(small.consumed[i], i);
  EXPECT_LE(small.mostHeld, 10u);

  // A job larger than the whole budget still runs, alone.
  const WorkRun large = run({3, 50, 3}, 10);
  EXPECT_EQ(large.consumed, (std::vector<std::size_t>{0, 1, 2}));
  EXPECT_LE(large.mostHeld, 50u);

  // Stopping early consumes nothing more and returns once the threads are done.
  EXPECT_EQ(run(sizes, 10, 5).consumed.size(), 5u);
  EXPECT_TRUE(run({}, 10).consumed.empty());
}

}  // namespace
}  // namespace averlune
