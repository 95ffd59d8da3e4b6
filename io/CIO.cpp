#include "io/CIO.h"

#include <cstring>

#include "core/CString.h"
#include "core/Variable.h"
#include "io/LineBuilder.h"
#include "io/PathText.h"

CIO::CIO(CApplication* app) : CComponent(app) { className = "CIO"; }

CIO::~CIO() { LeaveRegistry(); }

int CIO::Open(CString* path)
{
    Variable hold;
    hold = path;
    const char* text = PathText(path);
    return text ? Open(static_cast<const void*>(text)) : 0;
}

int CIO::Open(const void* target) { return target ? OpenTarget(target) : 0; }

int CIO::OpenTarget(const void*) { return 0; }

int CIO::Read(void*, uint32_t, uint32_t) { return 0; }

int CIO::Write(const void*, uint32_t, uint32_t) { return 0; }

int CIO::Seek(int32_t) { return 0; }

CString* CIO::ReadLine()
{
    auto line = new CString(application);
    Variable hold(line);
    line->Reserve(128);
    if (!ReadLineInto(line))
        return nullptr;
    line->Protect();
    return line;
}

int CIO::ReadLineInto(CString* line)
{
    LineBuilder builder(line);
    char byte = 0;
    for (;;) {
        if (Read(&byte, 1, 1) != 1)
            return 0;
        if (byte == '\n')
            return 1;
        builder.Add(byte);
    }
}

int CIO::WriteLine(CString* text) { return WriteText(text) + Write("\n", 1, 1); }

int CIO::WriteLine(const char* text) { return WriteText(text) + Write("\n", 1, 1); }

int CIO::WriteText(CString* text)
{
    Variable hold;
    hold = text;
    if (!text)
        return Write("", 1, 0);
    return Write(text->GetBuffer(), 1, text->GetLength());
}

int CIO::WriteText(const char* text)
{
    if (!text)
        return Write("", 1, 0);
    return Write(text, 1, static_cast<uint32_t>(std::strlen(text)));
}
