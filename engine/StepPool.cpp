#include "engine/StepPool.h"

#include <chrono>

// Polling before a waiting thread sleeps: longer than a step that is worth
// sharing, far shorter than a 20 ms tick.
static constexpr auto kSpin = std::chrono::microseconds(50);

// Never destroyed: exit() (the internal-error exit, a forked child) must not
// wait for threads; the sleeping workers simply end with the process.
CStepPool& CStepPool::Get()
{
    static CStepPool* s_pPool = new CStepPool;
    return *s_pPool;
}

void CStepPool::Run(int nThreads, const std::function<void()>& job)
{
    std::lock_guard<std::mutex> call(m_callMutex);
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        try {
            for (int t = static_cast<int>(m_workers.size()) + 1; t < nThreads; ++t)
                m_workers.emplace_back([this, t] { Work(t); });
        } catch (const std::exception&) {
            // No thread or no memory for one: the threads there claim all the work.
        }
        m_pJob = &job;
        m_nThreads = nThreads;
        m_bOpen = true;
        ++m_nJob;
    }
    m_wake.notify_all();
    job();
    // Workers that have not started by now find the job closed and skip it.
    std::unique_lock<std::mutex> lock(m_mutex);
    m_bOpen = false;
    m_progress.wait(lock, [this] { return m_nInside == 0; });
}

void CStepPool::Work(int t)
{
    unsigned nSeen = 0;
    std::unique_lock<std::mutex> lock(m_mutex);
    for (;;) {
        m_wake.wait(lock, [&] { return m_nJob != nSeen && t < m_nThreads; });
        nSeen = m_nJob;
        if (!m_bOpen) continue;
        const std::function<void()>* pJob = m_pJob;
        ++m_nInside;
        lock.unlock();
        (*pJob)();
        lock.lock();
        if (--m_nInside == 0) m_progress.notify_all();
    }
}

void CStepPool::WaitUntil(const std::atomic<long>& nDone, long nTarget)
{
    const auto end = std::chrono::steady_clock::now() + kSpin;
    do {
        if (nDone.load(std::memory_order_acquire) >= nTarget) return;
#if defined(__x86_64__) || defined(__i386__)
        __builtin_ia32_pause();  // keeps the core: the thread we wait for has its own
#endif
    } while (std::chrono::steady_clock::now() < end);
    std::unique_lock<std::mutex> lock(m_mutex);
    m_progress.wait(lock, [&] { return nDone.load(std::memory_order_acquire) >= nTarget; });
}

void CStepPool::Done(std::atomic<long>& nDone)
{
    nDone.fetch_add(1, std::memory_order_acq_rel);
    std::lock_guard<std::mutex> lock(m_mutex);  // a waiter is either asleep or sees the count
    m_progress.notify_all();
}
