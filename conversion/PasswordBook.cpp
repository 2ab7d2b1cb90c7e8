#include "conversion/PasswordBook.h"

void PasswordBook::Set(const std::string& path, FilePasswords passwords)
{
    std::lock_guard lock(m_mutex);
    passwords.listed = true;
    m_byPath[path] = std::move(passwords);
}

void PasswordBook::Remove(const std::string& path)
{
    std::lock_guard lock(m_mutex);
    m_byPath.erase(path);
}

void PasswordBook::Clear()
{
    std::lock_guard lock(m_mutex);
    m_byPath.clear();
}

FilePasswords PasswordBook::Get(const std::string& path) const
{
    std::lock_guard lock(m_mutex);
    const auto found = m_byPath.find(path);
    if (found == m_byPath.end())
        return {{}, {}, false};
    return found->second;
}
