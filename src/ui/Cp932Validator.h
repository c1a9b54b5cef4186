#pragma once
// Keeps signal names storable: names are saved as CP932, so a character that code
// page cannot hold is refused when typed rather than turned into "?" later.

#include <QString>
#include <QValidator>

#include <functional>

// Whether every character of `text` has a CP932 code. U+FFFD, which stands for
// damaged bytes of a name as read, is let through so such a name stays editable.
bool holdsOnlyCp932(const QString& text);

// `text` without the characters CP932 cannot hold (U+FFFD included).
QString withoutNonCp932(const QString& text);

class Cp932Validator : public QValidator {
public:
    // `refused` runs whenever an input is turned away, to tell the user why.
    explicit Cp932Validator(std::function<void()> refused, QObject* parent = nullptr);

    State validate(QString& input, int& pos) const override;

private:
    std::function<void()> refused_;
};
