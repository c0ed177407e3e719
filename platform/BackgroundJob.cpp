#include "platform/BackgroundJob.h"

#include <objbase.h>

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
