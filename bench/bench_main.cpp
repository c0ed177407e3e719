#include <algorithm>
#include <cstdio>
#include <cstring>

#include "bench/Bench.h"
#include "platform/Dialogs.h"

std::vector<Benchmark>& Benchmarks()
{
    static std::vector<Benchmark> all;
    return all;
}

double NowMs()
{
    static const LARGE_INTEGER freq = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) * 1000.0 / static_cast<double>(freq.QuadPart);
}

double Median(std::vector<double> values)
{
    if (values.empty())
        return -1;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

namespace {
std::vector<double> Times(int repeats, const std::function<void()>& body)
{
    std::vector<double> t;
    for (int i = 0; i < repeats; ++i) {
        const double start = NowMs();
        body();
        t.push_back(NowMs() - start);
    }
    std::sort(t.begin(), t.end());
    return t;
}
}  // namespace

double BestMilliseconds(int repeats, const std::function<void()>& body) { return Times(repeats, body).front(); }

double MedianMilliseconds(int repeats, const std::function<void()>& body) { return Median(Times(repeats, body)); }

std::string BenchTempFolder()
{
    char base[MAX_PATH + 1];
    GetTempPathA(sizeof base, base);
    static int n = 0;
    const std::string dir = std::string(base) + "vlcr-bench-" + std::to_string(GetCurrentProcessId()) + "-" +
                            std::to_string(++n) + "\\";
    CreateDirectoryA(dir.c_str(), nullptr);
    return dir;
}

HBITMAP MakeBenchStrip(int cells)
{
    HDC screen = GetDC(nullptr);
    HBITMAP strip = CreateCompatibleBitmap(screen, 16 * cells, 32);
    HDC dc = CreateCompatibleDC(screen);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(dc, strip);
    const RECT image{0, 0, 16 * cells, 16}, mask{0, 16, 16 * cells, 32};
    FillRect(dc, &image, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    FillRect(dc, &mask, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    HBRUSH red = CreateSolidBrush(0x006446FA);
    for (int i = 0; i < cells; ++i) {
        const RECT dot{16 * i + 3, 3, 16 * i + 13, 13}, hole{16 * i + 3, 19, 16 * i + 13, 29};
        FillRect(dc, &dot, red);
        FillRect(dc, &hole, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    }
    DeleteObject(red);
    SelectObject(dc, old);
    DeleteDC(dc);
    return strip;
}

void PumpBenchMessages()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

int main(int argc, char** argv)
{
    // A benchmark never waits on a person: a message box is printed instead.
    ShowMessageBox = [](HWND, const char* text, const char*, UINT) {
        std::printf("(message box: %s)\n", text);
        return IDOK;
    };
    // An argument picks the benchmarks whose names contain it.
    for (const Benchmark& b : Benchmarks()) {
        if (argc > 1 && !std::strstr(b.name, argv[1]))
            continue;
        std::printf("== %s\n", b.name);
        b.run();
        std::fflush(stdout);
    }
    return 0;
}
