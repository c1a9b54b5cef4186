#include "ReasonText.h"

#include "text/ReasonWords.h"

namespace solvena {

QString japaneseText(const Reason& reason)
{
    static const ReasonWords words(Language::Japanese, ReasonWords::SystemErrors::AsTheSystemSays);
    return words(reason);
}

std::string japanese(const Reason& reason)
{
    return japaneseText(reason).toStdString();
}

std::vector<std::string> japanese(const std::vector<Reason>& reasons)
{
    std::vector<std::string> lines;
    for (const Reason& reason : reasons) lines.push_back(japanese(reason));
    return lines;
}

}  // namespace solvena
