// A tiny benchmark registry: each benchmark prints its own figures.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

struct Benchmark {
    const char* name;
    void (*run)();
};
std::vector<Benchmark>& Benchmarks();
struct RegisterBenchmark {
    RegisterBenchmark(const char* name, void (*run)()) { Benchmarks().push_back({name, run}); }
};
#define VLCR_BENCHMARK(name, fn) static RegisterBenchmark bench_reg_##fn(name, fn)

// The performance counter in milliseconds.
double NowMs();
// The middle value (the upper one of an even count); -1 for none.
double Median(std::vector<double> values);

// Wall time of `body` in milliseconds, the best of `repeats` runs.
double BestMilliseconds(int repeats, const std::function<void()>& body);
// The median of `repeats` runs.
double MedianMilliseconds(int repeats, const std::function<void()>& body);
std::string BenchTempFolder();  // fresh, ends in a backslash

// A strip of the right size with something in every cell, as the icon strip
// gives it, without asking the shell.
HBITMAP MakeBenchStrip(int cells);

// Handles the thread's pending messages.
void PumpBenchMessages();
