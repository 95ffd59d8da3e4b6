#ifndef _WIN32
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <cerrno>
#include <csignal>
#include <utility>
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

// The format both ways, to files and streams: a row count (little-endian), then a
// record a row of the four columns' cells, each ended by ';'. Only the first column
// counts rows; bytes a cell cannot hold in a record come back as spaces.
TEST_F(DataFileTest, SavesAndLoadsTheDocumentedBytes)
{
    DataSet data(app);
    std::string path = PathOf("datos.dat");
    auto saved = [&] {
        EXPECT_EQ(SaveDataFile(app, path.c_str(), data.columns), 1);
        return ReadBytes(path);
    };
    const struct {
        Lines columns[DataColumnCount];
        std::string bytes;
    } saves[] = {
        {{{"1", "2"}, {"0.1", "0.1"}, {"2.5", "4.1"}, {"0.2", "0.3"}}, Count(2) + "1;0.1;2.5;0.2;\n2;0.1;4.1;0.3;\n"},
        {{{"1", "2", "3"}, {"a", "b", "c", "d", "e"}, {"y"}, {}}, Count(3) + "1;a;y;;\n2;b;;;\n3;c;;;\n"},
        {{{"1;5", "a\nb"}, {"tab\there", "ok"}, {";;;", "3"}, {"4", "\n"}}, Count(2) + "1 5;tab here;   ;4;\na b;ok;3; ;\n"},
    };
    for (const auto& c : saves) {
        for (int k = 0; k < DataColumnCount; k++)
            data.Set(k, c.columns[k]);
        EXPECT_EQ(saved(), c.bytes);
    }
    DataSet loaded(app);
    ASSERT_EQ(LoadDataFile(app, path.c_str(), loaded.columns), 1);
    EXPECT_EQ(loaded.Get(0), (Lines{"1 5", "a b"}));
    EXPECT_EQ(loaded.Get(3), (Lines{"4", " "}));
    for (char byte : {';', '\n', '\t'})
        EXPECT_FALSE(IsDataCellByte(byte)) << int(byte);
    EXPECT_TRUE(IsDataCellByte('\r'));
    EXPECT_TRUE(IsDataCellByte(','));

    // Emptied columns still hold one empty line each: one empty record.
    for (int k = 0; k < DataColumnCount; k++)
        data.columns[k]->MakeEmpty();
    EXPECT_EQ(saved(), Count(1) + ";;;;\n");

    const struct {
        std::string bytes;
        Lines columns[DataColumnCount];
    } loads[] = {
        // Missing fields are empty lines; the carriage return falls after the closing separator.
        {Count(3) + "1;0.1;2.5;0.2;\r\n1,5;x;;\n7;8\n", {{"1", "1,5", "7"}, {"0.1", "x", "8"}, {"2.5", "", ""}, {"0.2", "", ""}}},
        {Count(0), {{""}, {""}, {""}, {""}}},
        // A count smaller than the records reads only that many.
        {Count(1) + "1;2;3;4;\n5;6;7;8;\n", {{"1"}, {"2"}, {"3"}, {"4"}}},
        // Tabs come back as five spaces, as every line read does.
        {Count(1) + "a\tb;;;;\n", {{"a     b"}, {""}, {""}, {""}}},
    };
    for (const auto& c : loads) {
        SCOPED_TRACE(c.bytes);
        WriteBytes(path, c.bytes);
        ASSERT_EQ(LoadDataFile(app, path.c_str(), data.columns), 1);
        for (int k = 0; k < DataColumnCount; k++)
            EXPECT_EQ(data.Get(k), c.columns[k]) << "column " << k;
    }

    // A stream takes the same bytes, and a short write is reported.
    data.Set(0, {"1", "2"});
    data.Set(1, {});
    data.Set(2, {"3", "4"});
    data.Set(3, {});
    char block[64] = {};
    Variable out(new CMemIO(app));
    out.As<CMemIO>()->OpenBlock(block, 18);
    EXPECT_EQ(WriteDataSet(out.As<CIO>(), data.columns), 1);
    EXPECT_EQ(std::string(block, 18), Count(2) + "1;;3;;\n2;;4;;\n");
    out.As<CMemIO>()->OpenBlock(block, 17);
    EXPECT_EQ(WriteDataSet(out.As<CIO>(), data.columns), 0);
    DataSet streamed(app);
    Variable in(new CMemIO(app));
    in.As<CMemIO>()->OpenBlock(block, 18);
    ReadDataSet(in.As<CIO>(), streamed.columns);
    EXPECT_EQ(streamed.Get(0), (Lines{"1", "2"}));
    EXPECT_EQ(streamed.Get(2), (Lines{"3", "4"}));
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

    // The columns keep at least one line, and lines of any bytes.
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

// Damaged files load what they hold; a file that cannot be opened leaves the data set
// alone and says why. The staged reader goes a slice at a time and stops, refusing,
// where the rows would take more memory than it was given; the table of damaged files
// is in the main window's test, where they are loaded as a person loads them.
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
    // for the rows that are not there, and tells what the file claimed.
    WriteBytes(path, Count(0xFFFFFFFF) + "1;2;3;4;\n5;6;7;8;\n");
    DataFileOutcome outcome;
    ASSERT_EQ(LoadDataFile(app, path.c_str(), data.columns, &outcome), 1);
    EXPECT_EQ(data.Get(0), (Lines{"1", "5"}));
    EXPECT_EQ(outcome.error, 0);
    EXPECT_EQ(outcome.claimed, 0xFFFFFFFFu);
    EXPECT_EQ(outcome.loaded, 2u);

    // The last record without its line feed is still the user's data.
    WriteBytes(path, Count(5) + "1;2;3;4;\n5;6;7");
    LoadDataFile(app, path.c_str(), data.columns);
    EXPECT_EQ(data.Get(0), (Lines{"1", "5"}));
    EXPECT_EQ(data.Get(2), (Lines{"3", "7"}));
    EXPECT_EQ(data.Get(3), (Lines{"4", ""}));

    data.Set(0, {"keep", "me"});
    std::filesystem::create_directory(PathOf("dir.dat"));
    for (auto [name, error] : {std::pair{"absent.dat", ENOENT}, {"dir.dat", EISDIR}}) {
        EXPECT_EQ(LoadDataFile(app, PathOf(name).c_str(), data.columns, &outcome), 0) << name;
        EXPECT_EQ(outcome.error, error) << name;
    }
    EXPECT_EQ(LoadDataFile(static_cast<CString*>(nullptr), data.columns), 0);
    EXPECT_EQ(data.Get(0), (Lines{"keep", "me"})) << "a failed load changes nothing";

    WriteBytes(path, Count(3) + "1;;;;\n2;;;;\n3;;;;\n");
    struct Case {
        uint64_t memory;
        CDataFileReader::Fault fault;
        uint32_t steps;
    } cases[] = {{UINT64_MAX, CDataFileReader::NoFault, 4}, {1000, CDataFileReader::NoMemory, 2},
                 {10, CDataFileReader::NoMemory, 0}};
    for (const Case& c : cases) {
        DataSet read(app);
        CDataFileReader reader(app, read.columns, c.memory);
        uint32_t steps = 0;
        if (reader.Begin(path.c_str()))
            for (steps = 1; reader.Step(1); steps++) {
            }
        EXPECT_EQ(reader.GetOutcome().fault, c.fault) << c.memory;
        EXPECT_EQ(steps, c.steps) << c.memory;
        if (c.fault == CDataFileReader::NoFault) {
            EXPECT_EQ(read.Get(0), (Lines{"1", "2", "3"}));
        }
    }
}

