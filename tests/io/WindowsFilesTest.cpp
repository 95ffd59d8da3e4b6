// The file system as Windows has it: drive roots, backslashes, wide names, the atomic
// save with MoveFileExW, read-only and hidden attributes, devices.
#include <windows.h>
#undef GetClassName  // windows.h renames it; the framework's objects have a method of this name

#include <algorithm>
#include <cerrno>
#include <vector>

#include "core/CList.h"
#include "io/CFileNavigator.h"
#include "io/CLineColumn.h"
#include "io/CReplacingFile.h"
#include "io/DataFile.h"
#include "platform/FileNames.h"
#include "tests/io/IOFixture.h"

namespace {
std::vector<std::string> Names(CList* list)
{
    std::vector<std::string> names;
    for (uint32_t i = 0; list && i < list->GetCount(); i++)
        names.push_back(IOFixture::BytesOf(static_cast<CString*>(list->GetAt(i))));
    return names;
}

std::string Current(CFileNavigator* navigator)
{
    Variable path(navigator->GetCurrentPath());
    return IOFixture::BytesOf(path.As<CString>());
}

// The drive roots the system reports, in letter order.
std::vector<std::string> Drives()
{
    std::vector<std::string> roots;
    DWORD mask = GetLogicalDrives();
    for (int i = 0; i < 26; i++)
        if (mask & (DWORD(1) << i))
            roots.push_back(std::string(1, char('A' + i)) + ":\\");
    return roots;
}

// The path as the system names it, with backslashes.
std::string Native(std::string path)
{
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

std::wstring Wide(const std::string& path) { return platform::WideFromUtf8(path); }

std::string Count(uint32_t n) { return std::string(reinterpret_cast<const char*>(&n), 4); }

int FilesIn(const std::string& folder)
{
    int n = 0;
    for (auto& entry : std::filesystem::directory_iterator(std::filesystem::u8path(folder)))
        n += entry.is_regular_file() ? 1 : 0;
    return n;
}

// Four columns holding one row "9", "", "", "".
class OneRow {
public:
    explicit OneRow(CApplication* app)
    {
        for (int k = 0; k < DataColumnCount; k++) {
            held[k] = new CLineColumn(app);
            columns[k] = held[k].As<CLineColumn>();
        }
        columns[0]->AddLine("9", 1);
        columns[0]->DeleteFirstLine();
    }
    Variable held[DataColumnCount];
    CDataColumn* columns[DataColumnCount];
};
}  // namespace

using WindowsNavigatorTest = IOFixture;
using WindowsSaveTest = IOFixture;

TEST_F(WindowsNavigatorTest, DirectoriesThenTheDriveRoots)
{
    std::filesystem::create_directories(PathOf("top/a"));
    std::filesystem::create_directories(PathOf("top/b"));
    WriteBytes(PathOf("top/x"), "1");
    WriteBytes(PathOf("top/y.txt"), "2");
    Variable held(new CFileNavigator(app));
    auto navigator = held.As<CFileNavigator>();
    navigator->ChangeDirectory(PathOf("top").c_str());

    Variable directories(navigator->ListDirectories());
    std::vector<std::string> names = Names(directories.As<CList>());
    std::vector<std::string> roots = Drives();
    ASSERT_FALSE(roots.empty());
    ASSERT_GE(names.size(), roots.size() + 4);
    EXPECT_TRUE(std::equal(roots.begin(), roots.end(), names.end() - ptrdiff_t(roots.size())))
        << "every drive root, in letter order, after the directories";
    std::vector<std::string> entries(names.begin(), names.end() - ptrdiff_t(roots.size()));
    std::sort(entries.begin(), entries.end());
    EXPECT_EQ(entries, (std::vector<std::string>{".", "..", "a", "b"}));
    EXPECT_NE(std::find(names.begin(), names.end(), "C:\\"), names.end());

    Variable files(navigator->ListFiles());
    std::vector<std::string> plain = Names(files.As<CList>());
    std::sort(plain.begin(), plain.end());
    EXPECT_EQ(plain, (std::vector<std::string>{"x", "y.txt"}));
    EXPECT_EQ(CFileNavigator::Separator, '\\');
}

TEST_F(WindowsNavigatorTest, PathsUseBackslashesAndRootsKeepTheirs)
{
    std::filesystem::create_directories(PathOf("Dades/sub"));
    Variable held(new CFileNavigator(app));
    auto navigator = held.As<CFileNavigator>();
    navigator->ChangeDirectory(folder.c_str());
    std::string here = Current(navigator);
    EXPECT_EQ(here, Native(folder));
    EXPECT_NE(here.back(), '\\');

    navigator->ChangeDirectory("Dades");
    EXPECT_EQ(Current(navigator), here + "\\Dades") << "joined with a backslash, none at the end";
    navigator->ChangeDirectory("missing");
    EXPECT_EQ(Current(navigator), here + "\\Dades") << "a missing directory changes nothing";
    navigator->ChangeDirectory("sub\\..\\..");
    EXPECT_EQ(Current(navigator), here);

    navigator->ChangeDirectory("C:\\");
    EXPECT_EQ(Current(navigator), "C:\\") << "a drive root comes back with its backslash";
    navigator->ChangeDirectory("..");
    EXPECT_EQ(Current(navigator), "C:\\") << "above the root is the root";
    Variable root(navigator->ListDirectories());
    std::vector<std::string> names = Names(root.As<CList>());
    EXPECT_EQ(std::find(names.begin(), names.end(), ".."), names.end()) << "a drive root has no ..";

    // A relative file name follows the navigator.
    navigator->ChangeDirectory((here + "\\Dades\\sub").c_str());
    WriteBytes("here.txt", "x");
    EXPECT_TRUE(std::filesystem::exists(PathOf("Dades/sub/here.txt")));
}

TEST_F(WindowsNavigatorTest, NamesBeyondTheCodePageAreUtf8)
{
    // "Año" and a Greek letter no Windows-1252 can hold.
    const std::string name = "A\xC3\xB1o-\xCE\xA9";
    ASSERT_TRUE(CreateDirectoryW(Wide(PathOf(name)).c_str(), nullptr));
    Variable held(new CFileNavigator(app));
    auto navigator = held.As<CFileNavigator>();
    navigator->ChangeDirectory(folder.c_str());
    Variable directories(navigator->ListDirectories());
    std::vector<std::string> names = Names(directories.As<CList>());
    EXPECT_NE(std::find(names.begin(), names.end(), name), names.end());
    navigator->ChangeDirectory(name.c_str());
    EXPECT_EQ(Current(navigator), Native(folder) + "\\" + name);
}

TEST_F(WindowsSaveTest, ASaveReplacesAnExistingFileWhole)
{
    OneRow data(app);
    std::string path = PathOf("datos.dat");
    WriteBytes(path, "old contents, longer than the new ones");
    ASSERT_EQ(SaveDataFile(app, path.c_str(), data.columns), 1) << "MoveFileExW replaces the file";
    EXPECT_EQ(ReadBytes(path), Count(1) + "9;;;;\n");
    EXPECT_EQ(FilesIn(folder), 1) << "no temporary file left";

    // Again over the file just written, and with backslashes in the name.
    ASSERT_EQ(SaveDataFile(app, Native(path).c_str(), data.columns), 1);
    EXPECT_EQ(ReadBytes(path), Count(1) + "9;;;;\n");
    EXPECT_EQ(FilesIn(folder), 1);

    // A hidden document stays hidden.
    SetFileAttributesW(Wide(path).c_str(), FILE_ATTRIBUTE_HIDDEN);
    ASSERT_EQ(SaveDataFile(app, path.c_str(), data.columns), 1);
    DWORD attributes = GetFileAttributesW(Wide(path).c_str());
    EXPECT_TRUE(attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_HIDDEN));

