#pragma once
// The chart's pictures as files and on the printed page, for the window's exports,
// its printout and the command-line renderer alike. Every picture is the whole chart
// from the output entry (ChartOutput.h), at the size PictureSize.h gives, checked
// before anything is allocated or written.

#include "render/ChartOutput.h"
#include "pictures/PictureSize.h"
#include "storage/ByteSink.h"

#include <QImage>
#include <QSizeF>
#include <QString>

class QPainter;

enum class PictureFormat {
    Bmp,  // 24-bit Windows bitmap, white background, header band cut away unless drawn
    Png,  // the bitmap's pixels
    Emf,  // enhanced metafile: nothing fills the background, edges one pixel shorter
    Svg,  // the metafile's size and drawing, with real lines and text; sized in pixels
    Pdf,  // the same on one page of the picture's size (shrunk beyond 14,400 points)
};

// The bitmap's picture: white, drawn on the raster canvas, the chart moved up by row
// 0's height unless the picture has the header row. 8-bit grey when the chart is drawn
// in greys only, RGB32 otherwise. Throws PictureSizeError.
QImage bitmapPicture(const ChartPicture& picture);

// The picture's size in `format`.
PictureSize pictureSize(const ChartPicture& picture, PictureFormat format);

// Writes the picture's file to `sink`. Throws PictureSizeError, before anything is
// drawn or written, for a picture too large to make.
void writePicture(ByteSink& sink, const ChartPicture& picture, PictureFormat format);

// The bitmap's picture as SVG, for the flavours of one copy: the bitmap's size, the
// part of the chart it shows and its edges, with real lines and text. Throws
// PictureSizeError like writePicture.
void writeBitmapSvg(ByteSink& sink, const ChartPicture& picture);

// Writes the picture's file to `path`, all or nothing (see writeFileAtomically): the
// reason when it could not be made or written, none on success.
Reason savePictureFile(const QString& path, const ChartPicture& picture, PictureFormat format);

// Draws the chart on a printed page: at the printer's resolution over 96, lines and
// texts together, shrunk further to fit `printable` (device units, from the painter's
// origin) when larger. Throws PictureSizeError like the exports.
void paintChartPage(QPainter& painter, const ChartPicture& picture, double printerDpi, QSizeF printable);
