#include "cli/CombineRun.h"

#include "cli/BatchRun.h"
#include "cli/FileObserver.h"
#include "conversion/CheckOptions.h"
#include "conversion/CombineFiles.h"

#include <optional>
#include <unistd.h>
#include <vector>

namespace {

// More names than this make the closing list longer than the errors above it.
constexpr std::size_t kMostListedNames = 20;

// Each file's progress and warnings go to the report through a FileObserver of its own.
class CombineReport : public CombineObserver {
public:
    CombineReport(TerminalReport& report, const std::vector<std::string>& inputs) : m_report(report), m_inputs(inputs)
    {
    }

    std::optional<std::string> FileStarting(std::size_t index) override
    {
        m_file.emplace(m_report, m_inputs[index], FileSize(m_inputs[index]));
        return std::nullopt;
    }
    void FileDone(std::size_t index, const ConversionResult& result) override
    {
        m_report.AddBytes(m_file->Unreported());
        ReportResult(m_report, m_inputs[index], result);
        if (!result.written)
            m_leftOut.push_back(m_inputs[index]);
    }
    bool StopAsked() const override { return false; }
    void SetProgressRange(int lower, int upper) override { m_file->SetProgressRange(lower, upper); }
    void SetProgressPos(int pos) override { m_file->SetProgressPos(pos); }
    void Warn(std::string_view message) override { m_file->Warn(message); }

    const std::vector<std::string>& LeftOut() const { return m_leftOut; }

private:
    TerminalReport& m_report;
    const std::vector<std::string>& m_inputs;
    std::optional<FileObserver> m_file;
    std::vector<std::string> m_leftOut;
};

std::string LeftOutList(const std::vector<std::string>& leftOut, std::size_t inputCount)
{
    std::string names;
    for (std::size_t i = 0; i < leftOut.size() && i < kMostListedNames; ++i)
        names += (i ? ", " : "") + leftOut[i];
    if (leftOut.size() > kMostListedNames)
        names += " and " + std::to_string(leftOut.size() - kMostListedNames) + " more";
    return std::to_string(leftOut.size()) + " of " + std::to_string(inputCount) +
           " files were left out of the combined PDF (see above): " + names;
}

} // namespace

int RunCombine(const CommandLine& commandLine, TerminalReport& report)
{
    if (const auto problem = CheckOptions(commandLine.options, commandLine.ownerPassword, commandLine.userPassword)) {
        report.Refused(*problem);
        return kUsageStatus;
    }
    const std::string& output = commandLine.combineInto;
    if (output != kStandardStreams)
        if (const auto problem = CombinedOutputProblem(commandLine.files, output)) {
            report.Error(output, *problem);
            return 1;
        }
    CombineReport files(report, commandLine.files);
    const ConversionResult result =
        output == kStandardStreams
            ? CombineFilesTo(commandLine.options, commandLine.files, commandLine.ownerPassword,
                             commandLine.userPassword, STDOUT_FILENO, files)
            : CombineFilesInto(commandLine.options, commandLine.files, commandLine.ownerPassword,
                               commandLine.userPassword, output, files);
    const std::string shownOutput = output == kStandardStreams ? "(standard output)" : output;
    if (!files.LeftOut().empty())
        report.Error(shownOutput, LeftOutList(files.LeftOut(), commandLine.files.size()));
    for (const std::string& note : result.notes)
        report.Warning(shownOutput, note);
    if (!result.written) {
        report.Error(shownOutput, result.reason);
        // The files that went in reached no PDF.
        report.CountConvertedAsFailed();
    }
    return result.written && files.LeftOut().empty() ? 0 : 1;
}
