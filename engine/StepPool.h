// The worker threads that share the Euler step of a large system: started at
// the first such step, then kept. Between runs they sleep on a condition
// variable; inside a run they meet at a barrier that spins only briefly before
// it sleeps too, so no core is kept busy while nothing is computed.
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
    ~CStepPool();

    // job(t) for t = 0..nThreads-1 at once, t = 0 on the calling thread;
    // returns when every one has returned.
    void Run(int nThreads, const std::function<void(int)>& job);
    // Every thread of the current run waits here until all have arrived.
    void Barrier();

    // Held by a caller for a whole run, with the run's scratch memory.
    std::mutex& CallMutex() { return m_callMutex; }
    std::vector<double>& Scratch() { return m_scratch; }

private:
    void Work(int t);

    std::mutex m_callMutex;
    std::vector<double> m_scratch;
    std::vector<std::thread> m_workers;

    std::mutex m_mutex;
    std::condition_variable m_wake;
    const std::function<void(int)>* m_pJob = nullptr;
    unsigned m_nJob = 0;
    int m_nThreads = 0;
    bool m_bStop = false;

    std::atomic<int> m_nArrived{0};
    std::atomic<unsigned> m_nRound{0};
    std::condition_variable m_roundDone;
};
