#pragma once
// What the timing programs share: the steady-clock milliseconds they print as their one number
// for the run scripts, the process's peak resident memory, and large generated texts.
//
// Memory is read from within the process that did the work: the scripts start one process per
// figure, so each peak holds that run and nothing before it.
#include <QString>

#include <chrono>
#include <functional>
#include <optional>
#include <string>

namespace qb::bench {

double msSince(std::chrono::steady_clock::time_point start);

// Prints milliseconds the way the run scripts read them: one number on its own line.
void printMs(double ms);

// The highest resident set size of this process so far (VmHWM), in kB; -1 when unreadable.
long peakResidentKb();

// piece(0) + piece(1) + ... until the text holds at least size characters.
QString repeatedText(qsizetype size, const std::function<QString(int)>& piece);

// Runs the event loop as a program does, sleeping between events (a loop that spins would take a
// core from the workers and make timers late by itself); a 5 ms poke re-checks `done`.
void processUntil(const std::function<bool()>& done);
// The frame of a timing program's main(): below `words` arguments (the mode included) it prints
// "usage: PROGRAM " + usage and answers 2; otherwise run(mode) answers the exit code, or nothing
// for an unknown mode (2). An exception is printed and answers 3.
int runMode(int argc, char** argv, int words, const char* usage,
            const std::function<std::optional<int>(const std::string& mode)>& run);

} // namespace qb::bench
