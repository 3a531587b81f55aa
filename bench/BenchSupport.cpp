#include "bench/BenchSupport.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

namespace qb::bench {

double msSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

void printMs(double ms)
{
    std::printf("%.2f\n", ms);
}

long peakResidentKb()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmHWM:", 0) == 0)
            return std::strtol(line.c_str() + 6, nullptr, 10);
    return -1;
}

QString repeatedText(qsizetype size, const std::function<QString(int)>& piece)
{
    QString text;
    text.reserve(size + 256);
    for (int i = 0; text.size() < size; ++i)
        text += piece(i);
    return text;
}

} // namespace qb::bench
