#pragma once
// The window's side of a run as the worker sees it: each call is carried out by the file-list
// pane on the GUI thread. Reads and warnings block the worker until the pane has answered;
// progress is only announced (the pane reads the run's board when it paints next).
//
// Made and used on the worker thread; the pane must outlive the worker (it waits for it).
#include "conversion/ConversionRun.h"

class CLeftView;

class CRunBridge : public RunWindow {
public:
    CRunBridge(CLeftView* view, const ConversionRun* run) : m_view(view), m_run(run) {}

    ConversionOptions ReadOptions() override;
    FilePasswords ReadPasswords(const RunEntry& entry) override;
    void Warn(std::string_view message) override;
    void ShowProgress() override;

private:
    CLeftView* m_view;
    const ConversionRun* m_run;
};
