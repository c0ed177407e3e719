#include <algorithm>
#include <cstdio>
#include <cstring>

#include "bench/Bench.h"

std::vector<Benchmark>& Benchmarks()
{
    static std::vector<Benchmark> all;
    return all;
}

namespace {
double Now()
{
    static LARGE_INTEGER freq = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) * 1000.0 / static_cast<double>(freq.QuadPart);
}

std::vector<double> Times(int repeats, const std::function<void()>& body)
{
    std::vector<double> t;
    for (int i = 0; i < repeats; ++i) {
        const double start = Now();
        body();
        t.push_back(Now() - start);
    }
    std::sort(t.begin(), t.end());
    return t;
}
}  // namespace

double BestMilliseconds(int repeats, const std::function<void()>& body) { return Times(repeats, body).front(); }

double MedianMilliseconds(int repeats, const std::function<void()>& body)
{
    const auto t = Times(repeats, body);
    return t[t.size() / 2];
}

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

int main(int argc, char** argv)
{
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
