#pragma once
// The hidden files that replacements are written under, ".quillary-<pid>-<random>.tmp" in the
// target's folder, and their removal when the writer does not get to remove them itself:
//  - SIGINT, SIGTERM and SIGHUP remove every temporary file that is registered, then end the
//    process as the signal would have. The handlers are installed with the first registration,
//    for those signals whose action is still the default (an ignored SIGHUP stays ignored).
//  - The first temporary name a process makes in a folder removes the leftovers there of
//    processes that are gone (killed by SIGKILL or a power cut): files whose names have exactly
//    the form above, whose process is gone, and which no writer holds locked. The lock tells a
//    live writer whose process id means nothing here (another pid namespace, another host of a
//    network file system).
// Every function may be called from any thread. The registry takes no lock, so that the
// signal handler may read it at any moment.
#include <string>

// A fresh hidden name in the folder of `target` (a path), short and independent of the
// target's own name, so that it fits wherever the target fits; random, so that nobody can plant
// a file under it beforehand. Sweeps the folder's leftovers first, once per process.
std::string TemporaryNameBeside(const std::string& target);

// Creates the file `path`, a name from TemporaryNameBeside, for writing, and holds it locked
// for as long as the descriptor is open. -1 with errno on failure; EEXIST when the name is taken
// or a sweep got to the file first, so that the caller tries another name.
int CreateTemporaryFile(const std::string& path);

// Registers a temporary file for removal on those signals. Returns its slot, or -1 when every
// slot is taken (the file is then removed by the next run into its folder).
int RegisterTemporaryFile(const std::string& path);

// Ends the registration of a slot from RegisterTemporaryFile; -1 is ignored.
void ForgetTemporaryFile(int slot);
