#include <dirent.h>
#include <unistd.h>

#include <algorithm>
#include <vector>

#include "core/CList.h"
#include "io/CFileNavigator.h"
#include "tests/io/IOFixture.h"

namespace {
std::vector<std::string> Names(CList* list)
{
    std::vector<std::string> names;
    for (uint32_t i = 0; list && i < list->GetCount(); i++)
        names.push_back(IOFixture::BytesOf(static_cast<CString*>(list->GetAt(i))));
    return names;
}

// The directory's entries in the system's own order, as readdir gives them.
std::vector<std::string> PlatformOrder(bool directories)
{
    std::vector<std::string> names;
    DIR* d = opendir(".");
    while (dirent* e = readdir(d))
        if (std::filesystem::is_directory(e->d_name) == directories)
            names.push_back(e->d_name);
    closedir(d);
    return names;
}

std::string Current(CFileNavigator* navigator)
{
    Variable path(navigator->GetCurrentPath());
    return IOFixture::BytesOf(path.As<CString>());
}
}  // namespace

using CFileNavigatorTest = IOFixture;

TEST_F(CFileNavigatorTest, ListsDirectoriesThenTheRootAndFilesApartAndOnlyTheRootWhenUnreadable)
{
    std::filesystem::create_directories(PathOf("top/a"));
    std::filesystem::create_directories(PathOf("top/b"));
    WriteBytes(PathOf("top/x"), "1");
    WriteBytes(PathOf("top/y.txt"), "2");
    std::filesystem::create_directory_symlink(PathOf("top/a"), PathOf("top/link"));
    Variable held(new CFileNavigator(app));
    auto navigator = held.As<CFileNavigator>();
    navigator->ChangeDirectory((folder + "/top").c_str());

    Variable directories(navigator->ListDirectories());
    std::vector<std::string> expected = PlatformOrder(true);
    expected.push_back("/");
    EXPECT_EQ(Names(directories.As<CList>()), expected);
    std::vector<std::string> sorted = expected;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(sorted, (std::vector<std::string>{".", "..", "/", "a", "b", "link"}));

    Variable files(navigator->ListFiles());
    std::vector<std::string> names = Names(files.As<CList>());
    EXPECT_EQ(names, PlatformOrder(false));
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"x", "y.txt"}));

    // An unreadable directory lists only the root.
    std::filesystem::create_directories(PathOf("gone"));
    navigator->ChangeDirectory(PathOf("gone").c_str());
    std::filesystem::remove(PathOf("gone"));
    directories = navigator->ListDirectories();
    EXPECT_EQ(Names(directories.As<CList>()), (std::vector<std::string>{"/"}));
    files = navigator->ListFiles();
    EXPECT_EQ(files.As<CList>()->GetCount(), 0u);

    // The base navigator does nothing.
    navigator->ChangeDirectory(folder.c_str());
    Variable base(new CIONavigator(app));
    auto* nothing = base.As<CIONavigator>();
    std::string before = std::filesystem::current_path();
    nothing->ChangeDirectory("/");
    Variable text = Text("/");
    nothing->ChangeDirectory(text.As<CString>());
    EXPECT_EQ(std::filesystem::current_path().string(), before);
    EXPECT_EQ(nothing->ListDirectories(), nullptr);
    EXPECT_EQ(nothing->ListFiles(), nullptr);
    EXPECT_EQ(nothing->GetCurrentPath(), nullptr);
}

TEST_F(CFileNavigatorTest, ChangesAndReportsTheCurrentDirectoryWhateverItsLength)
{
    std::filesystem::create_directories(PathOf("Dades/sub"));
    std::string real = std::filesystem::canonical(folder).string();
    Variable held(new CFileNavigator(app));
    auto navigator = held.As<CFileNavigator>();
    navigator->ChangeDirectory(folder.c_str());
    EXPECT_EQ(Current(navigator), real);

    Variable relative = Text("Dades");
    navigator->ChangeDirectory(relative.As<CString>());
    EXPECT_EQ(Current(navigator), real + "/Dades") << "no trailing separator";
    navigator->ChangeDirectory("missing");
    EXPECT_EQ(Current(navigator), real + "/Dades") << "a missing directory changes nothing";
    navigator->ChangeDirectory("..");
    EXPECT_EQ(Current(navigator), real);

    navigator->ChangeDirectory("/");
    EXPECT_EQ(Current(navigator), "/");
    navigator->ChangeDirectory("..");
    EXPECT_EQ(Current(navigator), "/") << "above the root is the root";
    Variable root(navigator->ListDirectories());
    std::vector<std::string> names = Names(root.As<CList>());
    EXPECT_EQ(names.back(), "/");

    // A relative file name follows the navigator.
    navigator->ChangeDirectory((real + "/Dades/sub").c_str());
    std::ofstream("here.txt") << "x";
    EXPECT_TRUE(std::filesystem::exists(PathOf("Dades/sub/here.txt")));

    std::string path = folder;  // long paths come back whole
    while (path.size() < 700)
        path += "/directorio-con-nombre-largo";
    std::filesystem::create_directories(path);
    navigator->ChangeDirectory(path.c_str());
    EXPECT_EQ(Current(navigator), std::filesystem::canonical(path).string());
}

