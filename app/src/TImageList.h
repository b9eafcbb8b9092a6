#pragma once

#include <QImage>
#include <QPixmap>
#include <QVector>

// A list of pictures of one size, shown by index (tile page, header, buttons).
// Add keeps the picture as given; the owner scales it to the list's size.
class TImageList {
public:
    TImageList(int width = 16, int height = 16) : width_(width), height_(height) {}

    int Width() const { return width_; }
    int Height() const { return height_; }
    // Setting the size empties the list, as it does on the UI platform.
    void SetSize(int width, int height);

    int Count() const { return images_.size(); }
    void Clear() { images_.clear(); }
    // Appends a picture and returns its index; a picture of another size is
    // scaled to the list's size.
    int Add(const QImage& image);
    // Null image for an index outside the list.
    QImage Image(int index) const;
    QPixmap Pixmap(int index) const { return QPixmap::fromImage(Image(index)); }

private:
    int width_;
    int height_;
    QVector<QImage> images_;
};
