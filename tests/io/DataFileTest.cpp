#ifndef _WIN32
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <cerrno>
#include <csignal>
#include <vector>

#include "core/CList.h"
#include "io/CDataFileReader.h"
#include "io/CLineColumn.h"
#include "io/CMemIO.h"
#include "io/CReplacingFile.h"
#include "io/DataCell.h"
#include "io/DataFile.h"
#include "tests/io/IOFixture.h"

namespace {
using Lines = std::vector<std::string>;

// Four in-memory columns held for the test.
class DataSet {
public:
    explicit DataSet(CApplication* app)
    {
        for (int k = 0; k < DataColumnCount; k++) {
            held[k] = new CLineColumn(app);
            columns[k] = held[k].As<CLineColumn>();
        }
    }
    void Set(int k, const Lines& lines)
    {
        columns[k]->MakeEmpty();
        for (const auto& line : lines)
            columns[k]->AddLine(line.data(), static_cast<uint32_t>(line.size()));
        columns[k]->DeleteFirstLine();
    }
    Lines Get(int k) const
    {
        Lines lines;
        for (uint32_t i = 0; i < columns[k]->LineCount(); i++)
            lines.push_back(IOFixture::BytesOf(columns[k]->LineAt(i)));
        return lines;
    }
    Variable held[DataColumnCount];
    CDataColumn* columns[DataColumnCount];
};

std::string Count(uint32_t n) { return std::string(reinterpret_cast<const char*>(&n), 4); }

// Left-over temporary files of a save, if any.
[[maybe_unused]] int FilesIn(const std::string& folder)
{
    int n = 0;
    for (auto& entry : std::filesystem::directory_iterator(folder))
        n += entry.is_regular_file() ? 1 : 0;
    return n;
}
}  // namespace

using DataFileTest = IOFixture;

TEST_F(DataFileTest, SavesTheDocumentedBytes)
{
    DataSet data(app);
    data.Set(0, {"1", "2"});
    data.Set(1, {"0.1", "0.1"});
    data.Set(2, {"2.5", "4.1"});
    data.Set(3, {"0.2", "0.3"});
    std::string path = PathOf("datos.dat");
    ASSERT_EQ(SaveDataFile(app, path.c_str(), data.columns), 1);
    EXPECT_EQ(ReadBytes(path), Count(2) + "1;0.1;2.5;0.2;\n2;0.1;4.1;0.3;\n");

    // Only the first column counts rows: others are cut or padded with empty cells.
    data.Set(0, {"1", "2", "3"});
    data.Set(1, {"a", "b", "c", "d", "e"});
    data.Set(2, {"y"});
    data.Set(3, {});
    ASSERT_EQ(SaveDataFile(app, path.c_str(), data.columns), 1);
    EXPECT_EQ(ReadBytes(path), Count(3) + "1;a;y;;\n2;b;;;\n3;c;;;\n");

    // Emptied columns still hold one empty line each: one empty record.
    for (int k = 0; k < DataColumnCount; k++)
        data.columns[k]->MakeEmpty();
    ASSERT_EQ(SaveDataFile(app, path.c_str(), data.columns), 1);
    EXPECT_EQ(ReadBytes(path), Count(1) + ";;;;\n");
}

TEST_F(DataFileTest, LoadsRecordsIntoTheColumns)
{
    DataSet data(app);
    std::string path = PathOf("in.dat");
    WriteBytes(path, Count(3) + "1;0.1;2.5;0.2;\r\n1,5;x;;\n7;8\n");
    ASSERT_EQ(LoadDataFile(app, path.c_str(), data.columns), 1);
    EXPECT_EQ(data.Get(0), (Lines{"1", "1,5", "7"}));
    EXPECT_EQ(data.Get(1), (Lines{"0.1", "x", "8"}));
    EXPECT_EQ(data.Get(2), (Lines{"2.5", "", ""})) << "missing fields are empty lines";
    EXPECT_EQ(data.Get(3), (Lines{"0.2", "", ""})) << "the carriage return falls after the closing separator";

    WriteBytes(path, Count(0));
    ASSERT_EQ(LoadDataFile(app, path.c_str(), data.columns), 1);
    for (int k = 0; k < DataColumnCount; k++)
        EXPECT_EQ(data.Get(k), (Lines{""}));

    // A count smaller than the records reads only that many.
    WriteBytes(path, Count(1) + "1;2;3;4;\n5;6;7;8;\n");
    LoadDataFile(app, path.c_str(), data.columns);
    EXPECT_EQ(data.Get(3), (Lines{"4"}));

    // Tabs come back as five spaces, as every line read does.
    WriteBytes(path, Count(1) + "a\tb;;;;\n");
    LoadDataFile(app, path.c_str(), data.columns);
    EXPECT_EQ(data.Get(0), (Lines{"a     b"}));
}

