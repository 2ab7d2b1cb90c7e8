// quillary [--nologo] [FILE...]: the window program. Files named on the command line are added
// to the file list; a second start hands them to the running window and ends.
#include "app/ConverterApp.h"
#include "app/DisplayCheck.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char** argv)
{
    const QString noDisplay = MissingDisplayMessage();
    if (!noDisplay.isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(noDisplay));
        return 1;
    }
    QApplication qtApp(argc, argv);
    CConverterApp app(QApplication::arguments());
    if (!app.InitInstance())
        return 0;
    QApplication::exec();
    return app.ExitInstance();
}