// Permissions, links, size limits, users and devices as Linux has them; the Windows
// build tests its own save (WindowsFilesTest.cpp).
#ifndef _WIN32
// A save as a user without the superuser's rights (permissions do not bind root: under
// root the child becomes "nobody"); 0, or the error number of the save that failed.
int SaveAsAUser(CApplication* app, const std::string& path, CDataColumn* const columns[4])
{
    pid_t child = fork();
    if (child == 0) {
        if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0))
            _exit(250);
        DataFileOutcome outcome;
        int saved = SaveDataFile(app, path.c_str(), columns, &outcome);
        _exit(saved ? 0 : outcome.error ? outcome.error & 0xFF : 251);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

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

    // Nothing to keep on a device: no file is made beside it, nothing renamed over it.
    EXPECT_EQ(SaveDataFile(app, "/dev/null", data.columns), 1);
    struct stat device {};
    ASSERT_EQ(stat("/dev/null", &device), 0);
    EXPECT_TRUE(S_ISCHR(device.st_mode));
}


// A save that fails leaves the old file, and no temporary one, and says why.
TEST_F(DataFileTest, AFailedSaveLeavesTheOldFileAndTellsWhy)
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

    // Targets that cannot be replaced, and the system's reason.
    std::filesystem::create_directory(PathOf("dir.dat"));
    WriteBytes(PathOf("plain"), "x");
    const std::pair<std::string, int> targets[] = {{PathOf("missing/datos.dat"), ENOENT}, {PathOf("dir.dat"), EISDIR},
                                                   {"/dev/full", ENOSPC},  // the flush of a full device
                                                   {PathOf("plain/datos.dat"), ENOTDIR}};
    for (const auto& [target, error] : targets) {
        DataFileOutcome outcome;
        EXPECT_EQ(SaveDataFile(app, target.c_str(), data.columns, &outcome), 0) << target;
        EXPECT_EQ(outcome.error, error) << target;
    }
    EXPECT_TRUE(std::filesystem::is_directory(PathOf("dir.dat")));
    EXPECT_EQ(SaveDataFile(app, "", data.columns), 0);
    EXPECT_EQ(FilesIn(folder), 2) << "the old file and \"plain\" only";
    DataFileOutcome fine;
    EXPECT_EQ(SaveDataFile(app, PathOf("ok.dat").c_str(), data.columns, &fine), 1);
    EXPECT_EQ(fine.error, 0);

    // A read-only file is not replaced; a read-only folder takes no new file.
    std::filesystem::remove(PathOf("ok.dat"));
    chmod(folder.c_str(), 0755);
    chmod(path.c_str(), 0444);
    EXPECT_EQ(SaveAsAUser(app, path, data.columns), EACCES);
    EXPECT_EQ(ReadBytes(path), old);
    chmod(path.c_str(), 0666);
    chmod(folder.c_str(), 0555);
    EXPECT_EQ(SaveAsAUser(app, path, data.columns), EACCES);
    EXPECT_EQ(SaveAsAUser(app, PathOf("new.dat"), data.columns), EACCES);
    chmod(folder.c_str(), 0755);
    EXPECT_EQ(ReadBytes(path), old);
    EXPECT_EQ(FilesIn(folder), 2);
}
#endif
