#pragma once
// Reasons (text/Reason.h) in words, for the front ends. Japanese, the program's own
// language, is written in the code; English comes from the catalogue built with the
// program (translations/solvena_en.ts), which also carries the command line's own
// texts. The window always speaks Japanese; the command line speaks the language
// messageLanguageOfEnvironment() picks.

#include "text/Reason.h"

#include <QString>

#include <memory>

class QTranslator;

namespace solvena {

enum class Language { Japanese, English };

// The language of messages for an environment holding these values of LC_ALL,
// LC_MESSAGES and LANG (null when unset): the first one set and not empty decides, as
// gettext picks a catalogue. Japanese when it names a ja locale ("ja", "ja_JP.UTF-8",
// "ja_JP@...", ...), English for any other and when none is set.
Language messageLanguage(const char* lcAll, const char* lcMessages, const char* lang);

// The same for this process's environment.
Language messageLanguageOfEnvironment();

class ReasonWords {
public:
    // How an errno is worded: as the system words it in the process's locale (what
    // the window has always shown), or by this program in the chosen language.
    enum class SystemErrors { AsTheSystemSays, InTheLanguage };

    // Throws std::logic_error when English is asked for and the catalogue built into
    // the program cannot be loaded: the build is broken.
    explicit ReasonWords(Language language, SystemErrors systemErrors = SystemErrors::InTheLanguage);
    ~ReasonWords();
    ReasonWords(const ReasonWords&) = delete;
    ReasonWords& operator=(const ReasonWords&) = delete;

    Language language() const { return language_; }

    // The reason as one line of text; none gives an empty text.
    QString operator()(const Reason& reason) const;

    // A front end's own text, written in Japanese and marked for the catalogue with
    // QT_TRANSLATE_NOOP(context, japanese), in this language. "%n" stands for `count`.
    QString text(const char* context, const char* japanese, int count = -1) const;

    // An errno in words.
    QString systemError(int error) const;

private:
    static const char* pattern(ReasonKind kind);

    Language language_;
    SystemErrors systemErrors_;
    std::unique_ptr<QTranslator> catalogue_;
};

// Replaces %1 .. %9 in `pattern` by `args` in one pass, so that a "%2" inside a
// value (a signal's name) stays as it is.
QString fillPlaces(const QString& pattern, const QStringList& args);

}  // namespace solvena
