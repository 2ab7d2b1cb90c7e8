#pragma once
// Gallery pages register themselves at start-up, one source file per page, so that a new
// control is shown by adding one file.
#include <QString>

#include <functional>
#include <vector>

class QWidget;

struct GalleryPage {
    QString title;
    std::function<QWidget*()> make;
};

std::vector<GalleryPage>& GalleryPages();

struct GalleryPageRegistration {
    GalleryPageRegistration(const QString& title, std::function<QWidget*()> make)
    {
        GalleryPages().push_back({title, std::move(make)});
    }
};
