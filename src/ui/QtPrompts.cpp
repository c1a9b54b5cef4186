#include "ui/QtPrompts.h"

#include "ui/dialogs/uVcdImport.h"

#include "ui/PicturePreview.h"

#include <QFileDialog>
#include <QFontDialog>
#include <QInputDialog>
#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPushButton>

#include <algorithm>
#include <functional>
#include <vector>

namespace solvena {

using namespace Qt::StringLiterals;

namespace {

// Ctrl+C copies a message box as text, as users of the program's boxes are used to:
// caption, message and buttons between dashed lines.
class MessageBox : public QMessageBox {
public:
    using QMessageBox::QMessageBox;

protected:
    void keyPressEvent(QKeyEvent* event) override
    {
        if (event != QKeySequence::Copy) {
            QMessageBox::keyPressEvent(event);
            return;
        }
        const QString rule = u"---------------------------\n"_s;
        QStringList buttonTexts;
        for (QAbstractButton* button : buttons())
            buttonTexts << button->text().remove(u'&');
        QGuiApplication::clipboard()->setText(rule + windowTitle() + u'\n' + rule + text() + u'\n' +
                                              rule + buttonTexts.join(u"   "_s) + u'\n' + rule);
    }
};

struct NameFilter {
    QString description;   // what the dialog lists, "テキストファイル(*.txt)"
    QString filter;        // what Qt matches files with, "テキストファイル(*.txt) (*.txt)"
};

// "description|pattern|..." as Qt name filters. The descriptions already show their
// patterns, so the dialog is told to hide the copy Qt needs for matching.
std::vector<NameFilter> nameFilters(const QString& filter)
{
    const QStringList parts = filter.split(u'|');
    std::vector<NameFilter> filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2)
        filters.push_back({parts[i], parts[i] + u" ("_s + parts[i + 1] + u')'});
    return filters;
}

bool runFileDialog(QWidget* parent, FileDialogState& state, QFileDialog::AcceptMode mode,
                   const std::function<void(QFileDialog&)>& extend = {})
{
    QFileDialog dialog(parent);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    const std::vector<NameFilter> filters = nameFilters(state.filter);
    QStringList qtFilters;
    for (const NameFilter& f : filters)
        qtFilters << f.filter;
    dialog.setNameFilters(qtFilters);
    if (state.filterIndex >= 1 && state.filterIndex <= qtFilters.size())
        dialog.selectNameFilter(qtFilters[state.filterIndex - 1]);
    if (!state.fileName.isEmpty())
        dialog.selectFile(state.fileName);
    if (extend)
        extend(dialog);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return false;
    state.fileName = dialog.selectedFiles().constFirst();
    // With the details hidden the dialog reports the entry as listed, without the
    // pattern Qt appended; either form names the same entry.
    const QString chosen = dialog.selectedNameFilter();
    const auto found = std::find_if(filters.begin(), filters.end(), [&](const NameFilter& f) {
        return chosen == f.filter || chosen == f.description;
    });
    state.filterIndex = found == filters.end() ? 1 : static_cast<int>(found - filters.begin()) + 1;
    return true;
}

}  // namespace

void QtPrompts::message(const QString& caption, const QString& text)
{
    // Plain boxes are centred on the screen rather than on the window.
    MessageBox box(QMessageBox::NoIcon, caption, text, QMessageBox::Ok);
    box.exec();
}

void QtPrompts::warning(const QString& text)
{
    MessageBox box(QMessageBox::Warning, u"警告"_s, text, QMessageBox::Ok, parent_);
    box.exec();
}

void QtPrompts::error(const QString& caption, const QString& text)
{
    MessageBox box(QMessageBox::Critical, caption, text, QMessageBox::Ok, parent_);
    box.exec();
}

Prompts::Answer QtPrompts::confirm(const QString& caption, const QString& text)
{
    MessageBox box(QMessageBox::Question, caption, text, QMessageBox::NoButton, parent_);
    QPushButton* yes = box.addButton(u"はい(&Y)"_s, QMessageBox::YesRole);
    QPushButton* no = box.addButton(u"いいえ(&N)"_s, QMessageBox::NoRole);
    QPushButton* cancel = box.addButton(u"キャンセル"_s, QMessageBox::RejectRole);
    box.setDefaultButton(yes);
    box.setEscapeButton(cancel);
    box.exec();
    if (box.clickedButton() == yes)
        return Answer::Yes;
    if (box.clickedButton() == no)
        return Answer::No;
    return Answer::Cancel;
}

bool QtPrompts::ask(const QString& caption, const QString& text)
{
    MessageBox box(QMessageBox::Question, caption, text, QMessageBox::NoButton, parent_);
    QPushButton* yes = box.addButton(u"はい(&Y)"_s, QMessageBox::YesRole);
    QPushButton* no = box.addButton(u"いいえ(&N)"_s, QMessageBox::NoRole);
    box.setDefaultButton(yes);
    box.setEscapeButton(no);
    box.exec();
    return box.clickedButton() == yes;
}

std::optional<QString> QtPrompts::inputBox(const QString& caption, const QString& prompt,
                                           const QString& text)
{
    bool ok = false;
    const QString result =
        QInputDialog::getText(parent_, caption, prompt, QLineEdit::Normal, text, &ok);
    if (!ok)
        return std::nullopt;
    return result;
}

bool QtPrompts::openFile(FileDialogState& dialog)
{
    return runFileDialog(parent_, dialog, QFileDialog::AcceptOpen);
}

bool QtPrompts::saveFile(FileDialogState& dialog)
{
    return runFileDialog(parent_, dialog, QFileDialog::AcceptSave);
}

bool QtPrompts::savePicture(FileDialogState& dialog)
{
    // The one pattern of the filter, "*.bmp", gives the extension the export writes.
    const QString extension = dialog.filter.section(u'|', 1, 1).remove(u'*');
    return runFileDialog(parent_, dialog, QFileDialog::AcceptSave, [&extension](QFileDialog& fileDialog) {
        PicturePreview::attachTo(fileDialog, extension);
    });
}

std::optional<QFont> QtPrompts::chooseFont(const QFont& initial)
{
    // The dialog lists the installed families and point sizes: a substituted face
    // ("ＭＳ Ｐゴシック") or a size in pixels would open it on the first family of its
    // list instead. It is shown the face and size the font really gets.
    const QFontInfo resolved(initial);
    QFont shown = initial;
    shown.setFamily(resolved.family());
    shown.setPointSizeF(resolved.pointSizeF());
    bool ok = false;
    const QFont font = QFontDialog::getFont(&ok, shown, parent_);
    if (!ok)
        return std::nullopt;
    return font;
}

std::optional<VcdChoices> QtPrompts::chooseVcdChoices(const QString& path, const VcdHeader& header,
                                                      VcdChoiceMemory& memory)
{
    return askVcdChoices(parent_, path, header, memory);
}

bool QtPrompts::choosePrinter(QPrinter& printer)
{
    QPrintDialog dialog(&printer, parent_);
    return dialog.exec() == QDialog::Accepted;
}

void QtPrompts::previewPrint(QPrinter& printer, const std::function<void(QPrinter&)>& paint)
{
    QPrintPreviewDialog dialog(&printer, parent_);
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog,
                     [&paint](QPrinter* target) { paint(*target); });
    dialog.exec();
}

}  // namespace solvena
