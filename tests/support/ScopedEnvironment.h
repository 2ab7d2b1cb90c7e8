#pragma once
// Sets environment variables of this process for the life of the object and then puts back
// what was there (or unsets them). Tests point the single-instance lock and server, which live
// in $XDG_RUNTIME_DIR or else $TMPDIR, at a folder of their own with it, so that they never meet
// another test program or another user of the machine.
#include <QByteArray>
#include <QString>

#include <utility>
#include <vector>

class ScopedEnvironment {
public:
    ScopedEnvironment() = default;
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;
    ~ScopedEnvironment()
    {
        for (auto it = m_saved.rbegin(); it != m_saved.rend(); ++it) {
            if (it->second.isNull())
                qunsetenv(it->first.constData());
            else
                qputenv(it->first.constData(), it->second);
        }
    }

    // An empty value unsets the variable.
    void Set(const char* name, const QString& value)
    {
        m_saved.emplace_back(name, qgetenv(name));
        if (value.isEmpty())
            qunsetenv(name);
        else
            qputenv(name, value.toLocal8Bit());
    }

    // Both folders of the single-instance files.
    void SetInstanceFolder(const QString& folder)
    {
        Set("XDG_RUNTIME_DIR", folder);
        Set("TMPDIR", folder);
    }

private:
    std::vector<std::pair<QByteArray, QByteArray>> m_saved;
};
