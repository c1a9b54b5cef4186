#include "storage/ProgramArguments.h"

#ifdef _WIN32
#include "storage/WindowsSystem.h"

#include <windows.h>
#include <shellapi.h>
#endif

namespace solvena {

std::vector<std::string> programArguments(int argc, char** argv)
{
#ifdef _WIN32
    int count = 0;
    if (wchar_t** wide = ::CommandLineToArgvW(::GetCommandLineW(), &count)) {
        std::vector<std::string> arguments;
        for (int i = 1; i < count; ++i)
            arguments.push_back(toUtf8(wide[i]));
        ::LocalFree(wide);
        return arguments;
    }
#endif
    return std::vector<std::string>(argv + 1, argv + argc);
}

}  // namespace solvena