TEST_F(DataFileTest, DamagedFilesLoadWhatTheyHold)
{
    DataSet data(app);
    std::string path = PathOf("bad.dat");
    for (std::string shortFile : {std::string(), std::string("\x01"), std::string("\x02\0\0", 3)}) {
        data.Set(0, {"old"});
        WriteBytes(path, shortFile);
        EXPECT_EQ(LoadDataFile(app, path.c_str(), data.columns), 1);
        EXPECT_EQ(data.Get(0), (Lines{""})) << "fewer than four bytes: no rows";
    }

    // A count far beyond the records stops at the end of the file, allocating nothing
    // for the rows that are not there.
    WriteBytes(path, Count(0xFFFFFFFF) + "1;2;3;4;\n5;6;7;8;\n");
    ASSERT_EQ(LoadDataFile(app, path.c_str(), data.columns), 1);
    EXPECT_EQ(data.Get(0), (Lines{"1", "5"}));

    // The last record without its line feed is still the user's data.
    WriteBytes(path, Count(5) + "1;2;3;4;\n5;6;7");
    LoadDataFile(app, path.c_str(), data.columns);
    EXPECT_EQ(data.Get(0), (Lines{"1", "5"}));
    EXPECT_EQ(data.Get(2), (Lines{"3", "7"}));
    EXPECT_EQ(data.Get(3), (Lines{"4", ""}));

    // A file that cannot be opened leaves the data set alone.
    data.Set(0, {"keep", "me"});
    EXPECT_EQ(LoadDataFile(app, PathOf("absent.dat").c_str(), data.columns), 0);
    EXPECT_EQ(data.Get(0), (Lines{"keep", "me"}));
    Variable noPath;
    EXPECT_EQ(LoadDataFile(static_cast<CString*>(nullptr), data.columns), 0);
}

TEST_F(DataFileTest, AwkwardCellsComeBackUnchanged)
{
    const Lines cells = {
        "",           "1,5",         "1.5",         " 12 ",   "x\r",       "\ry",
        "\"quoted\"", "a&b<c>d",     "\xe9\xf1\xfc", "\\n",    std::string("z\0z", 3),
        std::string(5000, '7'),      "     ",       "-2.5e3xyz", "1;", // the last one holds a separator
    };
    DataSet data(app);
    for (int k = 0; k < DataColumnCount; k++) {
        Lines shifted(cells.begin() + k, cells.end());
        shifted.insert(shifted.end(), cells.begin(), cells.begin() + k);
        data.Set(k, shifted);
    }
    std::string path = PathOf("awkward.dat");
    ASSERT_EQ(SaveDataFile(app, path.c_str(), data.columns), 1);
    DataSet loaded(app);
    ASSERT_EQ(LoadDataFile(app, path.c_str(), loaded.columns), 1);
    for (int k = 0; k < DataColumnCount; k++) {
        Lines expected = data.Get(k);
        for (auto& cell : expected)
            CleanDataCell(cell.data(), static_cast<uint32_t>(cell.size()));
        EXPECT_EQ(loaded.Get(k), expected) << "column " << k;
    }
}

TEST_F(DataFileTest, BytesAColumnCannotHoldNeverBreakARecord)
{
    EXPECT_FALSE(IsDataCellByte(';'));
    EXPECT_FALSE(IsDataCellByte('\n'));
    EXPECT_FALSE(IsDataCellByte('\t'));
    EXPECT_TRUE(IsDataCellByte('\r'));
    EXPECT_TRUE(IsDataCellByte(','));

    DataSet data(app);
    data.Set(0, {"1;5", "a\nb"});
    data.Set(1, {"tab\there", "ok"});
    data.Set(2, {";;;", "3"});
    data.Set(3, {"4", "\n"});
    std::string path = PathOf("guarded.dat");
    ASSERT_EQ(SaveDataFile(app, path.c_str(), data.columns), 1);
    EXPECT_EQ(ReadBytes(path), Count(2) + "1 5;tab here;   ;4;\na b;ok;3; ;\n");
    DataSet loaded(app);
    LoadDataFile(app, path.c_str(), loaded.columns);
    EXPECT_EQ(loaded.Get(0), (Lines{"1 5", "a b"}));
    EXPECT_EQ(loaded.Get(3), (Lines{"4", " "}));
}

