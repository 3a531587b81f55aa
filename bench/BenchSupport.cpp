#include "bench/BenchSupport.h"

#include <QCoreApplication>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <exception>
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

void processUntil(const std::function<bool()>& done)
{
    QTimer poke;
    poke.start(5);
    while (!done())
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
}

int runMode(int argc, char** argv, int words, const char* usage,
            const std::function<std::optional<int>(const std::string& mode)>& run)
{
    if (argc <= words) {
        std::fprintf(stderr, "usage: %s %s\n", argv[0], usage);
        return 2;
    }
    const std::string mode = argv[1];
    try {
        if (const auto code = run(mode))
            return *code;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "error: %s\n", e.what());
        return 3;
    }
    std::fprintf(stderr, "unknown mode %s\n", mode.c_str());
    return 2;
}

} // namespace qb::bench
