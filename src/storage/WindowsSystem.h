#pragma once
// The Windows side of the file layer's words: names turn from the program's UTF-8 into
// the UTF-16 of the system's wide functions and back, and the system's error codes into
// reasons the front ends word like any other. Windows only.

#include "text/Reason.h"

#include <string>
#include <string_view>

namespace solvena {

// The UTF-16 of a UTF-8 name; false, with the reason, for bytes that are not UTF-8 or
// hold a NUL (which would cut the name short).
bool toWide(std::string_view utf8, std::wstring& wide, Reason& error);

// The UTF-8 of a UTF-16 name or text.
std::string toUtf8(std::wstring_view wide);

// The reason of a Windows error code (GetLastError): the C library's error number where
// one means the same, so that it is worded as on POSIX; the system's own words otherwise.
Reason windowsReason(unsigned long error);

}  // namespace solvena
