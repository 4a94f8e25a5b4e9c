#include "picture.h"

#include "picturedata.h"

namespace Picture {

QImage image(Name name)
{
    static constexpr const PictureData::Frame *frames[] = {
        &PictureData::tab0, &PictureData::tab1, &PictureData::image1, &PictureData::icon };
    const PictureData::Frame &frame = *frames[name];
    QImage image(frame.pixels, frame.width, frame.height, frame.width, QImage::Format_Indexed8);
    image.setColorTable(QList<QRgb>(frame.colours, frame.colours + frame.colourCount));
    return image;
}

} // namespace Picture
