#include "cli/BatchRun.h"

#include "cli/FileObserver.h"
#include "conversion/CheckOptions.h"
#include "conversion/FileConverter.h"
#include "conversion/OutputPath.h"
#include "platform/CommitPool.h"
#include "platform/SystemMessage.h"

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <map>
#include <system_error>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

// One input of the call and the PDF it writes (none for the standard input, whose PDF goes to
// the standard output). When an input that comes earlier on the command
// line writes the same PDF, this one is not converted, so that the result does not depend on
// which job finishes last.
struct BatchJob {
    std::string input;
    std::string output;
    std::string earlierInput;
};

std::vector<BatchJob> PlanJobs(const CommandLine& commandLine)
{
    std::vector<BatchJob> jobs;
    std::map<std::filesystem::path, std::string> firstInputOf;
    for (const std::string& input : commandLine.files) {
        if (input == kStandardStreams) {
            jobs.push_back({input, {}, {}});
            continue;
        }
        BatchJob job{input, BatchOutputPath(input, commandLine.outputDirectory), {}};
        std::error_code ignored;
        const auto [first, inserted] =
            firstInputOf.emplace(std::filesystem::absolute(job.output, ignored).lexically_normal(), input);
        if (!inserted)
            job.earlierInput = first->second;
        jobs.push_back(std::move(job));
    }
    return jobs;
}

void ConvertOne(const CommandLine& commandLine, const BatchJob& job, CommitPool& pool, TerminalReport& report)
{
    if (!job.earlierInput.empty()) {
        report.Error(job.input, "Not converted, because \"" + job.earlierInput + "\" before it writes the same PDF \"" +
                                    job.output + "\".");
        report.FileDone(0, false);
        return;
    }
    const ConversionOptions& options = commandLine.options;
    if (job.input == kStandardStreams) {
        FileObserver observer(report, job.input, 0);
        ReportResult(report, job.input,
               ConvertStream(options, STDIN_FILENO, commandLine.ownerPassword, commandLine.userPassword,
                             STDOUT_FILENO, observer));
        return;
    }
    FileObserver observer(report, job.input, FileSize(job.input));
    ConvertFileThrough(options, job.input, commandLine.ownerPassword, commandLine.userPassword, job.output, observer,
                       pool, [&report, &job](const ConversionResult& result) { ReportResult(report, job.input, result); });
    report.AddBytes(observer.Unreported());
}

// A system out of threads (a process limit) leaves the batch to the helpers already started.
template <typename Work>
bool StartHelper(std::vector<std::jthread>& helpers, const Work& work)
{
    try {
        helpers.emplace_back(work);
        return true;
    } catch (const std::system_error&) {
        return false;
    }
}

} // namespace

std::string BatchOutputPath(const std::string& input, const std::string& outputDirectory)
{
    const std::string pdf = OutputPathFor(input);
    if (outputDirectory.empty())
        return pdf;
    return (std::filesystem::path(outputDirectory) / std::filesystem::path(pdf).filename()).string();
}

int RunBatch(const CommandLine& commandLine, TerminalReport& report)
{
    if (const auto problem = CheckOptions(commandLine.options, commandLine.ownerPassword, commandLine.userPassword)) {
        report.Refused(*problem);
        return kUsageStatus;
    }
    if (!commandLine.outputDirectory.empty()) {
        std::error_code error;
        std::filesystem::create_directories(commandLine.outputDirectory, error);
        if (error) {
            for (const std::string& input : commandLine.files) {
                report.Error(input, "Cannot create the output folder \"" + commandLine.outputDirectory +
                                        "\": " + SystemMessage(error.value()) + ".");
                report.FileDone(0, false);
            }
            return 1;
        }
    }
    const std::vector<BatchJob> jobs = PlanJobs(commandLine);
    CommitPool pool(kCommitThreads);
    std::atomic<std::size_t> next{0};
    const auto work = [&] {
        for (std::size_t i; (i = next++) < jobs.size();)
            ConvertOne(commandLine, jobs[i], pool, report);
    };
    std::vector<std::jthread> helpers;
    const std::size_t threads = std::min<std::size_t>(std::size_t(commandLine.jobs), commandLine.files.size());
    for (std::size_t i = 1; i < threads; ++i) {
        if (!StartHelper(helpers, work))
            break;
    }
    work();
    helpers.clear();
    pool.Wait();
    return report.Failed() == 0 ? 0 : 1;
}
