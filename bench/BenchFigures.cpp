#include "BenchFigures.h"

#include <algorithm>
#include <cstdio>

double Milliseconds(const LARGE_INTEGER& from, const LARGE_INTEGER& to) {
    static const double s_dFrequency = [] {
        LARGE_INTEGER frequency;
        QueryPerformanceFrequency(&frequency);
        return static_cast<double>(frequency.QuadPart);
    }();
    return (to.QuadPart - from.QuadPart) * 1000.0 / s_dFrequency;
}

LARGE_INTEGER Now() {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now;
}

double Median(std::vector<double> samples) {
    if (samples.empty()) {
        return 0;
    }
    std::sort(samples.begin(), samples.end());
    size_t n = samples.size();
    return n % 2 ? samples[n / 2] : (samples[n / 2 - 1] + samples[n / 2]) / 2;
}

double Report(const char* pszWhat, const std::vector<double>& samples) {
    if (samples.empty()) {
        std::printf("%s: no figures\n", pszWhat);
        return 0;
    }
    double dMedian = Median(samples);
    auto [itMin, itMax] = std::minmax_element(samples.begin(), samples.end());
    std::printf("%s: median %.2f ms over %zu runs (min %.2f, max %.2f)\n", pszWhat, dMedian,
                samples.size(), *itMin, *itMax);
    return dMedian;
}

std::string BenchFolder() {
    char szPath[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, szPath, MAX_PATH);
    std::string strPath = szPath;
    return strPath.substr(0, strPath.rfind('\\') + 1);
}
