// quillary-gallery [page-title]: every control on a tab of its own; with a title, that tab is
// opened first, so that a screenshot can be taken of any page.
#include "GalleryPages.h"

#include "platform/ControlFonts.h"

#include <QApplication>
#include <QTabWidget>

std::vector<GalleryPage>& GalleryPages()
{
    static std::vector<GalleryPage> pages;
    return pages;
}

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    // Every window uses the controls' font, as the program's windows do.
    const ControlFonts fonts;
    QApplication::setFont(ControlFonts::Normal());
    QTabWidget tabs;
    tabs.setWindowTitle("Quillary controls");
    for (const GalleryPage& page : GalleryPages()) {
        const int index = tabs.addTab(page.make(), page.title);
        if (argc > 1 && page.title == QString::fromLocal8Bit(argv[1]))
            tabs.setCurrentIndex(index);
    }
    tabs.resize(1000, 700);
    tabs.move(0, 0);
    tabs.show();
    return app.exec();
}
