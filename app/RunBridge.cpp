#include "app/RunBridge.h"

#include "app/FileListModel.h"

#include <QMetaObject>

ConversionOptions CRunBridge::ReadOptions()
{
    ConversionOptions options;
    QMetaObject::invokeMethod(m_context, [&] { options = m_handlers.readOptions(); }, Qt::BlockingQueuedConnection);
    return options;
}

void CRunBridge::FileStarting(int number, int count)
{
    // Waking the window for every file of a thousand small ones is a cost worth sparing.
    if (m_handlers.fileStarting)
        QMetaObject::invokeMethod(m_context, [call = m_handlers.fileStarting, number, count] { call(number, count); },
                                  Qt::QueuedConnection);
}

FilePasswords CRunBridge::ReadPasswords(const RunEntry& entry)
{
    return m_files.Passwords(entry.path);
}

namespace {

QString MessageText(std::string_view message)
{
    return QString::fromLocal8Bit(message.data(), qsizetype(message.size()));
}

} // namespace

void CRunBridge::Warn(std::string_view message)
{
    const QString text = MessageText(message);
    QMetaObject::invokeMethod(m_context, [&] { m_handlers.warn(text); }, Qt::BlockingQueuedConnection);
}

bool CRunBridge::Confirm(std::string_view message)
{
    const QString text = MessageText(message);
    bool confirmed = false;
    QMetaObject::invokeMethod(m_context, [&] { confirmed = m_handlers.confirm(text); }, Qt::BlockingQueuedConnection);
    return confirmed;
}

void CRunBridge::ShowProgress()
{
    QMetaObject::invokeMethod(m_context, m_handlers.progressChanged, Qt::QueuedConnection);
}
