#pragma once
// Reads N items on every core and hands the results out in order: the
// consumer (the scanner's writer) takes item 0, 1, 2... while the threads read
// ahead. Used to read tags while the rows are written.
#include "components/AudioFile.h"

#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

class ParallelReader {
public:
    // read(i) produces item i; it runs on the reader threads.
    ParallelReader(size_t count, std::function<AudioFacts(size_t)> read, int threads,
                   const std::atomic<bool>* cancel);
    ~ParallelReader(); // stops reading and joins the threads
    ParallelReader(const ParallelReader&) = delete;
    ParallelReader& operator=(const ParallelReader&) = delete;

    // Waits for item i (taken in order) and moves it out; false when cancelled.
    bool take(size_t i, AudioFacts& out);

private:
    void readLoop();
    bool cancelled() const { return m_cancel && m_cancel->load(std::memory_order_relaxed); }

    const size_t m_count;
    std::function<AudioFacts(size_t)> m_read;
    const std::atomic<bool>* m_cancel;
    std::vector<AudioFacts> m_results;
    std::unique_ptr<std::atomic<bool>[]> m_ready;
    std::atomic<size_t> m_next{0};
    std::atomic<bool> m_stop{false};
    std::mutex m_mutex;
    std::condition_variable m_cv;
    size_t m_waitFrom = SIZE_MAX; // the consumer waits for these two items
    size_t m_waitUntil = SIZE_MAX;
    std::vector<std::thread> m_threads;
};
