#ifndef _WIN32
#include <dirent.h>
#endif

#include <algorithm>
#include <vector>

#include "core/CList.h"
#include "io/CFileNavigator.h"
#include "tests/common/FolderPaths.h"
#include "tests/io/IOFixture.h"

using folder_paths::CurrentFolder;
using folder_paths::FsPath;
using folder_paths::Join;
using folder_paths::RootOf;
using folder_paths::Roots;
using folder_paths::Utf8;
using Names = std::vector<std::string>;

namespace {
Names NamesIn(CList* list)
{
    Names names;
    for (uint32_t i = 0; list && i < list->GetCount(); i++)
        names.push_back(IOFixture::BytesOf(static_cast<CString*>(list->GetAt(i))));
    return names;
}

std::string Current(CFileNavigator* navigator)
{
    Variable path(navigator->GetCurrentPath());
    return IOFixture::BytesOf(path.As<CString>());
}

#ifndef _WIN32
// The directory's entries in the system's own order, as readdir gives them.
Names SystemOrder(bool directories)
{
    Names names;
    DIR* d = opendir(".");
    while (dirent* e = readdir(d))
        if (std::filesystem::is_directory(e->d_name) == directories)
            names.push_back(e->d_name);
    closedir(d);
    return names;
}
#endif
}  // namespace

using CFileNavigatorTest = IOFixture;

TEST_F(CFileNavigatorTest, ListsDirectoriesThenTheRootsAndFilesApart)
{
    std::filesystem::create_directories(FsPath(PathOf("top/a")));
    std::filesystem::create_directories(FsPath(PathOf("top/b")));
    WriteBytes(PathOf("top/x"), "1");
    WriteBytes(PathOf("top/y.txt"), "2");
    Names expected = {".", "..", "a", "b"};
#ifndef _WIN32
    std::filesystem::create_directory_symlink(PathOf("top/a"), PathOf("top/link"));  // listed as what it leads to
    expected.push_back("link");
#endif
    Variable held(new CFileNavigator(app));
    auto navigator = held.As<CFileNavigator>();
    navigator->ChangeDirectory(PathOf("top").c_str());

    Variable directories(navigator->ListDirectories());
    Names names = NamesIn(directories.As<CList>());
    const Names roots = Roots();
    ASSERT_GT(names.size(), roots.size());
    Names entries(names.begin(), names.end() - ptrdiff_t(roots.size()));
    EXPECT_EQ(Names(names.end() - ptrdiff_t(roots.size()), names.end()), roots) << "every root, after the directories";
    Variable files(navigator->ListFiles());
    Names plain = NamesIn(files.As<CList>());
#ifndef _WIN32
    EXPECT_EQ(entries, SystemOrder(true)) << "in the system's own order";
    EXPECT_EQ(plain, SystemOrder(false));

    // An unreadable directory lists only the root.
    std::filesystem::create_directories(PathOf("gone"));
    navigator->ChangeDirectory(PathOf("gone").c_str());
    std::filesystem::remove(PathOf("gone"));
    directories = navigator->ListDirectories();
    EXPECT_EQ(NamesIn(directories.As<CList>()), roots);
    files = navigator->ListFiles();
    EXPECT_EQ(files.As<CList>()->GetCount(), 0u);
#endif
    std::sort(entries.begin(), entries.end());
    EXPECT_EQ(entries, expected);
    std::sort(plain.begin(), plain.end());
    EXPECT_EQ(plain, (Names{"x", "y.txt"}));

    // The base navigator does nothing.
    navigator->ChangeDirectory(folder.c_str());
    Variable base(new CIONavigator(app));
    auto* nothing = base.As<CIONavigator>();
    std::string before = CurrentFolder();
    nothing->ChangeDirectory(roots[0].c_str());
    Variable text = Text(roots[0]);
    nothing->ChangeDirectory(text.As<CString>());
    EXPECT_EQ(CurrentFolder(), before);
    EXPECT_EQ(nothing->ListDirectories(), nullptr);
    EXPECT_EQ(nothing->ListFiles(), nullptr);
    EXPECT_EQ(nothing->GetCurrentPath(), nullptr);
}

// Paths come back as the system writes them: the real path with its separator, none at
// the end but a root's, and names beyond any code page in UTF-8.
TEST_F(CFileNavigatorTest, ChangesAndReportsTheCurrentDirectoryWhateverItsName)
{
    std::filesystem::create_directories(FsPath(PathOf("Dades/sub")));
    const std::string here = Utf8(std::filesystem::canonical(FsPath(folder)).make_preferred());
    Variable held(new CFileNavigator(app));
    auto navigator = held.As<CFileNavigator>();
    navigator->ChangeDirectory(folder.c_str());
    EXPECT_EQ(Current(navigator), here);

    Variable relative = Text("Dades");
    navigator->ChangeDirectory(relative.As<CString>());
    EXPECT_EQ(Current(navigator), Join(here, "Dades"));
    navigator->ChangeDirectory("missing");
    EXPECT_EQ(Current(navigator), Join(here, "Dades")) << "a missing directory changes nothing";
    navigator->ChangeDirectory(Join(Join("sub", ".."), "..").c_str());
    EXPECT_EQ(Current(navigator), here);

    const std::string root = RootOf(here);
    navigator->ChangeDirectory(root.c_str());
    EXPECT_EQ(Current(navigator), root);
    navigator->ChangeDirectory("..");
    EXPECT_EQ(Current(navigator), root) << "above the root is the root";
#ifdef _WIN32
    Variable atRoot(navigator->ListDirectories());
    Names names = NamesIn(atRoot.As<CList>());
    EXPECT_EQ(std::find(names.begin(), names.end(), ".."), names.end()) << "a drive root has no ..";
#endif

    // A relative file name follows the navigator.
    navigator->ChangeDirectory(Join(here, Join("Dades", "sub")).c_str());
    WriteBytes("here.txt", "x");
    EXPECT_TRUE(std::filesystem::exists(FsPath(PathOf("Dades/sub/here.txt"))));

    // "Año" and a Greek letter no single-byte code page holds.
    const std::string name = "A\xC3\xB1o-\xCE\xA9";
    ASSERT_TRUE(std::filesystem::create_directory(FsPath(Join(here, name))));
    navigator->ChangeDirectory(here.c_str());
    Variable directories(navigator->ListDirectories());
    Names listed = NamesIn(directories.As<CList>());
    EXPECT_NE(std::find(listed.begin(), listed.end(), name), listed.end());
    navigator->ChangeDirectory(name.c_str());
    EXPECT_EQ(Current(navigator), Join(here, name));

#ifndef _WIN32
    std::string path = folder;  // long paths come back whole
    while (path.size() < 700)
        path += "/directorio-con-nombre-largo";
    std::filesystem::create_directories(path);
    navigator->ChangeDirectory(path.c_str());
    EXPECT_EQ(Current(navigator), std::filesystem::canonical(path).string());
#endif
}
