// The names of CReplacingFile's new files, the same on every system.
#include <cstdlib>

#include "io/CReplacingFile.h"

namespace {
const char Suffix[] = ".tmp";
constexpr size_t SuffixSize = sizeof Suffix - 1;

bool AllDigits(const std::string& text, size_t from, size_t to)
{
    if (from >= to)
        return false;
    for (size_t i = from; i < to; i++)
        if (text[i] < '0' || text[i] > '9')
            return false;
    return true;
}
}  // namespace

std::string CReplacingFile::TemporaryName(const std::string& base, unsigned long process, unsigned long number)
{
    return "." + base + "." + std::to_string(process) + "-" + std::to_string(number) + Suffix;
}

bool CReplacingFile::IsTemporaryName(const std::string& name, std::string* base, unsigned long* process)
{
    if (name.size() < 1 + 1 + 1 + 3 + SuffixSize || name[0] != '.' ||
        name.compare(name.size() - SuffixSize, SuffixSize, Suffix) != 0)
        return false;
    size_t end = name.size() - SuffixSize;
    size_t dash = name.rfind('-', end - 1);
    if (dash == std::string::npos || !AllDigits(name, dash + 1, end))
        return false;
    size_t dot = name.rfind('.', dash - 1);
    if (dot == std::string::npos || dot < 2 || !AllDigits(name, dot + 1, dash))
        return false;
    if (base)
        *base = name.substr(1, dot - 1);
    if (process)
        *process = std::strtoul(name.c_str() + dot + 1, nullptr, 10);
    return true;
}
