#pragma once
// The real dialogs behind Prompts.

#include "ui/Prompts.h"

class QWidget;

namespace solvena {

class QtPrompts : public Prompts {
public:
    explicit QtPrompts(QWidget* parent) : parent_(parent) {}

    void message(const QString& caption, const QString& text) override;
    void warning(const QString& text) override;
    void error(const QString& caption, const QString& text) override;
    Answer confirm(const QString& caption, const QString& text) override;
    bool ask(const QString& caption, const QString& text) override;
    std::optional<QString> inputBox(const QString& caption, const QString& prompt,
                                    const QString& text) override;
    bool openFile(FileDialogState& dialog) override;
    bool saveFile(FileDialogState& dialog) override;
    bool savePicture(FileDialogState& dialog) override;
    std::optional<QFont> chooseFont(const QFont& initial) override;
    std::optional<VcdChoices> chooseVcdChoices(const QString& path, const VcdHeader& header,
                                               VcdChoiceMemory& memory) override;
    bool choosePrinter(QPrinter& printer) override;
    void previewPrint(QPrinter& printer, const std::function<void(QPrinter&)>& paint) override;

private:
    QWidget* parent_;
};

}  // namespace solvena
