// How the file-list pane keeps up with many files and large ones: Import Directory's search and
// rows for 1,000 and 10,000 files; runs in the window (1,000 small files, one 10 MB file) against
// quillary-convert -j 1 on the same files, with the longest stall of the GUI thread during each
// run; and a click on a 100 MB file until its preview is painted. Each timing is the best of three, each run writing new PDFs after a sync. Run offscreen; the files are made under
// $TMPDIR (default /tmp), so TMPDIR=/dev/shm measures without a disk:
//   build/bench/bench_panes
#include "app/LeftView.h"
#include "controls/PreviewEdit.h"
#include "grid/GridCtrl.h"
#include "app/TextFileSearch.h"
#include "platform/ShellRequest.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QMouseEvent>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <random>
#include <unistd.h>

namespace {

QByteArray Prose(qsizetype bytes, std::mt19937& random)
{
    static const char* const words[] = {"the", "converter", "turns", "plain", "text", "into", "pages", "of",
                                        "a", "document", "with", "margins", "and", "lines", "that", "wrap"};
    QByteArray text;
    while (text.size() < bytes) {
        text += words[random() % std::size(words)];
        text += random() % 12 == 0 ? '\n' : ' ';
    }
    return text;
}

void WriteFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
}

QStringList MakeFiles(const QString& folder, int count, qsizetype bytes, int subfolders)
{
    std::mt19937 random(7);
    QStringList paths;
    for (int i = 0; i < count; ++i) {
        const QString sub = QString("%1/d%2").arg(folder).arg(i % subfolders, 3, 10, QChar('0'));
        QDir().mkpath(sub);
        paths << QString("%1/f%2.txt").arg(sub).arg(i, 5, 10, QChar('0'));
        WriteFile(paths.back(), Prose(bytes, random));
    }
    return paths;
}

// Import Directory once the folder is chosen: the search and a row per file, painted.
double ImportSeconds(const QString& folder)
{
    CLeftView pane;
    pane.resize(640, 700);
    pane.show();
    QApplication::processEvents();
    QElapsedTimer timer;
    timer.start();
    const TextFileSearchResult found = FindTextFiles(folder.toStdString());
    QStringList paths;
    paths.reserve(qsizetype(found.files.size()));
    for (const std::string& path : found.files)
        paths << QString::fromStdString(path);
    pane.AddEntries(paths);
    pane.repaint();
    return timer.nsecsElapsed() / 1e9;
}

// Every run writes its PDFs afresh: replacing a file costs some file systems more than making one.
void PrepareRun(const QStringList& files)
{
    for (const QString& file : files)
        QFile::remove(file.chopped(3) + "pdf");
    sync();
}

double CommandLineSeconds(const QString& convert, const QStringList& files)
{
    double best = 1e9;
    for (int i = 0; i < 3; ++i) {
        PrepareRun(files);
        QElapsedTimer timer;
        timer.start();
        QProcess::execute(convert, QStringList{"-j", "1", "-q"} + files);
        best = std::min(best, timer.nsecsElapsed() / 1e9);
    }
    return best;
}

struct WindowRun {
    double seconds = 1e9;
    double longestStallMs = 0;
};

// Start Convert in the pane, best of three, with a 5 ms timer measuring how late the event loop
// serves it.
WindowRun WindowSeconds(const QStringList& files)
{
    CLeftView pane;
    pane.resize(640, 700);
    pane.show();
    pane.AddEntries(files);
    QApplication::processEvents();
    WindowRun result;
    for (int i = 0; i < 3; ++i) {
        QElapsedTimer sinceTick;
        double longest = 0;
        QTimer ticker;
        ticker.setInterval(5);
        QObject::connect(&ticker, &QTimer::timeout, [&] {
            longest = std::max(longest, sinceTick.nsecsElapsed() / 1e6 - 5);
            sinceTick.restart();
        });
        PrepareRun(files);
        QElapsedTimer timer;
        timer.start();
        sinceTick.start();
        ticker.start();
        pane.OnCommand(32781); // Start Convert
        ticker.stop();
        result.seconds = std::min(result.seconds, timer.nsecsElapsed() / 1e9);
        result.longestStallMs = std::max(result.longestStallMs, longest);
    }
    return result;
}

void CompareRuns(const char* name, const QString& convert, const QStringList& files)
{
    const double cli = CommandLineSeconds(convert, files);
    const WindowRun window = WindowSeconds(files);
    std::printf("%-24s window %.3f s, quillary-convert -j 1 %.3f s, ratio %.2f; longest GUI stall %.1f ms\n", name,
                window.seconds, cli, window.seconds / cli, window.longestStallMs);
}

// A click on a file's row until its preview is painted.
double PreviewMilliseconds(const QString& file)
{
    CLeftView pane;
    pane.resize(640, 700);
    pane.show();
    pane.AddEntries({file});
    QApplication::processEvents();
    QRect cell;
    pane.GetGrid()->GetCellRect(1, 1, cell);
    QElapsedTimer timer;
    timer.start();
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        QMouseEvent click(type, cell.center(), pane.GetGrid()->viewport()->mapToGlobal(cell.center()), Qt::LeftButton,
                          type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(pane.GetGrid()->viewport(), &click);
    }
    pane.GetPreview()->repaint();
    return timer.nsecsElapsed() / 1e6;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    SetShellHandler([](const QString&, const QString&) { return SHELL_SUCCESS; });
    const QString convert = QCoreApplication::applicationDirPath() + "/../cli/quillary-convert";
    QTemporaryDir scratch;

    double perRow[2] = {};
    const int counts[2] = {1000, 10000};
    for (int i = 0; i < 2; ++i) {
        const QString folder = scratch.filePath(QString("import%1").arg(counts[i]));
        MakeFiles(folder, counts[i], 100, counts[i] / 100);
        const double seconds = ImportSeconds(folder);
        perRow[i] = seconds / counts[i];
        std::printf("Import Directory, %5d files: %.3f s, %.1f us per row\n", counts[i], seconds, perRow[i] * 1e6);
    }
    std::printf("cost per row, 10,000 / 1,000 files: %.2f\n", perRow[1] / perRow[0]);

    CompareRuns("1,000 files of 2 KB:", convert, MakeFiles(scratch.filePath("small"), 1000, 2000, 1));
    CompareRuns("one file of 10 MB:", convert, MakeFiles(scratch.filePath("large"), 1, 10 << 20, 1));
    const QString lines = scratch.filePath("preview-lines.txt");
    const QString oneLine = scratch.filePath("preview-one-line.txt");
    std::mt19937 random(7);
    QByteArray prose = Prose(1 << 20, random);
    QFile linesFile(lines), oneLineFile(oneLine);
    if (linesFile.open(QIODevice::WriteOnly) && oneLineFile.open(QIODevice::WriteOnly)) {
        for (int i = 0; i < 100; ++i) {
            linesFile.write(prose);
            oneLineFile.write(QByteArray(prose).replace('\n', ' '));
        }
    }
    linesFile.close();
    oneLineFile.close();
    std::printf("preview of a 100 MB file: lines %.1f ms, a single line %.1f ms\n", PreviewMilliseconds(lines),
                PreviewMilliseconds(oneLine));
    return 0;
}
