#include "ui/Cp932Validator.h"

#include "text/Cp932.h"

#include <utility>

namespace {

constexpr char16_t kReplacementCharacter = 0xFFFD;

// Calls `fn` with each character of `text` as its UTF-16 units.
template <typename Fn>
void forEachCharacter(const QString& text, Fn&& fn)
{
    const std::u16string units = text.toStdU16String();
    for (size_t i = 0; i < units.size();) {
        size_t length = 1;
        if (QChar::isHighSurrogate(units[i]) && i + 1 < units.size() &&
            QChar::isLowSurrogate(units[i + 1]))
            length = 2;
        fn(std::u16string_view(units).substr(i, length));
        i += length;
    }
}

}  // namespace

bool holdsOnlyCp932(const QString& text)
{
    bool ok = true;
    forEachCharacter(text, [&](std::u16string_view ch) {
        if (ch.size() == 1 && ch[0] == kReplacementCharacter)
            return;
        ok = ok && isCp932Encodable(ch);
    });
    return ok;
}

QString withoutNonCp932(const QString& text)
{
    QString kept;
    forEachCharacter(text, [&](std::u16string_view ch) {
        if (isCp932Encodable(ch))
            kept += QString::fromUtf16(ch.data(), static_cast<qsizetype>(ch.size()));
    });
    return kept;
}

Cp932Validator::Cp932Validator(std::function<void()> refused, QObject* parent)
    : QValidator(parent), refused_(std::move(refused))
{
}

QValidator::State Cp932Validator::validate(QString& input, int&) const
{
    if (holdsOnlyCp932(input))
        return Acceptable;
    if (refused_)
        refused_();
    return Invalid;
}
