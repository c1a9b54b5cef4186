// Files dropped onto the window open as Open opens them. The drop itself only takes
// the names: the save question and the loading come once the drag has ended, so the
// program the file came from is not held waiting behind a message box.

#include "ui/uMain.h"

#include "formats/ChartFormats.h"

#include <QApplication>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QUrl>

namespace solvena {

using namespace Qt::StringLiterals;

namespace {

// The local files a drag carries; none when anything in it is not a local file.
QStringList localFiles(const QMimeData* mime)
{
    QStringList files;
    if (!mime || !mime->hasUrls())
        return files;
    for (const QUrl& url : mime->urls()) {
        if (!url.isLocalFile())
            return {};
        files << url.toLocalFile();
    }
    return files;
}

// A drop under an open dialog would change the chart the dialog is about.
bool dialogOpen()
{
    return QApplication::activeModalWidget() != nullptr;
}

}  // namespace

void TfrmMain::dragEnterEvent(QDragEnterEvent* event)
{
    // Taken whatever it holds, so that the drop can say why it is refused.
    if (!dialogOpen() && !localFiles(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void TfrmMain::dropEvent(QDropEvent* event)
{
    const QStringList files = localFiles(event->mimeData());
    if (dialogOpen() || files.isEmpty())
        return;
    event->acceptProposedAction();
    QMetaObject::invokeMethod(
        this, [this, files] { runGuarded([&] { openDroppedFiles(files); }); }, Qt::QueuedConnection);
}

void TfrmMain::openDroppedFiles(const QStringList& paths)
{
    if (paths.size() != 1) {
        prompts().warning(u"開けるのは一度に 1 つのファイルだけです"_s);
        return;
    }
    const QString& path = paths.front();
    if (QFileInfo(path).isDir()) {
        prompts().warning(u"%1 はフォルダです。開けるのはファイルだけです"_s.arg(QDir::toNativeSeparators(path)));
        return;
    }
    if (!chartFormatOfPath(path)) {
        prompts().warning(u"%1 は開ける形式のファイルではありません"_s.arg(QDir::toNativeSeparators(path)));
        return;
    }
    openNamedFile(path);
}

}  // namespace solvena
