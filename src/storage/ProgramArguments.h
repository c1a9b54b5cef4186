#pragma once
// The arguments a program was started with, as the file layer takes names (SystemFile.h):
// on POSIX the bytes of argv as given; on Windows the system's UTF-16 command line in
// UTF-8, since argv there holds the code page's bytes and loses every character the code
// page lacks (a Japanese name on a Western system).

#include <string>
#include <vector>

namespace solvena {

// The arguments after the program's name.
std::vector<std::string> programArguments(int argc, char** argv);

}  // namespace solvena