    // A relative name is relative to the current directory.
    std::filesystem::current_path(std::filesystem::u8path(folder));
    ASSERT_EQ(SaveDataFile(app, "relativo.dat", data.columns), 1);
    EXPECT_EQ(ReadBytes(PathOf("relativo.dat")), Count(1) + "9;;;;\n");

    // A name beyond the code page reaches the file of that name.
    std::string accented = PathOf("medici\xC3\xB3n-\xCE\xA9.dat");
    ASSERT_EQ(SaveDataFile(app, accented.c_str(), data.columns), 1);
    EXPECT_NE(GetFileAttributesW(Wide(accented).c_str()), INVALID_FILE_ATTRIBUTES);
    OneRow loaded(app);
    EXPECT_EQ(LoadDataFile(app, accented.c_str(), loaded.columns), 1);
}

TEST_F(WindowsSaveTest, AnAbandonedSaveLeavesTheOldFile)
{
    std::string path = PathOf("datos.dat");
    WriteBytes(path, "old");
    {
        Variable held(new CReplacingFile(app));
        auto* file = held.As<CReplacingFile>();
        ASSERT_EQ(file->Begin(path.c_str()), 1);
        EXPECT_EQ(file->WriteText("half of the new"), 15);
        EXPECT_EQ(FilesIn(folder), 2) << "the new bytes go to a file beside the target";
        file->Abandon();
    }
    EXPECT_EQ(ReadBytes(path), "old");
    EXPECT_EQ(FilesIn(folder), 1);
}

TEST_F(WindowsSaveTest, FailuresTellTheSystemsReason)
{
    OneRow data(app);
    auto saveReason = [&](const std::string& path) {
        DataFileOutcome outcome;
        EXPECT_EQ(SaveDataFile(app, path.c_str(), data.columns, &outcome), 0) << path;
        return outcome.error;
    };
    EXPECT_EQ(saveReason(PathOf("missing/datos.dat")), ENOENT);
    std::filesystem::create_directory(std::filesystem::u8path(PathOf("dir.dat")));
    EXPECT_EQ(saveReason(PathOf("dir.dat")), EISDIR);
    EXPECT_TRUE(std::filesystem::is_directory(std::filesystem::u8path(PathOf("dir.dat"))));
    EXPECT_EQ(SaveDataFile(app, "", data.columns), 0);

    // A read-only file is not replaced, though its folder would let a move do it.
    std::string locked = PathOf("locked.dat");
    WriteBytes(locked, "old");
    SetFileAttributesW(Wide(locked).c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(saveReason(locked), EACCES);
    SetFileAttributesW(Wide(locked).c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(ReadBytes(locked), "old");
    EXPECT_EQ(FilesIn(folder), 1);

    auto loadReason = [&](const std::string& path) {
        DataFileOutcome outcome;
        EXPECT_EQ(LoadDataFile(app, path.c_str(), data.columns, &outcome), 0) << path;
        return outcome.error;
    };
    EXPECT_EQ(loadReason(PathOf("absent.dat")), ENOENT);
    EXPECT_EQ(loadReason(PathOf("dir.dat")), EISDIR);
}

TEST_F(WindowsSaveTest, DevicesAreWrittenInPlace)
{
    // Nothing to keep on a device: no file is made beside it, nothing moved over it.
    OneRow data(app);
    std::filesystem::current_path(std::filesystem::u8path(folder));
    EXPECT_EQ(SaveDataFile(app, "NUL", data.columns), 1);
    EXPECT_EQ(FilesIn(folder), 0);
}
