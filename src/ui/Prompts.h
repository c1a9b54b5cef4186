#pragma once
// Every modal question the main window asks goes through this interface, so the
// commands can be driven by tests with scripted answers.

#include <QString>

#include <functional>
#include <optional>

class QFont;
class QPrinter;

namespace solvena {

class VcdChoiceMemory;
struct VcdChoices;
struct VcdHeader;

// What a file dialog remembers between uses: the file name and the filter entry of
// its last confirmed use. A cancelled use changes neither.
struct FileDialogState {
    QString filter;        // "description|pattern|description|pattern"
    QString fileName;
    int filterIndex = 1;   // 1-based, as the filter lists its entries
};

class Prompts {
public:
    enum class Answer { Yes, No, Cancel };

    virtual ~Prompts() = default;

    // A plain message box: no icon, one OK button.
    virtual void message(const QString& caption, const QString& text) = 0;
    // A warning captioned "警告" with one OK button.
    virtual void warning(const QString& text) = 0;
    // The application's error box: error icon, one OK button.
    virtual void error(const QString& caption, const QString& text) = 0;
    // A confirmation with Yes, No and Cancel; Yes is the default, Esc answers Cancel.
    virtual Answer confirm(const QString& caption, const QString& text) = 0;
    // A question with Yes and No; true for Yes, the default.
    virtual bool ask(const QString& caption, const QString& text) = 0;
    // An input box; nullopt when cancelled.
    virtual std::optional<QString> inputBox(const QString& caption, const QString& prompt,
                                            const QString& text) = 0;
    // File dialogs; true when confirmed, with the dialog's state updated.
    virtual bool openFile(FileDialogState& dialog) = 0;
    virtual bool saveFile(FileDialogState& dialog) = 0;
    // A save dialog with a preview of the picture file under the cursor.
    virtual bool savePicture(FileDialogState& dialog) = 0;
    virtual std::optional<QFont> chooseFont(const QFont& initial) = 0;
    // The VCD dialog over a dump's header: the signals and steps the user chose, none on
    // Cancel. `memory` holds the last choices for each dump of the run.
    virtual std::optional<VcdChoices> chooseVcdChoices(const QString& path, const VcdHeader& header,
                                                       VcdChoiceMemory& memory) = 0;
    // The print dialog; true when the user confirmed it, with `printer` set up.
    virtual bool choosePrinter(QPrinter& printer) = 0;
    // The print preview of `printer`'s pages, which `paint` draws each time they are
    // needed (again on the printer itself when the user prints from the preview).
    virtual void previewPrint(QPrinter& printer, const std::function<void(QPrinter&)>& paint) = 0;
};

}  // namespace solvena