// Permissions, links, size limits, users and devices as Linux has them; the Windows
// build tests its own save (WindowsFilesTest.cpp).
#ifndef _WIN32
TEST_F(DataFileTest, ASaveReplacesTheFileWhole)
{
    DataSet data(app);
    data.Set(0, {"9"});
    std::string path = PathOf("datos.dat");
    WriteBytes(path, "old contents");
    chmod(path.c_str(), 0640);
    Variable name = Text(path);
    ASSERT_EQ(SaveDataFile(name.As<CString>(), data.columns), 1);
    EXPECT_EQ(ReadBytes(path), Count(1) + "9;;;;\n");
    struct stat info {};
    stat(path.c_str(), &info);
    EXPECT_EQ(info.st_mode & 0777, 0640u) << "the replaced file's permissions stay";
    EXPECT_EQ(FilesIn(folder), 1) << "no temporary file left";

    // What killed saves left beside this target goes with the next save; what a running
    // process may be writing, or left beside another target, stays.
    pid_t gone = fork();
    if (gone == 0)
        _exit(0);
    waitpid(gone, nullptr, 0);
    auto leftover = [&](const std::string& base, long process) {
        return PathOf(CReplacingFile::TemporaryName(base, static_cast<unsigned long>(process), 12));
    };
    const std::string killed = leftover("datos.dat", gone), mine = leftover("datos.dat", getpid()),
                      running = leftover("datos.dat", 1), other = leftover("otro.dat", gone);
    for (const std::string& file : {killed, mine, running, other})
        WriteBytes(file, "partial");
    ASSERT_EQ(SaveDataFile(name.As<CString>(), data.columns), 1);
    EXPECT_FALSE(std::filesystem::exists(killed));
    EXPECT_FALSE(std::filesystem::exists(mine));
    EXPECT_TRUE(std::filesystem::exists(running));
    EXPECT_TRUE(std::filesystem::exists(other));
    std::filesystem::remove(running);
    std::filesystem::remove(other);

    // Through a link: the data lands in the linked file and the link stays.
    std::filesystem::create_symlink(path, PathOf("link.dat"));
    data.Set(0, {"8"});
    ASSERT_EQ(SaveDataFile(app, PathOf("link.dat").c_str(), data.columns), 1);
    EXPECT_TRUE(std::filesystem::is_symlink(PathOf("link.dat")));
    EXPECT_EQ(ReadBytes(path), Count(1) + "8;;;;\n");

    // The longest name a folder takes still gets its temporary neighbour.
    std::string longest = PathOf(std::string(255, 'n'));
    ASSERT_EQ(SaveDataFile(app, longest.c_str(), data.columns), 1);
    EXPECT_EQ(ReadBytes(longest), Count(1) + "8;;;;\n");

    // A relative name is relative to the current directory.
    std::filesystem::current_path(folder);
    ASSERT_EQ(SaveDataFile(app, "relativo.dat", data.columns), 1);
    EXPECT_EQ(ReadBytes(PathOf("relativo.dat")), Count(1) + "8;;;;\n");
}

TEST_F(DataFileTest, AFailedSaveLeavesTheOldFile)
{
    DataSet data(app);
    data.Set(0, Lines(20000, "123456789.123456789"));
    std::string path = PathOf("datos.dat");
    const std::string old = Count(1) + "old;;;;\n";
    WriteBytes(path, old);

    // The disk fills half-way: the file size limit stops the write.
    struct rlimit saved {};
    getrlimit(RLIMIT_FSIZE, &saved);
    struct rlimit small = saved;
    small.rlim_cur = 4096;
    auto previous = std::signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &small);
    int result = SaveDataFile(app, path.c_str(), data.columns);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previous);
    EXPECT_EQ(result, 0);
    EXPECT_EQ(ReadBytes(path), old);
    EXPECT_EQ(FilesIn(folder), 1) << "the partial temporary file is removed";

    // A target that cannot be replaced: a directory in its place.
    std::filesystem::create_directory(PathOf("dir.dat"));
    EXPECT_EQ(SaveDataFile(app, PathOf("dir.dat").c_str(), data.columns), 0);
    EXPECT_TRUE(std::filesystem::is_directory(PathOf("dir.dat")));
    EXPECT_EQ(FilesIn(folder), 1);

    // A folder that does not exist.
    EXPECT_EQ(SaveDataFile(app, PathOf("missing/datos.dat").c_str(), data.columns), 0);
    EXPECT_EQ(SaveDataFile(app, "", data.columns), 0);
}

