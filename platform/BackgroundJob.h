// Work that may wait on the network (a share that is away answers only after
// its time-out) runs on a thread of its own, never on the user's. A job hands
// its result back by posting it to a window; a result whose window is gone is
// freed by the job.
#pragma once
#include <windows.h>

#include <functional>
#include <memory>

// Runs `job` on a new thread with COM set up for the shell; the thread ends
// with the job. False when no thread could be had (the job does not run).
bool RunInBackground(std::function<void()> job);

// Runs `job` on a thread of its own and waits for it at most `limitMs`,
// taking meanwhile the messages other threads send to this one's windows:
// a question to another program that may itself be sending to us (the
// shell does) cannot then lock the two together, and one that hangs costs
// only the limit. True when the job ended in time; otherwise it goes on
// alone, so it must own all it touches.
bool RunAsideAndWait(std::function<void()> job, DWORD limitMs);

// Runs `job` on the program's one worker thread, after the jobs queued
// before it: questions that may each wait for a share's time-out queue up
// there instead of parking a thread apiece. The worker is made when first
// needed and lives as long as the program. False when it could not be made.
bool RunOnWorker(std::function<void()> job);
// Jobs queued and not yet finished (for the benchmarks and the tests).
int WorkerJobsPending();

// Posts `result` to `window` as `message` (lParam: the pointer, owned by the
// receiver from then on); when the window is gone the result is freed here.
template <class T>
void PostResult(HWND window, UINT message, std::unique_ptr<T> result)
{
    if (PostMessageW(window, message, 0, reinterpret_cast<LPARAM>(result.get())))
        result.release();
}

// The receiving side: takes ownership of what PostResult sent.
template <class T>
std::unique_ptr<T> TakeResult(LPARAM lParam)
{
    return std::unique_ptr<T>(reinterpret_cast<T*>(lParam));
}
