#pragma once
// The text of quillary-convert --help-settings: every Settings.ini key under its section, with
// its default and what its numbers mean, made from the key table and the choice lists
// themselves so that it cannot fall behind them.
#include <string>

std::string SettingsHelp();
