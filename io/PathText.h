#pragma once

#include <cstring>

#include "core/CString.h"

// The path a CString names, as zero-terminated text for the system's calls, or null
// when there is no string or it holds a zero byte: the call would see only the part
// before the zero and act on a different, shorter name.
inline const char* PathText(CString* path)
{
    if (!path)
        return nullptr;
    if (path->GetLength() && std::memchr(path->GetBuffer(), 0, path->GetLength()))
        return nullptr;
    return path->CStr();
}
