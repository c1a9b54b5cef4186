#pragma once
// A Prompts implementation for widget tests: answers come from queues the test
// fills beforehand, and every question asked is logged so the test can assert on
// what the user would have seen. A question with no scripted answer is recorded in
// `unexpected` and answered as a cancel.

#include "formats/VcdChoices.h"
#include "ui/Prompts.h"

#include <QFont>
#include <QString>
#include <QStringList>

#include <deque>
#include <functional>
#include <optional>

namespace solvena {

class ScriptedPrompts : public Prompts {
public:
    struct FileAnswer {
        QString fileName;
        int filterIndex = 1;
    };

    // Log lines: "<kind>|<caption>|<text>", e.g. "confirm|確認|現在の状態を保存しますか？".
    QStringList log;
    QStringList unexpected;

    std::deque<Answer> confirmAnswers;
    std::deque<bool> askAnswers;
    std::deque<std::optional<QString>> inputAnswers;       // nullopt = Cancel
    std::deque<std::optional<FileAnswer>> openAnswers;     // nullopt = Cancel
    std::deque<std::optional<FileAnswer>> saveAnswers;     // nullopt = Cancel
    std::deque<std::optional<FileAnswer>> pictureAnswers;  // nullopt = Cancel
    std::deque<std::optional<QFont>> fontAnswers;          // nullopt = Cancel
    std::deque<bool> printerAnswers;
    std::deque<std::optional<VcdChoices>> vcdAnswers;     // nullopt = Cancel
    // What the user chose in a confirmed print dialog: sets the printer up.
    std::function<void(QPrinter&)> printerChoice;

    // The dialog state shown by the last file dialog, as the user would have seen it.
    FileDialogState lastOpenShown;
    FileDialogState lastSaveShown;
    FileDialogState lastPictureShown;

    void message(const QString& caption, const QString& text) override
    {
        log << QStringLiteral("message|") + caption + u'|' + text;
    }
    void warning(const QString& text) override { log << QStringLiteral("warning|警告|") + text; }
    void error(const QString& caption, const QString& text) override
    {
        log << QStringLiteral("error|") + caption + u'|' + text;
    }
    Answer confirm(const QString& caption, const QString& text) override
    {
        log << QStringLiteral("confirm|") + caption + u'|' + text;
        Answer answer = Answer::Cancel;
        take(confirmAnswers, answer, QStringLiteral("confirm"));
        return answer;
    }
    bool ask(const QString& caption, const QString& text) override
    {
        log << QStringLiteral("ask|") + caption + u'|' + text;
        bool answer = false;
        take(askAnswers, answer, QStringLiteral("ask"));
        return answer;
    }
    std::optional<QString> inputBox(const QString& caption, const QString& prompt,
                                    const QString& text) override
    {
        log << QStringLiteral("input|") + caption + u'|' + prompt + u'|' + text;
        std::optional<QString> answer;
        take(inputAnswers, answer, QStringLiteral("input"));
        return answer;
    }
    bool openFile(FileDialogState& dialog) override
    {
        log << QStringLiteral("open|") + dialog.filter + u'|' + dialog.fileName;
        lastOpenShown = dialog;
        std::optional<FileAnswer> answer;
        take(openAnswers, answer, QStringLiteral("open"));
        return applyFile(dialog, answer);
    }
    bool saveFile(FileDialogState& dialog) override
    {
        log << QStringLiteral("save|") + dialog.filter + u'|' + dialog.fileName;
        lastSaveShown = dialog;
        std::optional<FileAnswer> answer;
        take(saveAnswers, answer, QStringLiteral("save"));
        return applyFile(dialog, answer);
    }
    bool savePicture(FileDialogState& dialog) override
    {
        log << QStringLiteral("picture|") + dialog.filter + u'|' + dialog.fileName;
        lastPictureShown = dialog;
        std::optional<FileAnswer> answer;
        take(pictureAnswers, answer, QStringLiteral("picture"));
        return applyFile(dialog, answer);
    }
    std::optional<QFont> chooseFont(const QFont& initial) override
    {
        log << QStringLiteral("font|") + initial.family();
        std::optional<QFont> answer;
        take(fontAnswers, answer, QStringLiteral("font"));
        return answer;
    }
    std::optional<VcdChoices> chooseVcdChoices(const QString& path, const VcdHeader&, VcdChoiceMemory&) override
    {
        log << QStringLiteral("vcd|") + path;
        std::optional<VcdChoices> answer;
        take(vcdAnswers, answer, QStringLiteral("vcd"));
        return answer;
    }
    bool choosePrinter(QPrinter& printer) override
    {
        log << QStringLiteral("print");
        bool answer = false;
        take(printerAnswers, answer, QStringLiteral("print"));
        if (answer && printerChoice)
            printerChoice(printer);
        return answer;
    }

    void previewPrint(QPrinter&, const std::function<void(QPrinter&)>&) override
    {
        log << QStringLiteral("preview");
    }

    // Log lines of one kind ("confirm", "error", ...).
    QStringList asked(const QString& kind) const
    {
        QStringList lines;
        for (const QString& line : log) {
            if (line.startsWith(kind + u'|') || line == kind)
                lines << line;
        }
        return lines;
    }

private:
    // Moves the next scripted answer into `answer`, leaving it as it is when none is left.
    template <typename T>
    void take(std::deque<T>& queue, T& answer, const QString& kind)
    {
        if (queue.empty()) {
            unexpected << kind;
            return;
        }
        answer = std::move(queue.front());
        queue.pop_front();
    }

    static bool applyFile(FileDialogState& dialog, const std::optional<FileAnswer>& answer)
    {
        if (!answer)
            return false;
        dialog.fileName = answer->fileName;
        dialog.filterIndex = answer->filterIndex;
        return true;
    }
};

}  // namespace solvena
