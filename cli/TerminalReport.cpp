#include "cli/TerminalReport.h"

#include "cli/CommandLine.h"
#include "cli/ShellQuote.h"

#include <utility>

namespace {

constexpr int kBarWidth = 30;

std::string Megabytes(std::uint64_t bytes)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.1f MB", double(bytes) / 1e6);
    return text;
}

} // namespace

TerminalReport::TerminalReport(std::FILE* out, bool quiet, bool showBar, std::size_t totalFiles,
                               std::uint64_t totalBytes, std::chrono::milliseconds redrawInterval)
    : m_out(out), m_quiet(quiet), m_showBar(showBar && !quiet), m_totalFiles(totalFiles), m_totalBytes(totalBytes),
      m_redrawInterval(redrawInterval)
{
}

void TerminalReport::Warning(const std::string& path, std::string_view text)
{
    if (m_quiet)
        return;
    std::lock_guard lock(m_mutex);
    PrintLine("warning: " + ShellQuoted(path) + ": " + EscapedControls(text));
}

void TerminalReport::Error(const std::string& path, std::string_view reason)
{
    std::lock_guard lock(m_mutex);
    PrintLine("error: " + ShellQuoted(path) + ": " + EscapedControls(reason));
}

void TerminalReport::Refused(std::string_view reason)
{
    std::lock_guard lock(m_mutex);
    std::fputs(UsageErrorText(EscapedControls(reason)).c_str(), m_out);
}

void TerminalReport::AddBytes(std::uint64_t bytes)
{
    std::lock_guard lock(m_mutex);
    m_bytesDone += bytes;
    DrawBar(false);
}

void TerminalReport::FileDone(std::uint64_t bytes, bool written)
{
    std::lock_guard lock(m_mutex);
    ++(written ? m_converted : m_failed);
    m_bytesDone += bytes;
    DrawBar(m_converted + m_failed == m_totalFiles);
}

void TerminalReport::CountConvertedAsFailed()
{
    std::lock_guard lock(m_mutex);
    m_failed += std::exchange(m_converted, 0);
}

void TerminalReport::Summary()
{
    std::lock_guard lock(m_mutex);
    ClearBar();
    if (!m_quiet)
        std::fprintf(m_out, "%zu converted, %zu failed\n", m_converted, m_failed);
    std::fflush(m_out);
}

void TerminalReport::PrintLine(const std::string& line)
{
    ClearBar();
    std::fprintf(m_out, "%s\n", line.c_str());
    DrawBar(true);
}

void TerminalReport::DrawBar(bool force)
{
    if (!m_showBar)
        return;
    const auto now = std::chrono::steady_clock::now();
    if (!force && now - m_lastDraw < m_redrawInterval)
        return;
    m_lastDraw = now;
    const std::size_t done = m_converted + m_failed;
    const int filled = m_totalFiles ? int(kBarWidth * done / m_totalFiles) : kBarWidth;
    const double seconds = std::chrono::duration<double>(now - m_start).count();
    const double rate = seconds > 0 ? double(m_bytesDone) / seconds : 0;
    std::fprintf(m_out, "\r[%s%s] %zu/%zu files  %s of %s  %s/s ", std::string(filled, '#').c_str(),
                 std::string(kBarWidth - filled, '.').c_str(), done, m_totalFiles, Megabytes(m_bytesDone).c_str(),
                 Megabytes(m_totalBytes).c_str(), Megabytes(std::uint64_t(rate)).c_str());
    std::fflush(m_out);
    m_barShown = true;
}

void TerminalReport::ClearBar()
{
    if (!m_barShown)
        return;
    std::fprintf(m_out, "\r\033[K");
    m_barShown = false;
}
