#pragma once
// Shell requests: open a document, a folder or an address with the desktop's associated
// program. Results follow the shell's convention: above 32 is success, 32 and below is an
// error code (SE_ERR_...), so callers can show the matching message.
#include <QString>

#include <functional>

constexpr int SE_ERR_FNF = 2;            // file not found
constexpr int SE_ERR_PNF = 3;            // path not found
constexpr int SE_ERR_ACCESSDENIED = 5;
constexpr int SE_ERR_OOM = 8;
constexpr int SE_ERR_NOASSOC = 31;
constexpr int SHELL_SUCCESS = 42;

// verb is "open" or "explore"; target is a path or an address (http:, mailto:, ...).
int ShellExecute(const QString& verb, const QString& target);

// Tests install a recorder so that nothing is launched; pass an empty function to restore the
// real shell. Not thread-safe: install before the code under test runs.
using ShellHandler = std::function<int(const QString& verb, const QString& target)>;
void SetShellHandler(ShellHandler handler);
