#include <cstdint>
#include <string>

#include "graphics/CFont.h"
#include "graphics/ImageReaders.h"
#include "platform/PngWriter.h"
#include "tests/graphics/GraphicsFixture.h"
#include "graphics/BuiltinPictures.h"

namespace {
struct Expected {
    const char* name;
    int width, height;
};
const Expected CelFiles[] = {
    {"trev_i.cel", 16, 16}, {"perla_gris_Boto.cel", 256, 64}, {"perla_blau_Boto.cel", 256, 64},
    {"perla_valkora_Boto.cel", 256, 64}, {"NCarpetaHTML.cel", 32, 32}, {"doc.cel", 32, 32},
    {"NCarpeta.cel", 32, 32}, {"NCarpetaG.cel", 32, 32}, {"cd.cel", 32, 32}, {"Info.cel", 40, 40},
    {"Redonet_gris.cel", 128, 128}, {"Redonet_blau.cel", 128, 128}, {"Redonet_valkora.cel", 128, 128},
    {"calx.cel", 28, 28}, {"calc.cel", 28, 28}, {"calxy.cel", 28, 28},
};
}  // namespace

using PicturesTest = GraphicsFixture;

// Every picture the program loads at start-up is there, reads whole, and has soft
// edges: some pixels partly opaque, the corners transparent.
TEST_F(PicturesTest, GeneratedFilesLoadWithSoftEdges)
{
    for (const Expected& file : CelFiles) {
        CBCell* cell = Make<CBCell>();
        std::string path = std::string(PICTURE_FOLDER) + "/" + file.name;
        ASSERT_EQ(cell->Load(path.c_str()), 1) << file.name;
        EXPECT_EQ(cell->GetWidth(), file.width) << file.name;
        EXPECT_EQ(cell->GetHeight(), file.height) << file.name;
        int partial = 0;
        for (int i = 0; i < file.width * file.height; i++)
            partial += cell->alpha[i] > 0 && cell->alpha[i] < 255;
        EXPECT_GT(partial, 0) << file.name;
        EXPECT_EQ(cell->alpha[0], 0u) << file.name;
    }
}

TEST_F(PicturesTest, BuiltInPicturesReadFromMemory)
{
    ASSERT_EQ(BuiltinAboutPictureSize, 18825u);
    CMemIO* about = Make<CMemIO>();
    about->Open(BuiltinAboutPicture);
    CCanvas* canvas = Make<CCanvas>();
    canvas->Reset();
    ASSERT_EQ(LoadIes(canvas, about), 1);
    EXPECT_EQ(canvas->GetWidth(), 141);
    EXPECT_EQ(canvas->GetHeight(), 128);
    EXPECT_EQ(about->position - reinterpret_cast<const char*>(BuiltinAboutPicture), 18824);

    const struct { const unsigned char* bytes; unsigned size; int w, h; } cels[] = {
        {BuiltinTitleIcon, BuiltinTitleIconSize, 16, 16},
        {BuiltinChooserFolder, BuiltinChooserFolderSize, 48, 32},
        {BuiltinChooserPage, BuiltinChooserPageSize, 32, 30},
    };
    for (const auto& cel : cels) {
        EXPECT_EQ(cel.size, 2u * (8 + 3u * cel.w * cel.h));
        CMemIO* stream = Make<CMemIO>();
        stream->Open(cel.bytes);
        CBCell* cell = Make<CBCell>();
        ASSERT_EQ(cell->LoadCelChannels(stream), 1);
        EXPECT_EQ(cell->GetWidth(), cel.w);
        EXPECT_EQ(cell->GetHeight(), cel.h);
    }
}

namespace {
// FNV-1a over the pixels: any change in decoding, scaling, alpha or fading shows.
uint64_t PixelHash(PSurface& surface)
{
    uint64_t hash = 1469598103934665603ull;
    for (int y = 0; y < surface.GetHeight(); y++)
        for (int x = 0; x < surface.GetWidth(); x++) {
            uint32_t pixel = surface.GetPixel(x, y);
            for (int byte = 0; byte < 4; byte++) {
                hash ^= (pixel >> (8 * byte)) & 0xFF;
                hash *= 1099511628211ull;
            }
        }
    return hash;
}
}  // namespace

// Draws the pictures as the windows use them: skins scaled to a button, icons over
// them, a round skin, the chooser's faded trail. The pixels are pinned; the text drawn
// afterwards (its look depends on the installed fonts) is only for the preview that a
// person looks at.
TEST_F(PicturesTest, RenderedAsTheWindowsUseThem)
{
    CCanvas* window = Canvas(600, 230, packColour(252, 242, 202));
    // A picture drawn as it is, or first scaled to w × h.
    auto draw = [&](const char* name, int x, int y, int w = 0, int h = 0) {
        CBCell* cell = Make<CBCell>();
        EXPECT_EQ(cell->Load((std::string(PICTURE_FOLDER) + "/" + name).c_str()), 1) << name;
        Variable scaled(w ? cell->Scaled(w, h) : cell);
        window->DrawCell(scaled.As<CBCell>(), x, y);
    };
    const char* skins[] = {"perla_gris_Boto.cel", "perla_blau_Boto.cel", "perla_valkora_Boto.cel"};
    const char* icons[] = {"doc.cel", "NCarpeta.cel", "NCarpetaG.cel"};
    for (int i = 0; i < 3; i++) {
        draw(skins[i], 8 + 3 + 150 * i, 8 + 3, 142, 42);
        draw(icons[i], 8 + 24 + 150 * i, 8 + 8);
    }
    draw("Redonet_blau.cel", 46, 80, 72, 72);
    draw("Info.cel", 46 + 16, 80 + 16);
    CMemIO* stream = Make<CMemIO>();
    stream->Open(BuiltinChooserPage);
    CBCell* page = Make<CBCell>();
    ASSERT_EQ(page->LoadCelChannels(stream), 1);
    for (auto [x, opacity] : {std::pair{290 + 100, 0.2f}, std::pair{268 + 100, 0.4f}, std::pair{253 + 100, 0.7f}})
        page->DrawFaded(window, x, 100, 0, 0, 0, 0, opacity);
    window->DrawCell(page, 243 + 100, 100);
    EXPECT_EQ(PixelHash(*window->GetSurface()), 0xb1e2410ee48bfd28ull);

    for (int i = 0; i < 3; i++) {
        window->SetColour(0);
        window->DrawText("Guardar Como", 8 + 62 + 150 * i, 8 + 30);
    }
    int y = 150;
    for (const char* font : {"Ms Sans Serif:12", "B-Ms Sans Serif:12", "I-U-Ms Sans Serif:14", "Ms Sans Serif:20"}) {
        window->GetFont()->Set(font);
        window->SetColourRGB(5, 2, 1);
        window->DrawText("Ajuste Ponderado \x80 \xf1\xe1", 200, y);
        y += 18;
    }
    EXPECT_EQ(WriteSurfacePng(*window->GetSurface(), PICTURE_FOLDER "/../pictures-preview/as-drawn.png"), 1);
}
