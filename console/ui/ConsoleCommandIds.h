#pragma once
// The console's command ids (menu items and toolbar buttons share them) and its window texts in
// the string table (common/strings/console.inc).

namespace qb::console::ui {

enum ConsoleCommand : int {
    kCmdOpenConnection = 32773,
    kCmdCloseConnection = 32774,
    kCmdNewSqlFile = 32775,
    kCmdOpenSqlFile = 32776,
    kCmdSaveSqlFile = 32777,
    kCmdSaveSqlFileAs = 32778,
    kCmdExecute = 32786,
    kCmdSettings = 32789,
    kCmdCloseSqlFile = 32792,
    kCmdStop = 32793,
    kCmdUndo = 32802,
    kCmdRedo = 32803,
    kCmdCut = 32804,
    kCmdPaste = 32805,
    kCmdSelectAll = 32806,
    kCmdClear = 32807,
    kCmdFind = 32808,
    kCmdDelete = 32809,
    kCmdCopy = 32810,
    kCmdNewDataLink = 32813,
    kCmdNewConnectionString = 32814,
    kCmdAbout = 57664,
    kCmdExit = 57665,
    kCmdRecentFirst = 57616, // the placeholder of the recent connections, then entry 1
    kCmdRecentLast = 57631,
};

enum ConsoleWindowText : int {
    kTextProgramName = 61830,
    kTextOpenFailed = 61831,
    kTextNewDataLinkTitle = 61832,
    kTextUdlFilter = 61833,
    kTextCreateDataLinkAction = 61834,
    kTextSaveChanges = 61835,
    kTextInformationCaption = 61836,
    kTextSqlFilter = 61837,
    kTextNotFound = 61838,
    kTextSettingsTitle = 61839,
    kTextRangeMessage = 61840,
    kTextIdleHelp = 61841,
    kTextRowPane = 61842,
    kTextColumnPane = 61843,
    kTextSaveFailed = 61844,
    kTextReadFailed = 61845,
};

} // namespace qb::console::ui
