#pragma once

#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/CApplication.h"
#include "core/Variable.h"
#include "graphics/CBCell.h"
#include "graphics/CCanvas.h"
#include "graphics/ImageReaders.h"
#include "io/CFile.h"
#include "io/CMemIO.h"
#include "platform/PSurface.h"

// Shared by the image reader fuzzers: each input is read twice, from a memory block of
// known size and from a file, and whatever was read is drawn and scaled, so reads,
// draws and scaling of malformed images are all exercised.
namespace imagefuzz {
inline CApplication* Application()
{
    static CApplication* app = new CApplication();
    return app;
}

// The input as a file CFile can open by name, without touching the disk.
inline std::string AsFile(const uint8_t* data, size_t size)
{
    static int fd = memfd_create("image-input", 0);
    if (fd < 0 || ftruncate(fd, 0) != 0 || (size && pwrite(fd, data, size, 0) != ssize_t(size)))
        std::abort();
    return "/proc/self/fd/" + std::to_string(fd);
}

inline void DrawSomewhere(CCanvas* image)
{
    Variable hold(new CCanvas(Application()));
    CCanvas* target = hold.As<CCanvas>();
    target->Create(16, 16);
    image->DrawOn(target, 3, -2, 1, 0, 0, 0);
    if (auto cell = dynamic_cast<CBCell*>(image)) {
        cell->DrawFaded(target, -1, 4, 0, 0, 5, 5, 0.5f);
        Variable scaled(cell->Scaled(7, 5));
        scaled.As<CBCell>()->DrawOn(target, 0, 0, 0, 0, 0, 0);
    }
}

// Runs `read` on a fresh object over both streams and draws what it read.
template <class Image, class Read>
void Exercise(const uint8_t* data, size_t size, Read read)
{
    CApplication* app = Application();
    std::vector<uint8_t> copy(data, data + size);
    {
        Variable image(new Image(app));
        Variable memory(new CMemIO(app));
        memory.As<CMemIO>()->OpenBlock(copy.data(), uint32_t(copy.size()));
        if (read(image.As<Image>(), memory.As<CMemIO>()))
            DrawSomewhere(image.As<Image>());
    }
    {
        Variable image(new Image(app));
        Variable file(new CFile(app));
        if (file.As<CFile>()->OpenRead(AsFile(data, size).c_str()) && read(image.As<Image>(), file.As<CFile>()))
            DrawSomewhere(image.As<Image>());
    }
}
}  // namespace imagefuzz
