// Paints the program's pictures and writes them where the build wants them:
//   picturegen <folder for .cel files> [<preview folder>]
//   picturegen --builtin <file>       (the built-in pictures as C++ source of the graphics library)
//   picturegen --app-icons <folder>   (the desktop icon as ajustor-<size>.png)
//   picturegen --windows-icon <file>  (the desktop icon as a Windows .ico)
// The preview folder gets a PNG of every picture over the windows' background.
#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "platform/PngWriter.h"
#include "tools/picturegen/ImageFiles.h"
#include "tools/picturegen/Pictures.h"

namespace {
struct Named {
    const char* name;
    std::function<Painter()> paint;
};

const std::vector<Named> CelFiles = {
    {"trev_i.cel", pictures::CloverIcon},
    {"perla_gris_Boto.cel", [] { return pictures::PearlSkin(pictures::Grey()); }},
    {"perla_blau_Boto.cel", [] { return pictures::PearlSkin(pictures::Blue()); }},
    {"perla_valkora_Boto.cel", [] { return pictures::PearlSkin(pictures::Orange()); }},
    {"NCarpetaHTML.cel", pictures::HtmlIcon},
    {"doc.cel", pictures::NewIcon},
    {"NCarpeta.cel", pictures::OpenIcon},
    {"NCarpetaG.cel", pictures::SaveIcon},
    {"cd.cel", pictures::SaveAsIcon},
    {"Info.cel", pictures::InfoIcon},
    {"Redonet_gris.cel", [] { return pictures::RoundSkin(pictures::Grey()); }},
    {"Redonet_blau.cel", [] { return pictures::RoundSkin(pictures::Blue()); }},
    {"Redonet_valkora.cel", [] { return pictures::RoundSkin(pictures::Orange()); }},
    {"calx.cel", pictures::SimpleFitIcon},
    {"calc.cel", pictures::WeightedFitIcon},
    {"calxy.cel", pictures::YorkFitIcon},
};

constexpr size_t AboutBlockBytes = 18825;  // the image and one byte after it

const Rgba WindowBackground = Rgb(252, 242, 202);

// Every picture on one sheet at twice its size, for a person to look at.
struct Sheet {
    std::vector<std::pair<std::string, Painter>> pictures;
    void Write(const std::string& folder) const
    {
        const int zoom = 2, gap = 12, maxWidth = 1200;
        int x = gap, y = gap, rowHeight = 0, width = maxWidth, height = 0;
        std::vector<std::pair<int, int>> places;
        for (const auto& [name, picture] : pictures) {
            if (x + picture.width * zoom + gap > maxWidth)
                x = gap, y += rowHeight + gap, rowHeight = 0;
            places.emplace_back(x, y);
            x += picture.width * zoom + gap;
            rowHeight = std::max(rowHeight, picture.height * zoom);
            height = y + rowHeight + gap;
        }
        std::vector<unsigned char> bytes(size_t(width) * height * 4);
        for (size_t i = 0; i < bytes.size(); i += 4)
            bytes[i] = 252, bytes[i + 1] = 242, bytes[i + 2] = 202, bytes[i + 3] = 255;
        for (size_t k = 0; k < pictures.size(); k++) {
            const Painter& picture = pictures[k].second;
            auto image = PreviewBytes(picture, WindowBackground, zoom);
            int w = picture.width * zoom;
            for (int j = 0; j < picture.height * zoom; j++)
                std::copy_n(&image[size_t(j) * w * 4], size_t(w) * 4, &bytes[(size_t(places[k].second + j) * width + places[k].first) * 4]);
        }
        std::string path = folder + "/all-pictures.png";
        WriteRgbaPng(bytes.data(), width, height, path.c_str());
    }
};
Sheet sheet;

void Preview(const std::string& folder, const std::string& name, const Painter& picture)
{
    if (folder.empty())
        return;
    sheet.pictures.emplace_back(name, picture);
    int zoom = picture.width <= 48 ? 4 : 2;
    auto bytes = PreviewBytes(picture, WindowBackground, zoom);
    std::string path = folder + "/" + name + ".png";
    if (!WriteRgbaPng(bytes.data(), picture.width * zoom, picture.height * zoom, path.c_str()))
        std::fprintf(stderr, "picturegen: cannot write %s\n", path.c_str());
}


void EmitArray(std::string& source, const char* name, const ByteString& bytes, const char* what)
{
    source += "\n// " + std::string(what) + "\n";
    source += "const unsigned char " + std::string(name) + "[" + std::to_string(bytes.size()) + "] = {";
    for (size_t i = 0; i < bytes.size(); i++)
        source += (i % 24 == 0 ? "\n    " : " ") + std::to_string(bytes[i]) + ",";
    source += "\n};\nconst unsigned int " + std::string(name) + "Size = " + std::to_string(bytes.size()) + ";\n";
}

bool WriteSource(const std::string& path)
{
    ByteString aboutBytes = IesBytes(pictures::AboutPicture(), pictures::LabelBackground());
    aboutBytes.resize(AboutBlockBytes, 0);
    std::string source = "// Made by tools/picturegen at build time.\n#include \"graphics/BuiltinPictures.h\"\n";
    EmitArray(source, "BuiltinAboutPicture", aboutBytes, "About window: 141 x 128 IES image, then one byte.");
    EmitArray(source, "BuiltinTitleIcon", CelBytes(pictures::TitleIcon()), "Default title-bar icon: 16 x 16 CEL image.");
    EmitArray(source, "BuiltinChooserFolder", CelBytes(pictures::ChooserFolder()), "File chooser: 48 x 32 CEL image.");
    EmitArray(source, "BuiltinChooserPage", CelBytes(pictures::ChooserPage()), "File chooser's fading trail: 32 x 30 CEL image.");
    return WriteBytes(path, ByteString(source.begin(), source.end()));
}

void PreviewBuiltins(const std::string& previews)
{
    Preview(previews, "builtin-about", pictures::AboutPicture());
    Preview(previews, "builtin-title-icon", pictures::TitleIcon());
    Preview(previews, "builtin-chooser-folder", pictures::ChooserFolder());
    Preview(previews, "builtin-chooser-page", pictures::ChooserPage());
}

// The sizes the desktop's icon theme asks for most.
int WriteAppIcons(const std::string& folder)
{
    for (int size : {16, 32, 48, 128}) {
        Painter icon = pictures::AppIcon(size);
        std::string path = folder + "/ajustor-" + std::to_string(size) + ".png";
        if (!WriteRgbaPng(RgbaBytes(icon).data(), size, size, path.c_str())) {
            std::fprintf(stderr, "picturegen: cannot write %s\n", path.c_str());
            return 1;
        }
    }
    return 0;
}

// The sizes Explorer, the taskbar and Alt+Tab show at normal scaling.
int WriteWindowsIcon(const std::string& path)
{
    std::vector<Painter> sizes;
    for (int size : {16, 32, 48})
        sizes.push_back(pictures::AppIcon(size));
    if (!WriteBytes(path, IcoBytes(sizes))) {
        std::fprintf(stderr, "picturegen: cannot write %s\n", path.c_str());
        return 1;
    }
    return 0;
}
}  // namespace

