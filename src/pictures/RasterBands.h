#pragma once
// A raster picture handed to a writer a band of rows at a time, so that a picture of
// any size is written in the memory of one band: the bitmap and PNG writers take their
// pixels this way, from an image held whole or from a chart drawn band by band.

#include <QImage>

#include <functional>

namespace solvena {

class RasterBands {
public:
    // A band and the picture's row its first row is.
    using Take = std::function<void(const QImage& band, int firstRow)>;

    virtual ~RasterBands() = default;
    virtual int width() const = 0;
    virtual int height() const = 0;
    // Bands of 8-bit grey; 32-bit RGB otherwise.
    virtual bool grey() const = 0;
    // Hands every band over in turn, the whole width each, from the top band down or
    // from the bottom band up. A band is valid only during its call.
    virtual void forEach(bool fromBottom, const Take& take) const = 0;
};

// An image held whole, as its only band.
class ImageBands final : public RasterBands {
public:
    explicit ImageBands(const QImage& image) : image_(image) {}
    int width() const override { return image_.width(); }
    int height() const override { return image_.height(); }
    bool grey() const override { return image_.format() == QImage::Format_Grayscale8; }
    void forEach(bool, const Take& take) const override { take(image_, 0); }

private:
    const QImage& image_;
};

}  // namespace solvena
