#pragma once
// Open-file dialog settings in their classic form, shared by every dialog of the program: the
// OFN_* flag values and the "|"-separated filter string.
#include "platform/WinTypes.h"

#include <QStringList>

constexpr DWORD OFN_OVERWRITEPROMPT = 0x00000002;
constexpr DWORD OFN_HIDEREADONLY = 0x00000004;
constexpr DWORD OFN_ALLOWMULTISELECT = 0x00000200;

// The Qt name filters of a filter string of description|patterns pairs, patterns separated by
// ';'. An empty part ends the list, as the closing "||" does. A "(...)" group that ends the
// description is replaced by the patterns, and "*.*" becomes "*", which matches names without
// a dot too, as it does on the classic desktop:
// "Text Files (*.txt)|*.txt|All Files (*.*)|*.*||" -> {"Text Files (*.txt)", "All Files (*)"}.
QStringList NameFiltersFromFilterString(const QString& filter);
