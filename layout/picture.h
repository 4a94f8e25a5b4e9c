#pragma once

#include <QImage>
#include <QPixmap>

namespace Picture {

// What the window shows, drawn by resources/make_pictures.py: the first
// frames of the tab pictures and of Image1's strip, and the window's icon.
enum Name { Tab0, Tab1, Image1, Icon };

// Built from the data the script writes (picturedata.h), with no picture
// reader: no plugin is looked for or loaded, and nothing is decoded. The
// transparent colour is clear.
QImage image(Name name);

inline QPixmap pixmap(Name name)
{
    return QPixmap::fromImage(image(name));
}

} // namespace Picture
