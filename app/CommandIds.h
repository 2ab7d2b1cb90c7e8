#pragma once
// The command identifiers shared by the menus, the accelerators, the file-list pane's buttons and
// its handlers. The values are fixed: menus, accelerators and buttons find each other by them.
enum CommandId : int {
    CmdOpenFile = 32770,
    CmdImportDirectory = 32771,
    CmdOpenFileDirectory = 32773,
    CmdOpenWithAssociatedApp = 32774,
    CmdRemoveAll = 32775,
    CmdRemoveSelected = 32776,
    CmdSelectCurrentItem = 32777,
    CmdClearAllSelected = 32778,
    CmdInvertSelect = 32779,
    CmdStartConvert = 32781,
    CmdStopConvert = 32782,
    CmdResetAllOptions = 32783,
    CmdManual = 32861,
    CmdShowTipOfTheDay = 32862,
    CmdTellToFriend = 32865,
    CmdCheckNewVersion = 32866,
    CmdVisitWebSite = 32867,
    CmdSelectAllItems = 57642,
    CmdAbout = 57664,
    CmdExit = 57665,
};
