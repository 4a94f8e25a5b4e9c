#pragma once

#include <QByteArray>
#include <QImage>
#include <QPixmap>
#include <QString>

namespace Picture {

// The first frame of a GIF picture as a still image, its transparent colour
// clear. Null for what this small reader does not take (an interlaced first
// frame, one that does not cover the whole picture, damaged data).
QImage firstFrame(const QByteArray &gif);

// The first frame of the GIF picture in a file or resource. Read by the reader
// above, so that no picture plugin is looked for or loaded at start-up; Qt's
// own reader takes whatever that one does not.
QPixmap load(const QString &path);

} // namespace Picture
