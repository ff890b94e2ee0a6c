// Timing and printing shared by the benchmarks.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

LARGE_INTEGER Now();
double Milliseconds(const LARGE_INTEGER& from, const LARGE_INTEGER& to);
double Median(std::vector<double> samples);
// Prints the median and spread of the samples and returns the median (0 without samples).
double Report(const char* pszWhat, const std::vector<double>& samples);
// The running bench's own folder, with its trailing backslash.
std::string BenchFolder();
