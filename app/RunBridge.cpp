#include "app/RunBridge.h"

#include "app/LeftView.h"
#include "conversion/PasswordBook.h"

#include <QMetaObject>

namespace {

// Runs `call` on the GUI thread and waits for it.
template <class Call>
void OnGuiThread(CLeftView* view, Call&& call)
{
    QMetaObject::invokeMethod(view, std::forward<Call>(call), Qt::BlockingQueuedConnection);
}

} // namespace

ConversionOptions CRunBridge::ReadOptions()
{
    ConversionOptions options;
    OnGuiThread(m_view, [&] { options = m_view->OptionsForRun(); });
    return options;
}

FilePasswords CRunBridge::ReadPasswords(const RunEntry& entry)
{
    if (m_announceFiles) {
        CLeftView* view = m_view;
        const ConversionRun* run = m_run;
        QMetaObject::invokeMethod(view, [view, run] { view->AnnounceFile(run); }, Qt::QueuedConnection);
    }
    return m_passwords.Get(entry.path);
}

void CRunBridge::Warn(std::string_view message)
{
    const QString text = QString::fromLocal8Bit(message.data(), qsizetype(message.size()));
    OnGuiThread(m_view, [&] { m_view->WarnForRun(text); });
}

void CRunBridge::ShowProgress()
{
    CLeftView* view = m_view;
    const ConversionRun* run = m_run;
    QMetaObject::invokeMethod(view, [view, run] { view->OnProgressTold(run); }, Qt::QueuedConnection);
}
