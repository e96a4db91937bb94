// The worker threads that share the Euler step of a large system: started at
// the first such step, then kept for the life of the process. Between runs they sleep on a condition
// variable. A run is cut into pieces of work that any thread may claim, so a
// worker that the system has put aside for a while slows nothing down: the
// others take its share. Waiting for the pieces of a phase polls only briefly
// before it sleeps too, so no core is kept busy while nothing is computed.
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

    // job() on the calling thread and on up to nThreads - 1 workers at once;
    // returns when the caller's has returned and no worker is still inside.
    void Run(int nThreads, const std::function<void()>& job);
    // Waits until nDone has reached nTarget; Done() adds one to nDone and
    // wakes the waiters.
    void WaitUntil(const std::atomic<long>& nDone, long nTarget);
    void Done(std::atomic<long>& nDone);
    // One short pause of a polling loop.
    static void Relax();

    // Held by a caller for a whole run, with the run's scratch memory.
    std::mutex& CallMutex() { return m_callMutex; }
    std::vector<double>& Scratch() { return m_scratch; }
    std::vector<double>& Kept() { return m_kept; }

private:
    void Work(int t);

    std::mutex m_callMutex;
    std::vector<double> m_scratch, m_kept;
    std::vector<std::thread> m_workers;

    std::mutex m_mutex;
    std::condition_variable m_wake, m_progress;
    const std::function<void()>* m_pJob = nullptr;
    unsigned m_nJob = 0;
    int m_nThreads = 0;
    int m_nInside = 0;
    bool m_bOpen = false;
};