// Saves as a user without the superuser's rights: permissions do not bind root, so
// under root the save runs in a child that has become "nobody".
int SaveUnprivileged(CApplication* app, const std::string& path, CDataColumn* const columns[4])
{
    if (geteuid() != 0)
        return SaveDataFile(app, path.c_str(), columns);
    pid_t child = fork();
    if (child == 0) {
        if (setgid(65534) != 0 || setuid(65534) != 0)
            _exit(3);
        _exit(SaveDataFile(app, path.c_str(), columns));
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// The reason a save met, as a user without the superuser's rights: the child exits
// with the error number (0 for a save that succeeded).
int SaveReasonUnprivileged(CApplication* app, const std::string& path, CDataColumn* const columns[4])
{
    pid_t child = fork();
    if (child == 0) {
        if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0))
            _exit(250);
        DataFileOutcome outcome;
        int saved = SaveDataFile(app, path.c_str(), columns, &outcome);
        _exit(saved ? 0 : outcome.error & 0xFF);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST_F(DataFileTest, FailuresTellTheSystemsReason)
{
    DataSet data(app);
    data.Set(0, {"1", "2"});
    auto saveReason = [&](const std::string& path) {
        DataFileOutcome outcome;
        EXPECT_EQ(SaveDataFile(app, path.c_str(), data.columns, &outcome), 0) << path;
        return outcome.error;
    };
    EXPECT_EQ(saveReason(PathOf("missing/datos.dat")), ENOENT);
    std::filesystem::create_directory(PathOf("dir.dat"));
    EXPECT_EQ(saveReason(PathOf("dir.dat")), EISDIR);
    EXPECT_EQ(saveReason("/dev/full"), ENOSPC) << "the flush of a full device";
    WriteBytes(PathOf("plain"), "x");
    EXPECT_EQ(saveReason(PathOf("plain/datos.dat")), ENOTDIR);
    DataFileOutcome fine;
    EXPECT_EQ(SaveDataFile(app, PathOf("ok.dat").c_str(), data.columns, &fine), 1);
    EXPECT_EQ(fine.error, 0);

    chmod(folder.c_str(), 0555);
    EXPECT_EQ(SaveReasonUnprivileged(app, PathOf("new.dat"), data.columns), EACCES);
    chmod(folder.c_str(), 0755);

    auto loadReason = [&](const std::string& path) {
        DataFileOutcome outcome;
        EXPECT_EQ(LoadDataFile(app, path.c_str(), data.columns, &outcome), 0) << path;
        return outcome.error;
    };
    EXPECT_EQ(loadReason(PathOf("absent.dat")), ENOENT);
    EXPECT_EQ(loadReason(PathOf("dir.dat")), EISDIR);
    EXPECT_EQ(data.Get(0), (Lines{"1", "2"})) << "a failed load changes nothing";

    // A count beyond the records: what the file claims beside what it held.
    WriteBytes(PathOf("short.dat"), Count(7) + "1;2;3;4;\n5;6;7;8;\n");
    DataFileOutcome outcome;
    ASSERT_EQ(LoadDataFile(app, PathOf("short.dat").c_str(), data.columns, &outcome), 1);
    EXPECT_EQ(outcome.error, 0);
    EXPECT_EQ(outcome.claimed, 7u);
    EXPECT_EQ(outcome.loaded, 2u);
}

TEST_F(DataFileTest, ReadOnlyFilesAndFoldersAreLeftAlone)
{
    DataSet data(app);
    std::string path = PathOf("datos.dat");
    WriteBytes(path, "old");
    chmod(folder.c_str(), 0755);
    chmod(path.c_str(), 0444);
    EXPECT_EQ(SaveUnprivileged(app, path, data.columns), 0) << "a read-only file is not replaced";
    EXPECT_EQ(ReadBytes(path), "old");
    chmod(path.c_str(), 0666);
    chmod(folder.c_str(), 0555);
    EXPECT_EQ(SaveUnprivileged(app, path, data.columns), 0) << "a read-only folder takes no new file";
    chmod(folder.c_str(), 0755);
    EXPECT_EQ(ReadBytes(path), "old");
    EXPECT_EQ(FilesIn(folder), 1);
}

#endif

TEST_F(DataFileTest, LineColumnsKeepAtLeastOneLine)
{
    Variable held(new CLineColumn(app));
    auto column = held.As<CLineColumn>();
    EXPECT_EQ(column->LineCount(), 1u);
    EXPECT_EQ(BytesOf(column->LineAt(0)), "");
    EXPECT_EQ(column->LineAt(1), nullptr) << "a missing line is absent";
    column->DeleteFirstLine();
    EXPECT_EQ(column->LineCount(), 1u) << "the last line is never deleted";
    column->AddLine("a");
    column->AddLine(std::string("b\0c", 3).data(), 3);
    column->DeleteFirstLine();
    EXPECT_EQ(column->LineCount(), 2u);
    EXPECT_EQ(BytesOf(column->LineAt(1)), std::string("b\0c", 3));
    EXPECT_EQ(column->GetLines()->GetCount(), 2u);
    column->MakeEmpty();
    EXPECT_EQ(column->LineCount(), 1u);
    EXPECT_EQ(BytesOf(column->LineAt(0)), "");
}

TEST_F(DataFileTest, StreamsCarryTheSameFormat)
{
    DataSet data(app);
    data.Set(0, {"1", "2"});
    data.Set(2, {"3", "4"});
    char block[64] = {};
    Variable out(new CMemIO(app));
    out.As<CMemIO>()->OpenBlock(block, 18);
    EXPECT_EQ(WriteDataSet(out.As<CIO>(), data.columns), 1);
    EXPECT_EQ(std::string(block, 18), Count(2) + "1;;3;;\n2;;4;;\n");
    out.As<CMemIO>()->OpenBlock(block, 17);
    EXPECT_EQ(WriteDataSet(out.As<CIO>(), data.columns), 0) << "a short write is reported";

    DataSet loaded(app);
    Variable in(new CMemIO(app));
    in.As<CMemIO>()->OpenBlock(block, 18);
    ReadDataSet(in.As<CIO>(), loaded.columns);
    EXPECT_EQ(loaded.Get(0), (Lines{"1", "2"}));
    EXPECT_EQ(loaded.Get(2), (Lines{"3", "4"}));
}

#ifndef _WIN32
TEST_F(DataFileTest, DevicesAreWrittenInPlace)
{
    // Nothing to keep on a device: no file is made beside it, nothing renamed over it.
    DataSet data(app);
    EXPECT_EQ(SaveDataFile(app, "/dev/null", data.columns), 1);
    struct stat info {};
    ASSERT_EQ(stat("/dev/null", &info), 0);
    EXPECT_TRUE(S_ISCHR(info.st_mode));
}
#endif

// The staged reader goes a slice at a time and stops, refusing, where the rows would
// take more memory than it was given; the table of damaged files is in the main
// window's test, where they are loaded as a person loads them.
TEST_F(DataFileTest, TheStagedReaderGoesBySlicesWithinItsMemory)
{
    std::string path = PathOf("slices.dat");
    WriteBytes(path, Count(3) + "1;;;;\n2;;;;\n3;;;;\n");
    struct Case {
        uint64_t memory;
        CDataFileReader::Fault fault;
        uint32_t steps;
    } cases[] = {{UINT64_MAX, CDataFileReader::NoFault, 4}, {1000, CDataFileReader::NoMemory, 2},
                 {10, CDataFileReader::NoMemory, 0}};
    for (const Case& c : cases) {
        DataSet data(app);
        CDataFileReader reader(app, data.columns, c.memory);
        uint32_t steps = 0;
        if (reader.Begin(path.c_str()))
            for (steps = 1; reader.Step(1); steps++) {
            }
        EXPECT_EQ(reader.GetOutcome().fault, c.fault) << c.memory;
        EXPECT_EQ(steps, c.steps) << c.memory;
        if (c.fault == CDataFileReader::NoFault) {
            EXPECT_EQ(data.Get(0), (Lines{"1", "2", "3"}));
        }
    }
}
