#include "ui/SignalNameValidator.h"

#include "text/Cp932.h"

#include <utility>

namespace solvena {

using namespace Qt::StringLiterals;

namespace {

constexpr char16_t kReplacementCharacter = 0xFFFD;

bool isControl(std::u16string_view ch)
{
    return ch.size() == 1 && (ch[0] < 0x20 || ch[0] == 0x7F);
}

bool isLineBreak(QChar ch)
{
    return ch == u'\r' || ch == u'\n';
}

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

std::optional<QString> nameRefusal(const QString& text)
{
    bool control = false;
    bool notCp932 = false;
    forEachCharacter(text, [&](std::u16string_view ch) {
        if (isControl(ch))
            control = true;
        else if (!(ch.size() == 1 && ch[0] == kReplacementCharacter) && !isCp932Encodable(ch))
            notCp932 = true;
    });
    if (control)
        return u"改行などの制御文字は信号名に使えません"_s;
    if (notCp932)
        return u"CP932で表せない文字は信号名に使えません"_s;
    return std::nullopt;
}

QString storableNamePart(const QString& text)
{
    QString kept;
    forEachCharacter(text, [&](std::u16string_view ch) {
        if (!isControl(ch) && isCp932Encodable(ch))
            kept += QString::fromUtf16(ch.data(), static_cast<qsizetype>(ch.size()));
    });
    return kept;
}

SignalNameValidator::SignalNameValidator(std::function<void(const QString&)> refused,
                                         QObject* parent)
    : QValidator(parent), refused_(std::move(refused))
{
}

QValidator::State SignalNameValidator::validate(QString& input, int& pos) const
{
    // After an insertion the cursor stands at the end of what was inserted.
    int end = pos;
    while (end > 0 && end <= input.size() && isLineBreak(input.at(end - 1)))
        --end;
    if (end != pos) {
        input.remove(end, pos - end);
        pos = end;
    }
    if (const std::optional<QString> refusal = nameRefusal(input)) {
        if (refused_)
            refused_(*refusal);
        return Invalid;
    }
    return Acceptable;
}

}  // namespace solvena
