#include "storage/PathExtension.h"

namespace solvena {

std::string replaceExtension(const std::string& path, const std::string& extension)
{
    const auto separator = path.find_last_of("\\/:");
    const auto dot = path.find_last_of('.');
    if (dot != std::string::npos && (separator == std::string::npos || dot > separator))
        return path.substr(0, dot) + extension;
    return path + extension;
}

}  // namespace solvena
