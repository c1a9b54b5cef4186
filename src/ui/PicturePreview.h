#pragma once
// The preview of a save-picture dialog: the picture file under the cursor, scaled to
// fit, with its size in pixels, so that an existing picture about to be replaced can
// be recognised.

#include <QFrame>

class QFileDialog;
class QLabel;

namespace solvena {

class PicturePreview : public QFrame {
public:
    explicit PicturePreview(QWidget* parent = nullptr);

    // Puts a preview beside the file list of a dialog that uses Qt's own widgets,
    // showing the file the dialog has chosen and then the file under the cursor, each
    // with `extension` (".bmp"), as the export will write it.
    static PicturePreview* attachTo(QFileDialog& dialog, const QString& extension);

    // Shows `path`: a picture Qt reads (bitmap, PNG, SVG) scaled down, a metafile by
    // its size only; anything else, a folder or a file that is not regular, as nothing.
    void showFile(const QString& path);
    // "565 × 125" for the picture shown, empty for none.
    QString sizeText() const;

private:
    QLabel* picture_;
    QLabel* size_;
};

}  // namespace solvena
