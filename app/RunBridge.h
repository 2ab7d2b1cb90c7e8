#pragma once
// The window's side of a run as the worker sees it. The options and warnings are carried out by
// the file-list pane on the GUI thread while the worker waits; the passwords come from the
// pane's password book, which the pane keeps as the rows show them; progress and the start of
// each file are only announced (the pane reads the run's board when it paints next).
//
// Made and used on the worker thread; the pane must outlive the worker (it waits for it).
#include "conversion/ConversionRun.h"

class CLeftView;
class PasswordBook;

class CRunBridge : public RunWindow {
public:
    // announceFiles: the pane wants to hear of each file's start (someone listens to it).
    CRunBridge(CLeftView* view, const ConversionRun* run, const PasswordBook& passwords, bool announceFiles)
        : m_view(view), m_run(run), m_passwords(passwords), m_announceFiles(announceFiles)
    {
    }

    ConversionOptions ReadOptions() override;
    FilePasswords ReadPasswords(const RunEntry& entry) override;
    void Warn(std::string_view message) override;
    void ShowProgress() override;

private:
    CLeftView* m_view;
    const ConversionRun* m_run;
    const PasswordBook& m_passwords;
    const bool m_announceFiles;
};
