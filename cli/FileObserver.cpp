#include "cli/FileObserver.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

FileObserver::FileObserver(TerminalReport& report, const std::string& path, std::uint64_t fileSize)
    : m_report(report), m_path(path), m_fileSize(fileSize)
{
}

void FileObserver::SetProgressPos(int pos)
{
    if (m_upper <= 0 || pos <= 0)
        return;
    const std::uint64_t done = std::min(m_fileSize, m_fileSize * std::uint64_t(pos) / std::uint64_t(m_upper));
    if (done >= m_reported + kStep) {
        m_report.AddBytes(done - m_reported);
        m_reported = done;
    }
}

std::uint64_t FileSize(const std::string& path)
{
    std::error_code error;
    const auto size = std::filesystem::file_size(path, error);
    return error ? 0 : size;
}

void ReportResult(TerminalReport& report, const std::string& input, const ConversionResult& result)
{
    for (const std::string& note : result.notes)
        report.Warning(input, note);
    if (!result.written)
        report.Error(input, result.reason);
    report.FileDone(0, result.written);
}
