#include "formats/VcdHeader.h"

#include "text/Utf8.h"

#include <algorithm>
#include <cstdio>

namespace solvena {

std::string VcdVar::displayName() const
{
    if (width == 1 && !index.empty() && index.find(':') == std::string::npos) return name + index;
    return name;
}

int32_t VcdVar::bitFromRight(int64_t bit) const
{
    const int64_t place = msb >= lsb ? bit - lsb : lsb - bit;
    return place >= 0 && place < width ? static_cast<int32_t>(place) : -1;
}

std::string VcdHeader::scopePath(const VcdVar& var) const
{
    std::vector<const std::string*> names;
    for (int32_t s = var.scope; s >= 0; s = scopes[static_cast<size_t>(s)].parent)
        names.push_back(&scopes[static_cast<size_t>(s)].name);
    std::string path;
    for (auto it = names.rbegin(); it != names.rend(); ++it) {
        if (!path.empty()) path += '.';
        path += **it;
    }
    return path;
}

std::string VcdHeader::path(const VcdVar& var) const
{
    std::string scope = scopePath(var);
    return scope.empty() ? var.displayName() : scope + "." + var.displayName();
}

std::string vcdShown(std::string_view word)
{
    return printableExcerpt(word, 40);
}

}  // namespace solvena
