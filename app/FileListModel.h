#pragma once
// The files of the list: entry i (from 0) is shown in grid row i + 1, with its tick and its
// owner and user passwords; a path (compared byte for byte) is listed once. The grid shows the entries; a
// run's worker reads an entry's passwords when the file's turn comes, so that a password
// typed during a run counts for the files not yet started.
//
// Threads: the GUI thread alone changes the list and reads it without waiting; Passwords may
// be called from any thread. Every change and Passwords take the list's lock.
#include "conversion/ConversionRun.h"

#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

class CFileListModel {
public:
    int Count() const { return int(m_order.size()); }
    // The path of entry `index`; GUI thread.
    const std::string& PathAt(int index) const { return m_order[std::size_t(index)]; }
    bool Contains(const std::string& path) const { return m_byPath.count(path) != 0; }

    // Appends a ticked entry with empty passwords; false (and no change) when the path is listed.
    bool Add(const std::string& path);
    void RemoveAt(int index);
    void Clear();
    void SetPasswords(int index, std::string owner, std::string user);
    void SetChecked(int index, bool checked) { m_checked[std::size_t(index)] = checked; }
    bool IsChecked(int index) const { return m_checked[std::size_t(index)]; }
    // The ticked entries in list order, as a run takes them at its start; GUI thread.
    std::vector<RunEntry> CheckedEntries() const;

    // The file's passwords as its row shows them; `listed` is false once it left the list.
    FilePasswords Passwords(const std::string& path) const;

private:
    mutable std::mutex m_mutex;
    std::vector<std::string> m_order;
    std::vector<bool> m_checked; // beside m_order; read by the GUI thread alone
    std::unordered_map<std::string, FilePasswords> m_byPath;
};
