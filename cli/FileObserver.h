#pragma once
// One input file's progress, warnings and result as quillary-convert reports them. Warnings go
// to the report as they come; the conversion goes on as after OK in the window. Progress within
// the file moves the bar by the share of the file's bytes done, in steps, so that a file's many
// lines do not each take the report's lock. One object per file, on the thread converting it.
#include "cli/TerminalReport.h"
#include "conversion/ConversionObserver.h"
#include "conversion/ConversionResult.h"

#include <cstdint>
#include <string>

class FileObserver : public ConversionObserver {
public:
    // `path` must outlive the observer.
    FileObserver(TerminalReport& report, const std::string& path, std::uint64_t fileSize);

    void SetProgressRange(int, int upper) override { m_upper = upper; }
    void SetProgressPos(int pos) override;
    void Warn(std::string_view message) override { m_report.Warning(m_path, message); }
    // The file's bytes not yet added to the report's bar.
    std::uint64_t Unreported() const { return m_fileSize - m_reported; }

private:
    static constexpr std::uint64_t kStep = 64 * 1024;
    TerminalReport& m_report;
    const std::string& m_path;
    std::uint64_t m_fileSize;
    int m_upper = 0;
    std::uint64_t m_reported = 0;
};

// The size of the file at `path`; 0 when it cannot be told.
std::uint64_t FileSize(const std::string& path);

// What a file's result tells the user, once its PDF is in place or has failed.
void ReportResult(TerminalReport& report, const std::string& input, const ConversionResult& result);
