#include <filesystem>
#include <fstream>
#include <iterator>

#include "graphics/ImageReaders.h"
#include "io/CFile.h"
#include "tests/graphics/GraphicsFixture.h"

// Every input kept for the image fuzzers (their seeds and any input that ever broke a
// reader) is read again here by every reader, from memory and from a file, and what
// was read is drawn: a fault the fuzzers once found stays found.
using SeedReplayTest = GraphicsFixture;

namespace {
using Reader = int (*)(CBCell*, CIO*);
const Reader Readers[] = {
    [](CBCell* c, CIO* s) { return LoadFis(c, s); },
    [](CBCell* c, CIO* s) { return LoadIes(c, s); },
    [](CBCell* c, CIO* s) { return LoadFcr(c, s); },
    [](CBCell* c, CIO* s) { return LoadBmp(c, s); },
    [](CBCell* c, CIO* s) { return c->LoadCel(s); },
    [](CBCell* c, CIO* s) { return c->LoadBmpCel(s); },
    [](CBCell* c, CIO* s) { return c->LoadCelChannels(s); },
};
}  // namespace

TEST_F(SeedReplayTest, EveryKeptInputReadsSafely)
{
    int inputs = 0;
    for (const char* format : {"fis", "ies", "fcr", "bmp", "cel", "bmpcel"}) {
        std::filesystem::path folder = std::filesystem::path(SEED_FOLDER) / format;
        if (!std::filesystem::is_directory(folder))
            continue;
        for (const auto& entry : std::filesystem::directory_iterator(folder)) {
            std::ifstream in(entry.path(), std::ios::binary);
            Bytes bytes{std::string(std::istreambuf_iterator<char>(in), {})};
            inputs++;
            for (Reader read : Readers) {
                CCanvas* target = Canvas(16, 16, 0);
                CBCell* fromMemory = Make<CBCell>();
                if (read(fromMemory, Stream(bytes))) {
                    fromMemory->BuildChannels();
                    target->DrawCell(fromMemory, 2, -1);
                    fromMemory->DrawFaded(target, -3, 2, 0, 0, 0, 0, 0.5f);
                    Variable scaled(fromMemory->Scaled(5, 9));
                }
                CFile* file = Make<CFile>();
                ASSERT_EQ(file->OpenRead(entry.path().string().c_str()), 1);
                CBCell* fromFile = Make<CBCell>();
                if (read(fromFile, file))
                    target->DrawCell(fromFile, 0, 0);
                file->Close();  // thousands of inputs: Windows' C library opens 512 files at most
            }
        }
    }
    EXPECT_GT(inputs, 0);
}
