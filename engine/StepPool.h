// The worker threads that share the Euler steps of a large system: started
// when first needed, then kept for the life of the process, asleep between
// runs. A run hands out its work in pieces that any thread may claim, so a
// worker that the system puts aside, or one that never started, slows
// nothing down: the others take its share.
#pragma once

#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

class CStepPool {
public:
    static CStepPool& Get();

    // job() on the calling thread and on up to nThreads - 1 workers at once
    // (fewer if threads cannot be started); returns when the caller's has
    // returned and no worker is still inside.
    void Run(int nThreads, const std::function<void()>& job);
    // Waits until nDone has reached nTarget: polls briefly, then sleeps.
    // Done() adds one to nDone and wakes the waiters.
    void WaitUntil(const std::atomic<long>& nDone, long nTarget);
    void Done(std::atomic<long>& nDone);

private:
    void Work(int t);

    std::mutex m_callMutex, m_mutex;  // one run at a time; everything below
    std::vector<std::thread> m_workers;
    std::condition_variable m_wake, m_progress;
    const std::function<void()>* m_pJob = nullptr;
    unsigned m_nJob = 0;
    int m_nThreads = 0, m_nInside = 0;
    bool m_bOpen = false;
};
