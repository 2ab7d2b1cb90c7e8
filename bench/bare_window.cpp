// The floor for the start-up figures: the least a Qt Widgets program does to show a window of
// the main window's size and title with a Help menu that Alt+H opens. bench/startup.sh times it
// beside the real program.
#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Quillary 2.1"));
    window.menuBar()->addMenu(QStringLiteral("&Help"))->addAction(QStringLiteral("&About"));
    window.resize(930, 565);
    window.show();
    return QApplication::exec();
}
