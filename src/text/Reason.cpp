#include "text/Reason.h"

#include <ostream>

namespace solvena {

ReasonArg::ReasonArg(Reason reason) : value_(std::make_shared<const Reason>(std::move(reason))) {}

const Reason* ReasonArg::reason() const
{
    const auto* part = std::get_if<std::shared_ptr<const Reason>>(&value_);
    return part ? part->get() : nullptr;
}

bool ReasonArg::operator==(const ReasonArg& other) const
{
    if (const Reason* mine = reason()) {
        const Reason* theirs = other.reason();
        return theirs && *mine == *theirs;
    }
    return value_ == other.value_;
}

Reason atLine(int64_t line, Reason reason)
{
    return Reason(ReasonKind::AtLine, {line, std::move(reason)});
}

ReasonError::ReasonError(Reason reason)
    : std::runtime_error("reason " + std::to_string(static_cast<int>(reason.kind))), reason_(std::move(reason))
{
}

std::ostream& operator<<(std::ostream& out, const Reason& reason)
{
    out << '#' << static_cast<int>(reason.kind);
    if (reason.args.empty()) return out;
    out << '(';
    for (size_t i = 0; i < reason.args.size(); ++i) {
        if (i > 0) out << ", ";
        const ReasonArg& arg = reason.args[i];
        if (const int64_t* number = arg.number()) out << *number;
        else if (const std::string* text = arg.text()) out << '"' << *text << '"';
        else out << *arg.reason();
    }
    return out << ')';
}

}  // namespace solvena
