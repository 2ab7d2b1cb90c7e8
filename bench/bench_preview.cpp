// How long the preview box keeps the window busy when a large file is shown: replacing the
// text, painting the first screen, and jumping to the end. Run offscreen:
//   build/bench/bench_preview [megabytes]
#include "controls/PreviewEdit.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>

#include <cstdio>
#include <cstdlib>

namespace {

QString Prose(qsizetype bytes, bool withLineEnds)
{
    const QString line = QStringLiteral("The quick brown fox jumps over the lazy dog again and again. ");
    QString text;
    text.reserve(bytes + line.size());
    while (text.size() < bytes) {
        text += line;
        if (withLineEnds)
            text += QLatin1Char('\n');
    }
    return text;
}

double Milliseconds(QElapsedTimer& timer)
{
    const double ms = timer.nsecsElapsed() / 1e6;
    timer.restart();
    return ms;
}

void Measure(const char* name, const QString& text)
{
    CPreviewEdit edit;
    edit.resize(800, 400);
    edit.show();
    QApplication::processEvents();
    QElapsedTimer timer;
    timer.start();
    edit.setPlainText(text);
    const double set = Milliseconds(timer);
    edit.grab();
    const double paint = Milliseconds(timer);
    QKeyEvent end(QEvent::KeyPress, Qt::Key_End, Qt::ControlModifier);
    QApplication::sendEvent(&edit, &end);
    edit.grab();
    const double toEnd = Milliseconds(timer);
    std::printf("%-28s %6.1f MB  set %7.1f ms  first paint %7.1f ms  Ctrl+End and paint %7.1f ms\n", name,
                text.size() / 1048576.0, set, paint, toEnd);
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const qsizetype megabytes = argc > 1 ? std::atoi(argv[1]) : 8;
    Measure("lines of 62 characters", Prose(megabytes * 1048576, true));
    Measure("one line, no line ends", Prose(megabytes * 1048576, false));
    return 0;
}
