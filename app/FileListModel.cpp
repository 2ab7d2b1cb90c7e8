#include "app/FileListModel.h"

bool CFileListModel::Add(const std::string& path)
{
    std::lock_guard lock(m_mutex);
    if (!m_byPath.emplace(path, FilePasswords{}).second)
        return false;
    m_order.push_back(path);
    m_checked.push_back(true);
    return true;
}

void CFileListModel::RemoveAt(int index)
{
    std::lock_guard lock(m_mutex);
    m_byPath.erase(m_order[std::size_t(index)]);
    m_order.erase(m_order.begin() + index);
    m_checked.erase(m_checked.begin() + index);
}

void CFileListModel::Clear()
{
    std::lock_guard lock(m_mutex);
    m_order.clear();
    m_checked.clear();
    m_byPath.clear();
}

void CFileListModel::SetPasswords(int index, std::string owner, std::string user)
{
    std::lock_guard lock(m_mutex);
    FilePasswords& passwords = m_byPath[m_order[std::size_t(index)]];
    passwords.owner = std::move(owner);
    passwords.user = std::move(user);
}

std::vector<RunEntry> CFileListModel::CheckedEntries() const
{
    std::vector<RunEntry> entries;
    for (std::size_t i = 0; i < m_order.size(); ++i) {
        if (m_checked[i])
            entries.push_back({m_order[i]});
    }
    return entries;
}

FilePasswords CFileListModel::Passwords(const std::string& path) const
{
    std::lock_guard lock(m_mutex);
    const auto found = m_byPath.find(path);
    if (found == m_byPath.end())
        return {{}, {}, false};
    return found->second;
}
