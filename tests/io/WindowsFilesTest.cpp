// Saving as Windows has it: the atomic save with MoveFileExW, backslashes, wide names,
// read-only and hidden attributes, devices. The navigator's paths and roots are tested
// on both systems in CFileNavigatorTest.
#include <windows.h>
#undef GetClassName  // windows.h renames it; the framework's objects have a method of this name

#include <algorithm>
#include <cerrno>

#include "io/CLineColumn.h"
#include "io/CReplacingFile.h"
#include "io/DataFile.h"
#include "platform/FileNames.h"
#include "tests/io/IOFixture.h"

namespace {
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

using WindowsSaveTest = IOFixture;

TEST_F(WindowsSaveTest, ASaveReplacesAnExistingFileWholeOrLeavesItAsItWas)
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

    // An abandoned save leaves the old file.
    {
        Variable held(new CReplacingFile(app));
        auto* file = held.As<CReplacingFile>();
        ASSERT_EQ(file->Begin(path.c_str()), 1);
        EXPECT_EQ(file->WriteText("half of the new"), 15);
        EXPECT_EQ(FilesIn(folder), 2) << "the new bytes go to a file beside the target";
        file->Abandon();
    }
    EXPECT_EQ(ReadBytes(path), Count(1) + "9;;;;\n");
    EXPECT_EQ(FilesIn(folder), 1);

    // A relative name is relative to the current directory; a device is written in
    // place, with no file made beside it nor moved over it.
    std::filesystem::current_path(std::filesystem::u8path(folder));
    ASSERT_EQ(SaveDataFile(app, "relativo.dat", data.columns), 1);
    EXPECT_EQ(ReadBytes(PathOf("relativo.dat")), Count(1) + "9;;;;\n");
    EXPECT_EQ(SaveDataFile(app, "NUL", data.columns), 1);
    EXPECT_EQ(FilesIn(folder), 2);

    // A name beyond the code page reaches the file of that name.
    std::string accented = PathOf("medici\xC3\xB3n-\xCE\xA9.dat");
    ASSERT_EQ(SaveDataFile(app, accented.c_str(), data.columns), 1);
    EXPECT_NE(GetFileAttributesW(Wide(accented).c_str()), INVALID_FILE_ATTRIBUTES);
    OneRow loaded(app);
    EXPECT_EQ(LoadDataFile(app, accented.c_str(), loaded.columns), 1);
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
