// Wall-clock samples from the performance counter, and the paired runs that set an operation
// against its baseline: the two alternate, so a busy machine slows both alike.
#pragma once

#include <windows.h>

#include <algorithm>
#include <vector>

inline double microsecondsNow() {
    static const double ticksPerMicrosecond = [] {
        LARGE_INTEGER frequency;
        QueryPerformanceFrequency(&frequency);
        return static_cast<double>(frequency.QuadPart) / 1e6;
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) / ticksPerMicrosecond;
}

template <typename Operation>
double timeMicroseconds(Operation&& operation) {
    const double start = microsecondsNow();
    operation();
    return microsecondsNow() - start;
}

inline double median(std::vector<double> samples) {
    if (samples.empty()) return 0.0;
    const size_t middle = samples.size() / 2;
    std::nth_element(samples.begin(), samples.begin() + middle, samples.end());
    return samples[middle];
}

struct PairedMedians {
    double subject = 0.0;   // microseconds
    double baseline = 0.0;  // microseconds
    double ratio() const { return baseline > 0.0 ? subject / baseline : 0.0; }
};

// Both callables run one repetition and return the microseconds it took, so that set-up and
// teardown can stay outside the timed region.
template <typename Subject, typename Baseline>
PairedMedians measurePair(int repetitions, Subject&& subject, Baseline&& baseline) {
    const int warmUp = std::max(1, repetitions / 10);
    for (int i = 0; i < warmUp; ++i) {
        subject();
        baseline();
    }
    std::vector<double> subjectSamples;
    std::vector<double> baselineSamples;
    subjectSamples.reserve(static_cast<size_t>(repetitions));
    baselineSamples.reserve(static_cast<size_t>(repetitions));
    for (int i = 0; i < repetitions; ++i) {
        subjectSamples.push_back(subject());
        baselineSamples.push_back(baseline());
    }
    return {median(subjectSamples), median(baselineSamples)};
}
