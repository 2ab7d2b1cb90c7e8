// quillary [--nologo] [FILE...]: the window program. Files named on the command line are added
// to the file list; a second start hands them to the running window and ends, with status 1
// when that window did not answer.
#include "app/ConverterApp.h"
#include "app/DisplayCheck.h"

#include <QApplication>

#include <cstdio>
#include <string>
#include <vector>

int main(int argc, char** argv)
{
    const QString noDisplay = MissingDisplayMessage();
    if (!noDisplay.isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(noDisplay));
        return 1;
    }
    QApplication qtApp(argc, argv);
    // The arguments Qt left, as bytes: a file name need not be valid UTF-8.
    CConverterApp app(std::vector<std::string>(argv, argv + argc));
    if (!app.InitInstance())
        return app.ExitInstance();
    QApplication::exec();
    return app.ExitInstance();
}
