#pragma once
// The main window's command ids: menu items, accelerators and toolbar buttons share them.
namespace qb::ui {

enum CommandId : int {
    kCmdNewDataLink = 32792,
    kCmdNewConnectionString = 32793,
    kCmdOpenDataLink = 32795,
    kCmdCloseConnection = 32796,
    kCmdExit = 32806,
    kCmdStandardButtons = 33794,
    kCmdDatabaseButtons = 32813,
    kCmdLockToolBars = 32805,
    kCmdStatusBar = 33797,
    kCmdQuickViewBar = 32810,
    kCmdDatabaseTree = 32811,
    kCmdReportWindow = 32812,
    kCmdSqlWindow = 32814,
    kCmdBack = 32801,
    kCmdForward = 32802,
    kCmdUp = 32803,
    kCmdStop = 32809,
    kCmdRefresh = 32804,
    kCmdChangeListView = 32781,
    kCmdIcons = 32788,
    kCmdSmallIcons = 32791,
    kCmdList = 32789,
    kCmdReport = 32790,
    kCmdPreviousRow = 32823,
    kCmdNextRow = 32824,
    kCmdExecuteSql = 32822,
    kCmdConfiguration = 32782,
    kCmdSaveConfiguration = 32826,
    kCmdExportConfiguration = 32828,
    kCmdTipOfTheDay = 32830,
    kCmdPlugins = 32818,
    kCmdAboutPluginsEmpty = 32817, // the "(empty)" item of "About Plug-ins"
    kCmdAbout = 32807,
    kCmdHelpHomePage = 32820,
    kCmdHelpMail = 32821,
    kCmdHelpQuillbasePage = 32827,
    kCmdHelpBugReport = 32829,
    kCmdFirstRecent = 57616,
    kCmdLastRecent = 57631,
};

// The bands of the toolbar bar: the menu bar, the standard and the database toolbar.
enum BandId : int {
    kBandMenu = 60160,
    kBandStandard = 60161,
    kBandDatabase = 60162,
};

} // namespace qb::ui
