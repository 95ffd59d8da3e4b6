// ajustor.exe carries its icon, in the sizes Windows shows, and its manifest.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace {
std::wstring Wide(const std::string& utf8)
{
    int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), nullptr, 0);
    std::wstring wide(size_t(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), wide.data(), n);
    return wide;
}

// The width of the icon Windows picks from the program for the size asked; 0 if none.
int IconWidth(HMODULE program, int size)
{
    auto icon = static_cast<HICON>(LoadImageW(program, MAKEINTRESOURCEW(1), IMAGE_ICON, size, size, 0));
    if (!icon)
        return 0;
    ICONINFO info{};
    BITMAP colour{};
    bool ok = GetIconInfo(icon, &info) && GetObjectW(info.hbmColor, sizeof colour, &colour);
    if (info.hbmColor)
        DeleteObject(info.hbmColor);
    if (info.hbmMask)
        DeleteObject(info.hbmMask);
    DestroyIcon(icon);
    return ok ? colour.bmWidth : 0;
}
}  // namespace

TEST(ProgramResources, IconInThreeSizesAndManifest)
{
    HMODULE program = LoadLibraryExW(Wide(AJUSTOR_PROGRAM).c_str(), nullptr,
                                     LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ASSERT_TRUE(program) << AJUSTOR_PROGRAM;
    for (int size : {16, 32, 48})
        EXPECT_EQ(IconWidth(program, size), size);
    HRSRC manifest = FindResourceW(program, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));
    ASSERT_TRUE(manifest);
    const char* text = static_cast<const char*>(LockResource(LoadResource(program, manifest)));
    std::string xml(text, SizeofResource(program, manifest));
    EXPECT_NE(xml.find("level=\"asInvoker\""), std::string::npos);
    EXPECT_NE(xml.find("{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"), std::string::npos) << "Windows 10 and 11";
    FreeLibrary(program);
}
