#pragma once
// What quillary-convert tells the user on standard error: warnings and errors per file, a
// progress bar when standard error is a terminal, and the closing summary. File names are
// printed shell-quoted when they hold control characters, and control characters in messages
// as escapes, so that no name forges a line or drives the terminal. Safe to call from several
// conversion threads at once.
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <mutex>
#include <string>
#include <string_view>

class TerminalReport {
public:
    // The bar is drawn again at most once per `redrawInterval`, and whenever a line is printed.
    TerminalReport(std::FILE* out, bool quiet, bool showBar, std::size_t totalFiles, std::uint64_t totalBytes,
                   std::chrono::milliseconds redrawInterval = std::chrono::milliseconds(100));

    void Warning(const std::string& path, std::string_view text);
    void Error(const std::string& path, std::string_view reason);
    // Options that would fail every file: one message, and no summary follows.
    void Refused(std::string_view reason);
    // Bytes of input done within a file that is still being converted.
    void AddBytes(std::uint64_t bytes);
    // The end of a file, with the bytes of it not yet added.
    void FileDone(std::uint64_t bytes, bool written);
    // "N converted, M failed", unless quiet; also clears the bar.
    // The files counted as converted went into a PDF that was not written after all.
    void CountConvertedAsFailed();
    void Summary();

    std::size_t Failed() const { return m_failed; }

private:
    void PrintLine(const std::string& line);
    void DrawBar(bool force);
    void ClearBar();

    std::FILE* m_out;
    bool m_quiet;
    bool m_showBar;
    std::size_t m_totalFiles;
    std::uint64_t m_totalBytes;
    std::chrono::milliseconds m_redrawInterval;
    std::size_t m_converted = 0;
    std::size_t m_failed = 0;
    std::uint64_t m_bytesDone = 0;
    bool m_barShown = false;
    std::chrono::steady_clock::time_point m_start = std::chrono::steady_clock::now();
    std::chrono::steady_clock::time_point m_lastDraw{};
    std::mutex m_mutex;
};
