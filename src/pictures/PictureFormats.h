#pragma once
// The picture formats, as one table: the window's exports, the clipboard, the printout
// and the command line all go by it. Every picture is the whole chart from the output
// entry (ChartOutput.h), laid out for its format once, where its size is checked
// against the limits before anything is allocated or written. A new picture format is
// its writer and one row here.

#include "pictures/PictureSize.h"
#include "render/ChartOutput.h"
#include "storage/ByteSink.h"

#include <QImage>
#include <QSizeF>
#include <QString>

#include <string_view>
#include <vector>

class QPainter;

namespace solvena {

enum class PictureFormat {
    Bmp,  // 24-bit Windows bitmap, white background, header band cut away unless drawn
    Png,  // the bitmap's pixels
    Emf,  // enhanced metafile: nothing fills the background, edges one pixel shorter
    Svg,  // the metafile's size and drawing, with real lines and text; sized in pixels
    Pdf,  // the same on one page of the picture's size (shrunk beyond 14,400 points)
};

// A picture laid out for a format: what it shows and its size, within the limits.
struct LaidOutPicture {
    const ChartPicture& picture;
    PictureFormat format;
    PictureSize size;
};

struct PictureFormatRow {
    PictureFormat id;
    std::string_view name;    // "bmp": the extension and the command line's --format
    QString description;      // a save dialog's entry, "ビットマップ(*.bmp)"
    bool raster;              // pixels (the bitmap's), or real lines and text
    PictureSize (*size)(const ChartPicture& picture);
    void (*write)(ByteSink& sink, const LaidOutPicture& laidOut);

    QString extension() const;  // ".bmp"
    QString filter() const;     // the dialog's filter of this one format
};

const std::vector<PictureFormatRow>& pictureFormats();
const PictureFormatRow& pictureFormat(PictureFormat id);
// The format of a --format name or an extension ("png", "SVG"); none for others.
const PictureFormatRow* pictureFormatNamed(std::string_view name);

// Lays the picture out for `format`. Throws PictureSizeError for a picture beyond the
// limits: the one place its size is checked.
LaidOutPicture layOutPicture(const ChartPicture& picture, PictureFormat format);

// Writes the picture's file to `sink`.
void writePicture(ByteSink& sink, const LaidOutPicture& laidOut);
// Lays the picture out for `format`, then writes it.
void writePicture(ByteSink& sink, const ChartPicture& picture, PictureFormat format);

// Writes the picture's file to `path`, all or nothing (see writeFileAtomically): the
// reason when it could not be made or written, none on success.
Reason writePictureFile(const QString& path, const LaidOutPicture& laidOut);

// Bitmap and PNG files are drawn and written a band of rows at a time, each band at
// most this many bytes of pixels (at least one row): any picture within the limits
// takes no more memory than that.
inline constexpr int64_t kRasterBandBytes = int64_t{8} << 20;

// Writes a picture laid out for Bmp or Png drawn `bandRows` rows at a time: the same
// bytes whatever the band's height.
void writeRasterPicture(ByteSink& sink, const LaidOutPicture& bitmap, int bandRows);

// The bitmap's picture, laid out for Bmp or Png: white, drawn on the raster canvas,
// the chart moved up by row 0's height unless the picture has the header row. 8-bit
// grey when the chart is drawn in greys only, RGB32 otherwise.
QImage bitmapPicture(const LaidOutPicture& bitmap);

// The bitmap's picture (laid out for Bmp or Png) as SVG, for the flavours of one copy:
// the bitmap's size, the part of the chart it shows and its edges, with real lines
// and text.
void writeBitmapSvg(ByteSink& sink, const LaidOutPicture& bitmap);

// Draws the chart, laid out for a vector format, on a printed page: at the printer's
// resolution over 96, lines and texts together, shrunk further to fit `printable`
// (device units, from the painter's origin) when larger.
void paintChartPage(QPainter& painter, const LaidOutPicture& page, double printerDpi, QSizeF printable);

}  // namespace solvena
