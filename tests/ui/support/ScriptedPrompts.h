#pragma once
// A Prompts implementation for widget tests: answers come from queues the test
// fills beforehand, and every question asked is logged so the test can assert on
// what the user would have seen. A question with no scripted answer is recorded in
// `unexpected` and answered as a cancel.

#include "ui/Prompts.h"

#include <QFont>
#include <QString>
#include <QStringList>

#include <deque>
#include <optional>

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
    std::deque<std::optional<QString>> inputAnswers;       // nullopt = Cancel
    std::deque<std::optional<FileAnswer>> openAnswers;     // nullopt = Cancel
    std::deque<std::optional<FileAnswer>> saveAnswers;     // nullopt = Cancel
    std::deque<std::optional<QFont>> fontAnswers;          // nullopt = Cancel
    std::deque<bool> printerAnswers;

    // The dialog state shown by the last file dialog, as the user would have seen it.
    FileDialogState lastOpenShown;
    FileDialogState lastSaveShown;

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
        return next(confirmAnswers, Answer::Cancel, QStringLiteral("confirm"));
    }
    std::optional<QString> inputBox(const QString& caption, const QString& prompt,
                                    const QString& text) override
    {
        log << QStringLiteral("input|") + caption + u'|' + prompt + u'|' + text;
        return next(inputAnswers, std::optional<QString>(), QStringLiteral("input"));
    }
    bool openFile(FileDialogState& dialog) override
    {
        log << QStringLiteral("open|") + dialog.filter + u'|' + dialog.fileName;
        lastOpenShown = dialog;
        return applyFile(dialog, next(openAnswers, std::optional<FileAnswer>(), QStringLiteral("open")));
    }
    bool saveFile(FileDialogState& dialog) override
    {
        log << QStringLiteral("save|") + dialog.filter + u'|' + dialog.fileName;
        lastSaveShown = dialog;
        return applyFile(dialog, next(saveAnswers, std::optional<FileAnswer>(), QStringLiteral("save")));
    }
    std::optional<QFont> chooseFont(const QFont& initial) override
    {
        log << QStringLiteral("font|") + initial.family();
        return next(fontAnswers, std::optional<QFont>(), QStringLiteral("font"));
    }
    bool choosePrinter(QPrinter&) override
    {
        log << QStringLiteral("print");
        return next(printerAnswers, false, QStringLiteral("print"));
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
    template <typename T>
    T next(std::deque<T>& queue, T fallback, const QString& kind)
    {
        if (queue.empty()) {
            unexpected << kind;
            return fallback;
        }
        T value = std::move(queue.front());
        queue.pop_front();
        return value;
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
