#include "platform/BackgroundJob.h"

#include <objbase.h>

#include <deque>

namespace {

DWORD WINAPI RunJob(void* parameter)
{
    const std::unique_ptr<std::function<void()>> job(static_cast<std::function<void()>*>(parameter));
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    try {
        (*job)();
    } catch (...) {
        // A job that fails leaves its window without an answer: it shows
        // what it showed before.
    }
    if (SUCCEEDED(com))
        CoUninitialize();
    return 0;
}

}  // namespace

bool RunInBackground(std::function<void()> job)
{
    auto owned = std::make_unique<std::function<void()>>(std::move(job));
    HANDLE thread = CreateThread(nullptr, 0, RunJob, owned.get(), 0, nullptr);
    if (!thread)
        return false;
    owned.release();
    CloseHandle(thread);
    return true;
}

bool RunAsideAndWait(std::function<void()> job, DWORD limitMs)
{
    auto owned = std::make_unique<std::function<void()>>(std::move(job));
    HANDLE thread = CreateThread(nullptr, 0, RunJob, owned.get(), 0, nullptr);
    if (!thread)
        return false;
    owned.release();
    const DWORD start = GetTickCount();
    bool ended = false;
    for (;;) {
        const DWORD spent = GetTickCount() - start;
        if (spent >= limitMs)
            break;
        const DWORD woke = MsgWaitForMultipleObjects(1, &thread, FALSE, limitMs - spent, QS_SENDMESSAGE);
        if (woke == WAIT_OBJECT_0) {
            ended = true;
            break;
        }
        if (woke != WAIT_OBJECT_0 + 1)
            break;
        // Only sent messages are handled here: what is posted waits for the
        // caller's own loop, in its order.
        MSG msg;
        PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
    CloseHandle(thread);
    return ended;
}

namespace {

// The worker's queue, under its lock; the event wakes the worker.
struct WorkerQueue {
    CRITICAL_SECTION lock;
    HANDLE wake = nullptr;
    std::deque<std::function<void()>> jobs;
    int pending = 0;
    WorkerQueue() { InitializeCriticalSection(&lock); }
};

WorkerQueue& Queue()
{
    static WorkerQueue* queue = new WorkerQueue;  // never freed: the worker may outlive main
    return *queue;
}

DWORD WINAPI RunWorker(void*)
{
    // The worker lives as long as the program: COM stays set up for it.
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    WorkerQueue& q = Queue();
    for (;;) {
        std::function<void()> job;
        EnterCriticalSection(&q.lock);
        if (!q.jobs.empty()) {
            job = std::move(q.jobs.front());
            q.jobs.pop_front();
        }
        LeaveCriticalSection(&q.lock);
        if (!job) {
            WaitForSingleObject(q.wake, INFINITE);
            continue;
        }
        try {
            job();
        } catch (...) {
            // As for a thread of its own: the window shows what it showed.
        }
        EnterCriticalSection(&q.lock);
        --q.pending;
        LeaveCriticalSection(&q.lock);
    }
}

}  // namespace

bool RunOnWorker(std::function<void()> job)
{
    WorkerQueue& q = Queue();
    EnterCriticalSection(&q.lock);
    bool ready = q.wake != nullptr;
    if (!ready) {
        q.wake = CreateEventW(nullptr, FALSE, FALSE, nullptr);
        HANDLE thread = q.wake ? CreateThread(nullptr, 0, RunWorker, nullptr, 0, nullptr) : nullptr;
        if (thread) {
            CloseHandle(thread);
            ready = true;
        } else if (q.wake) {
            CloseHandle(q.wake);
            q.wake = nullptr;
        }
    }
    if (ready) {
        q.jobs.push_back(std::move(job));
        ++q.pending;
        SetEvent(q.wake);
    }
    LeaveCriticalSection(&q.lock);
    return ready;
}

int WorkerJobsPending()
{
    WorkerQueue& q = Queue();
    EnterCriticalSection(&q.lock);
    const int pending = q.pending;
    LeaveCriticalSection(&q.lock);
    return pending;
}
