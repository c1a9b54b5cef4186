// The recent files: the charts opened or saved last, in a submenu of ファイル. The
// list lives in the user's preferences file and is read again whenever the menu
// opens and changed there at once, so editors running side by side share it: each
// change is made to the list the file holds at that moment, and the last editor to
// write keeps what the others added.

#include "ui/uMain.h"

#include "storage/PreferencesIO.h"
#include "storage/RecentFiles.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QMenu>

#include <algorithm>

namespace solvena {

using namespace Qt::StringLiterals;

void TfrmMain::createRecentMenu()
{
    auto* recent = new QMenu(commandInfo(CommandId::mnuRecent).caption, this);
    recent->setObjectName(u"mnuRecent"_s);
    recent->menuAction()->setObjectName(u"mnuRecent"_s);
    commands_[CommandId::mnuRecent] = recent->menuAction();
    menus_["mnuRecent"] = recent;
    connect(recent, &QMenu::aboutToShow, this, &TfrmMain::refreshRecentMenu);
}

void TfrmMain::refreshRecentMenu()
{
    QMenu* recent = menu("mnuRecent");
    // The entries of the last showing go; "一覧を消去" belongs to the window and stays.
    QAction* clear = command(CommandId::mnuClearRecent);
    for (QAction* entry : recent->actions()) {
        recent->removeAction(entry);
        if (entry != clear && entry->parent() == recent)
            entry->deleteLater();
    }
    const std::vector<std::string> files = recentFiles();
    for (size_t i = 0; i < files.size(); ++i) {
        const QString path = QString::fromStdString(files[i]);
        auto* entry = new QAction(u"&%1 %2"_s.arg(i + 1).arg(QDir::toNativeSeparators(path).replace(u'&', u"&&"_s)),
                                  recent);
        connect(entry, &QAction::triggered, this, [this, path] { runGuarded([&] { openRecentFile(path); }); });
        recent->addAction(entry);
    }
    recent->addSeparator();
    recent->addAction(clear);
    clear->setEnabled(!files.empty());
}

std::vector<std::string> TfrmMain::recentFiles()
{
    // A file that cannot be read leaves the list the window keeps as it is.
    if (const std::optional<std::string> bytes = readPreferencesFile(preferences_.file))
        recentFiles_ = readRecentFiles(*bytes);
    return recentFiles_;
}

void TfrmMain::updateRecentFiles(const std::function<void(std::vector<std::string>&)>& change)
{
    if (preferences_.file.isEmpty()) {
        change(recentFiles_);
        return;
    }
    bool changed = false;
    const QString error = updatePreferences([&](std::string bytes) {
        std::vector<std::string> files = readRecentFiles(bytes);
        change(files);
        recentFiles_ = files;
        changed = true;
        return writeRecentFiles(bytes, files);
    });
    if (!changed)
        change(recentFiles_);
    if (!error.isEmpty() && !recentFailureShown_) {
        recentFailureShown_ = true;
        showTransientMessage(u"最近使ったファイルの一覧を %1 に書き込めません: %2"_s.arg(
            QDir::toNativeSeparators(preferences_.file), error));
    }
    if (error.isEmpty())
        recentFailureShown_ = false;
}

void TfrmMain::rememberRecentFile(const QString& path)
{
    const std::string file = path.toStdString();
    updateRecentFiles([&file](std::vector<std::string>& files) { files = withRecentFile(std::move(files), file); });
}

void TfrmMain::openRecentFile(const QString& path)
{
    // Nothing would be opened, so the chart on screen is not put to the save question.
    if (!QFileInfo::exists(path)) {
        // Compared as the menu showed it: bytes that are no UTF-8 still go.
        updateRecentFiles([&path](std::vector<std::string>& files) {
            std::erase_if(files, [&path](const std::string& file) { return QString::fromStdString(file) == path; });
        });
        prompts().warning(u"%1 が見つかりません。最近使ったファイルの一覧から外しました"_s.arg(
            QDir::toNativeSeparators(path)));
        return;
    }
    openNamedFile(path);
}

void TfrmMain::mnuClearRecentClick()
{
    updateRecentFiles([](std::vector<std::string>& files) { files.clear(); });
}

}  // namespace solvena
