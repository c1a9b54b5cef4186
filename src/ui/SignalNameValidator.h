#pragma once
// Keeps signal names storable. Names are saved as CP932 text, one per line of the
// chart file, so a character that code page cannot hold, or a control character such
// as a line break, is refused when typed or pasted rather than turned into "?" or
// into a broken file later.

#include <QString>
#include <QValidator>

#include <functional>
#include <optional>

namespace solvena {

// Why `text` cannot be a signal name (a message for the user), or nullopt when every
// character can be stored. U+FFFD, which stands for damaged bytes of a name as read,
// is let through so that such a name stays editable.
std::optional<QString> nameRefusal(const QString& text);

// `text` without the characters a name cannot hold (U+FFFD included).
QString storableNamePart(const QString& text);

class SignalNameValidator : public QValidator {
public:
    // `refused` runs with the reason whenever an input is turned away.
    explicit SignalNameValidator(std::function<void(const QString&)> refused,
                                 QObject* parent = nullptr);

    // Drops the line breaks a pasted text ends with (a copied line usually carries
    // one), then refuses what cannot be stored.
    State validate(QString& input, int& pos) const override;

private:
    std::function<void(const QString&)> refused_;
};

}  // namespace solvena
