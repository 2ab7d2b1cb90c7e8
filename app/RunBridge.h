#pragma once
// The worker's way back to the window: each RunWindow call is carried to the GUI thread in
// the way RunWindow states (blocking for the options, warnings and questions, posted for the file starts
// and progress); the passwords come straight from the locked file list.
//
// Made and used on the worker thread. `context` (the pane) and the list must outlive the
// worker; the handlers run on the context's thread.
#include "conversion/ConversionRun.h"

#include <QString>

#include <functional>

class CFileListModel;
class QObject;

class CRunBridge : public RunWindow {
public:
    struct Handlers {
        std::function<ConversionOptions()> readOptions;
        std::function<void(int number, int count)> fileStarting; // may be empty: not posted
        std::function<void(const QString& message)> warn;
        std::function<bool(const QString& message)> confirm;
        std::function<void()> progressChanged;
    };

    CRunBridge(QObject* context, const CFileListModel& files, Handlers handlers)
        : m_context(context), m_files(files), m_handlers(std::move(handlers))
    {
    }

    ConversionOptions ReadOptions() override;
    void FileStarting(int number, int count) override;
    FilePasswords ReadPasswords(const RunEntry& entry) override;
    void Warn(std::string_view message) override;
    bool Confirm(std::string_view message) override;
    void ShowProgress() override;

private:
    QObject* const m_context;
    const CFileListModel& m_files;
    const Handlers m_handlers;
};
