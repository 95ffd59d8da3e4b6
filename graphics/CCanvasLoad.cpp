#include <cstring>

#include "core/Variable.h"
#include "graphics/CCanvas.h"
#include "graphics/ImageReaders.h"
#include "io/CFile.h"

namespace {
struct SingleFormat {
    const char* extension;
    int (*reader)(CCanvas*, CIO*);
};
const SingleFormat SingleFormats[] = {{"FIS", LoadFis}, {"BMP", LoadBmp}, {"FCR", LoadFcr}, {"IES", LoadIes}};
}  // namespace

int CCanvas::LoadImageFile(const char* fileName) { return LoadImageByExtension(this, fileName); }

int LoadImageByExtension(CCanvas* canvas, const char* fileName)
{
    char extension[8];
    if (!canvas || !UpperExtension(fileName, extension, sizeof extension))
        return 0;
    for (const SingleFormat& format : SingleFormats) {
        if (std::strcmp(extension, format.extension) != 0)
            continue;
        Variable file(new CFile(canvas->application));
        if (!file.As<CFile>()->OpenRead(fileName))
            return 0;
        return format.reader(canvas, file.As<CFile>());
    }
    return 0;
}

bool UpperExtension(const char* fileName, char* out, unsigned room)
{
    if (!fileName || room == 0)
        return false;
    const char* dot = std::strrchr(fileName, '.');
    if (!dot || dot == fileName || std::strlen(dot + 1) + 1 > room)
        return false;
    unsigned i = 0;
    for (const char* c = dot + 1; *c; c++)
        out[i++] = *c >= 'a' && *c <= 'z' ? char(*c - 'a' + 'A') : *c;
    out[i] = '\0';
    return i > 0;
}
