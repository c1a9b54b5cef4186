#include "ui/PicturePreview.h"

#include "storage/PathExtension.h"

#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QImageReader>
#include <QLabel>
#include <QVBoxLayout>

#include <limits>
#include <optional>

namespace solvena {

using namespace Qt::StringLiterals;

namespace {

constexpr int kSide = 160;
// Larger files are not previewed: reading them would stall the dialog.
constexpr qint64 kMaxPreviewBytes = 64 * 1024 * 1024;

uint32_t little32(const QByteArray& bytes, int at)
{
    return uint8_t(bytes[at]) | uint32_t(uint8_t(bytes[at + 1])) << 8 |
           uint32_t(uint8_t(bytes[at + 2])) << 16 | uint32_t(uint8_t(bytes[at + 3])) << 24;
}

// An enhanced metafile's size in pixels, from the bounds in its header; none for
// bounds no picture can have (empty, or a side beyond what a size holds).
std::optional<QSize> metafileSize(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray header = file.read(88);
    if (header.size() < 88 || little32(header, 0) != 1 || little32(header, 40) != 0x464D4520u)
        return std::nullopt;
    const auto left = int32_t(little32(header, 8));
    const auto top = int32_t(little32(header, 12));
    const auto right = int32_t(little32(header, 16));
    const auto bottom = int32_t(little32(header, 20));
    const int64_t width = int64_t{right} - left + 1;
    const int64_t height = int64_t{bottom} - top + 1;
    constexpr int64_t kLargest = std::numeric_limits<int>::max();
    if (width < 1 || height < 1 || width > kLargest || height > kLargest)
        return std::nullopt;
    return QSize(int(width), int(height));
}

}  // namespace

PicturePreview::PicturePreview(QWidget* parent)
    : QFrame(parent), picture_(new QLabel(this)), size_(new QLabel(this))
{
    setObjectName(u"picturePreview"_s);
    setFrameShape(QFrame::StyledPanel);
    picture_->setAlignment(Qt::AlignCenter);
    picture_->setFixedSize(kSide, kSide);
    size_->setAlignment(Qt::AlignCenter);
    auto* column = new QVBoxLayout(this);
    column->addWidget(picture_);
    column->addWidget(size_);
    column->addStretch(1);
}

PicturePreview* PicturePreview::attachTo(QFileDialog& dialog, const QString& extension)
{
    auto* grid = qobject_cast<QGridLayout*>(dialog.layout());
    if (!grid)  // a native dialog: it has a preview of its own, or none
        return nullptr;
    auto* preview = new PicturePreview(&dialog);
    grid->addWidget(preview, 0, grid->columnCount(), grid->rowCount(), 1);
    // Room for the preview without squeezing the list's columns.
    dialog.resize(dialog.sizeHint().width() + preview->sizeHint().width(), dialog.sizeHint().height());
    const auto show = [preview, extension](const QString& path) {
        preview->showFile(QString::fromStdString(replaceExtension(path.toStdString(), extension.toStdString())));
    };
    QObject::connect(&dialog, &QFileDialog::currentChanged, preview, show);
    // The file the dialog opens with, until the cursor moves.
    if (!dialog.selectedFiles().isEmpty())
        show(dialog.selectedFiles().constFirst());
    return preview;
}

void PicturePreview::showFile(const QString& path)
{
    picture_->clear();
    size_->clear();
    const QFileInfo info(path);
    // Only regular files: a FIFO or a device would block the dialog.
    if (!info.isFile() || info.size() > kMaxPreviewBytes)
        return;
    if (info.suffix().compare(u"emf"_s, Qt::CaseInsensitive) == 0) {
        if (const std::optional<QSize> size = metafileSize(path)) {
            picture_->setText(u"プレビューなし"_s);
            size_->setText(u"%1 × %2"_s.arg(size->width()).arg(size->height()));
        }
        return;
    }
    QImageReader reader(path);
    const QSize size = reader.size();
    if (!size.isValid())
        return;
    const QImage image = reader.read();
    if (image.isNull())
        return;
    const QSize shown = size.width() > kSide || size.height() > kSide
                            ? size.scaled(kSide, kSide, Qt::KeepAspectRatio)
                            : size;
    picture_->setPixmap(QPixmap::fromImage(
        image.scaled(shown.expandedTo(QSize(1, 1)), Qt::IgnoreAspectRatio, Qt::SmoothTransformation)));
    size_->setText(u"%1 × %2"_s.arg(size.width()).arg(size.height()));
}

QString PicturePreview::sizeText() const
{
    return size_->text();
}

}  // namespace solvena
