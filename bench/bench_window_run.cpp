// One run of Start Convert in the file-list pane over the files named on the command line, as
// the window runs it: prints its seconds and the process's peak resident memory, for
// bench/window-run.sh to set against quillary-convert on the same files. Run offscreen:
//   build/bench/bench_window_run FILE...
#include "app/LeftView.h"
#include "platform/ShellRequest.h"

#include <QApplication>
#include <QElapsedTimer>

#include <cstdio>
#include <sys/resource.h>

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    SetShellHandler([](const QString&, const QString&) { return SHELL_SUCCESS; });
    QStringList files;
    for (int i = 1; i < argc; ++i)
        files << QString::fromLocal8Bit(argv[i]);
    CLeftView pane;
    pane.resize(640, 700);
    pane.show();
    pane.AddEntries(files);
    QApplication::processEvents();
    QElapsedTimer timer;
    timer.start();
    pane.OnCommand(32781); // Start Convert
    const double seconds = timer.nsecsElapsed() / 1e9;
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("%.3f s, peak %ld MB\n", seconds, usage.ru_maxrss / 1024);
    return 0;
}
