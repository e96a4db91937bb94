#include "engine/StepPool.h"

#include <chrono>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define QV_PAUSE() _mm_pause()
#else
#define QV_PAUSE() std::this_thread::yield()
#endif

namespace {
// Polling before a waiting thread sleeps: longer than the gap between two
// barriers of a step that is worth sharing, far shorter than a 20 ms tick.
constexpr auto kSpin = std::chrono::microseconds(50);
}  // namespace

CStepPool& CStepPool::Get()
{
    static CStepPool s_pool;
    return s_pool;
}

CStepPool::~CStepPool()
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_bStop = true;
    }
    m_wake.notify_all();
    for (std::thread& w : m_workers) w.join();
}

void CStepPool::Run(int nThreads, const std::function<void(int)>& job)
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        while (static_cast<int>(m_workers.size()) < nThreads - 1) {
            const int t = static_cast<int>(m_workers.size()) + 1;
            m_workers.emplace_back([this, t] { Work(t); });
        }
        m_pJob = &job;
        m_nThreads = nThreads;
        ++m_nJob;
    }
    m_wake.notify_all();
    job(0);
    Barrier();  // every worker is done with the job before it goes out of scope
}

void CStepPool::Work(int t)
{
    unsigned nSeen = 0;
    for (;;) {
        const std::function<void(int)>* pJob;
        {
            std::unique_lock<std::mutex> lock(m_mutex);
            m_wake.wait(lock, [&] { return m_bStop || (m_nJob != nSeen && t < m_nThreads); });
            if (m_bStop) return;
            nSeen = m_nJob;
            pJob = m_pJob;
        }
        (*pJob)(t);
        Barrier();
    }
}

void CStepPool::Barrier()
{
    // Both read before arriving: the next run may change them once all are here.
    const unsigned nRound = m_nRound.load(std::memory_order_acquire);
    const int nThreads = m_nThreads;
    if (m_nArrived.fetch_add(1, std::memory_order_acq_rel) + 1 == nThreads) {
        m_nArrived.store(0, std::memory_order_relaxed);
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_nRound.store(nRound + 1, std::memory_order_release);
        }
        m_roundDone.notify_all();
        return;
    }
    const auto end = std::chrono::steady_clock::now() + kSpin;
    do {
        for (int i = 0; i < 32; ++i) {
            if (m_nRound.load(std::memory_order_acquire) != nRound) return;
            QV_PAUSE();
        }
    } while (std::chrono::steady_clock::now() < end);
    std::unique_lock<std::mutex> lock(m_mutex);
    m_roundDone.wait(lock, [&] { return m_nRound.load(std::memory_order_acquire) != nRound; });
}
