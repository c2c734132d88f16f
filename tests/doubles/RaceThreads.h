// Starts threads that begin their work together, for the tests of races.
#pragma once
#include <atomic>
#include <thread>
#include <vector>

namespace doubles {

// Runs work(0) ... work(count - 1) on `count` threads, each waiting until
// all are ready, and joins them.
template <class Work>
void RaceThreads(int count, Work work)
{
    std::atomic<int> ready{0};
    std::vector<std::thread> threads;
    for (int i = 0; i < count; ++i)
        threads.emplace_back([&, i] {
            ++ready;
            while (ready.load() < count)
                std::this_thread::yield();
            work(i);
        });
    for (std::thread& thread : threads)
        thread.join();
}

}  // namespace doubles
