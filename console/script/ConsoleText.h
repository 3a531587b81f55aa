#pragma once
// String-table ids of the script run's texts (platform/strings/console.inc).

namespace qb::console {

enum ConsoleText : int {
    kTextEchoPrompt = 61800,       // "SQL> "
    kTextExecuteFailed = 61801,    // action text of a statement that cannot be executed
    kTextColumnInfoFailed = 61802, // action text of a rowset whose columns cannot be read
    kTextUnknownFieldSize = 61803, // a text or binary column whose size the provider does not know
    kTextBindingFailed = 61804,  // action text of a rowset that cannot be bound
    kTextAccomplished = 61805,   // a statement without rows
    kTextInterrupted = 61806,    // the stop line
    kTextRowsSummary = 61807,    // "%1" rows shown, "%2" rows counted
    kTextErrorCaption = 61808,   // caption of the run's message boxes
    kTextCommitFailed = 61809,   // action text of a failed commit at the end of a run
};

} // namespace qb::console
