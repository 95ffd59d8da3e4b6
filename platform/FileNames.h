#pragma once

#include <cstdio>
#include <string>

namespace platform {

// File names inside the program are UTF-8. Linux takes them as they are; Windows wants
// wide (UTF-16) names, and its narrow calls would read the bytes in the local code page.

// std::fopen of a UTF-8 name.
std::FILE* OpenFile(const char* path, const char* mode);

// The folder of the running program, without a separator at the end (but "/" or
// "C:\" for a root); empty when the system does not tell.
std::string ExecutableFolder();
// Whether a file exists and may be read.
bool IsReadable(const char* path);

// The folder where the program keeps its state between runs: "$XDG_STATE_HOME/ajustor"
// ("~/.local/state/ajustor" when that is unset), "%LOCALAPPDATA%\Ajustor" on Windows;
// empty when the system tells neither. It may not exist yet.
std::string StateFolder();
// The number of this process.
unsigned long ProcessId();

// UTF-8 to UTF-16 and back, for the system's wide calls. Malformed input gives U+FFFD
// (a name holding it reaches no existing file); an empty text gives an empty one.
std::wstring WideFromUtf8(const std::string& text);
std::string Utf8FromWide(const std::wstring& text);

}  // namespace platform
