#include "pictures/VectorPicture.h"

#include "Version.h"
#include "render/PdfCanvas.h"
#include "pictures/PictureSize.h"
#include "render/SvgCanvas.h"

#include <string>

namespace solvena {

void writeSvg(ByteSink& sink, const ChartPicture& picture, const VectorFrame& frame)
{
    SvgCanvas canvas(sink, frame.size, frame.top);
    drawWholeChart(canvas, picture, frame.edges);
    canvas.finish();
}

void writePdf(ByteSink& sink, const ChartPicture& picture, const VectorFrame& frame)
{
    const PdfPage page = pdfPage({frame.size.width(), frame.size.height()});
    PdfCanvas canvas({page.width, page.height, 0.75 * page.scale, frame.top},
                     "solvena " + std::string(kSolvenaVersion));
    drawWholeChart(canvas, picture, frame.edges);
    canvas.finish(sink);
}

}  // namespace solvena