int main(int argc, char** argv)
{
    if (argc == 3 && std::string(argv[1]) == "--app-icons")
        return WriteAppIcons(argv[2]);
    if (argc == 3 && std::string(argv[1]) == "--windows-icon")
        return WriteWindowsIcon(argv[2]);
    if (argc == 3 && std::string(argv[1]) == "--builtin") {
        if (WriteSource(argv[2]))
            return 0;
        std::fprintf(stderr, "picturegen: cannot write %s\n", argv[2]);
        return 1;
    }
    if (argc < 2 || argc > 3 || argv[1][0] == '-') {
        std::fprintf(stderr, "usage: picturegen <cel folder> [<preview folder>]\n"
                             "       picturegen --builtin <source file>\n"
                             "       picturegen --app-icons <folder>\n"
                             "       picturegen --windows-icon <file>\n");
        return 2;
    }
    std::string celFolder = argv[1], previews = argc > 2 ? argv[2] : "";
    for (const Named& file : CelFiles) {
        Painter picture = file.paint();
        if (!WriteBytes(celFolder + "/" + file.name, CelBytes(picture))) {
            std::fprintf(stderr, "picturegen: cannot write %s/%s\n", celFolder.c_str(), file.name);
            return 1;
        }
        Preview(previews, file.name, picture);
    }
    PreviewBuiltins(previews);
    if (!previews.empty())
        sheet.Write(previews);
    return 0;
}
