#pragma once

#include <windows.h>

#include <string>

namespace rv::test {

// Runs the system's own reg.exe with the arguments, as an installer script would, and returns
// its exit code (0 when it did what it was asked).
DWORD RunReg(const std::wstring& arguments);

}  // namespace rv::test
