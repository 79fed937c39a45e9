#include "components/ParallelReader.h"

#include <algorithm>

namespace {
// Items the consumer waits for at once: one wake-up per run, not per file.
constexpr size_t kWaitRun = 64;
} // namespace

ParallelReader::ParallelReader(size_t count, std::function<AudioFacts(size_t)> read, int threads,
                               const std::atomic<bool>* cancel)
    : m_count(count), m_read(std::move(read)), m_cancel(cancel), m_results(count),
      m_ready(new std::atomic<bool>[count]) {
    for (size_t i = 0; i < count; ++i)
        m_ready[i].store(false, std::memory_order_relaxed);
    if (threads <= 0) threads = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    for (int t = 0; t < threads && static_cast<size_t>(t) < count; ++t)
        m_threads.emplace_back([this] { readLoop(); });
}

ParallelReader::~ParallelReader() {
    m_stop.store(true);
    for (std::thread& t : m_threads)
        t.join();
}

void ParallelReader::readLoop() {
    for (;;) {
        if (m_stop.load(std::memory_order_relaxed) || cancelled()) return;
        const size_t i = m_next.fetch_add(1);
        if (i >= m_count) return;
        m_results[i] = m_read(i);
        m_ready[i].store(true, std::memory_order_release);
        bool wake;
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            wake = i == m_waitFrom || i == m_waitUntil;
        }
        if (wake) m_cv.notify_one();
    }
}

bool ParallelReader::take(size_t i, AudioFacts& out) {
    if (i >= m_count || cancelled()) return false;
    if (!m_ready[i].load(std::memory_order_acquire)) {
        const size_t until = std::min(m_count, i + kWaitRun) - 1;
        std::unique_lock<std::mutex> lock(m_mutex);
        m_waitFrom = i;
        m_waitUntil = until;
        // Readers that stopped on cancel wake nobody: look again now and then.
        while (!(m_ready[i].load(std::memory_order_acquire) &&
                 m_ready[until].load(std::memory_order_acquire)) &&
               !cancelled())
            m_cv.wait_for(lock, std::chrono::milliseconds(50));
        m_waitFrom = m_waitUntil = SIZE_MAX;
        if (!m_ready[i].load(std::memory_order_acquire)) return false;
    }
    out = std::move(m_results[i]);
    m_results[i] = AudioFacts();
    return true;
}
