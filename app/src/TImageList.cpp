#include "TImageList.h"

void TImageList::SetSize(int width, int height)
{
    width_ = width;
    height_ = height;
    images_.clear();
}

int TImageList::Add(const QImage& image)
{
    QImage img = image.convertToFormat(QImage::Format_ARGB32);
    if (img.width() != width_ || img.height() != height_)
        img = img.scaled(width_, height_, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    images_.push_back(img);
    return images_.size() - 1;
}

QImage TImageList::Image(int index) const
{
    if (index < 0 || index >= images_.size())
        return QImage();
    return images_[index];
}
