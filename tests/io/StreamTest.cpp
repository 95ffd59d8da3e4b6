#include <cstring>

#include "core/CString.h"
#include "io/CCommaFilterIO.h"
#include "io/CFile.h"
#include "io/CMemIO.h"
#include "tests/io/IOFixture.h"

namespace {
// An inner stream that counts the calls reaching it.
class CCountingIO : public CIO {
public:
    explicit CCountingIO(CApplication* app) : CIO(app) {}
    int Read(void* buffer, uint32_t size, uint32_t count) override
    {
        reads++;
        std::memset(buffer, '.', uint64_t(size) * count);
        return static_cast<int>(count);
    }
    int Write(const void* buffer, uint32_t size, uint32_t count) override
    {
        writes++;
        written.append(static_cast<const char*>(buffer), uint64_t(size) * count);
        return static_cast<int>(count);
    }
    int reads = 0;
    int writes = 0;
    std::string written;
};

// Every line ReadLine gives until the end, joined by "|".
std::string AllLines(CIO* stream)
{
    std::string lines;
    while (CString* line = stream->ReadLine()) {
        Variable hold(line);
        lines += IOFixture::BytesOf(line) + "|";
    }
    return lines;
}
}  // namespace

using StreamTest = IOFixture;

TEST_F(StreamTest, ReadLineGivesTheSameLinesFromFilesAndMemory)
{
    const std::string cases[][2] = {
        {std::string("ab\n\tc", 5), "ab|"},                  // unterminated last line dropped
        {"x\r\n", "x\r|"},                                  // carriage return kept
        {"\n\n", "||"},
        {"a\tb\n", "a     b|"},
        {std::string("z\0y\n", 4), std::string("z\0y|", 4)},
        {std::string(700, 'q') + "\t" + std::string(600, 'r') + "\n",
         std::string(700, 'q') + "     " + std::string(600, 'r') + "|"},
        {"", ""},
    };
    for (const auto& c : cases) {
        std::string path = PathOf("lines");
        WriteBytes(path, c[0]);
        Variable file(new CFile(app));
        ASSERT_EQ(file.As<CFile>()->OpenRead(path.c_str()), 1);
        EXPECT_EQ(AllLines(file.As<CIO>()), c[1]);
        EXPECT_EQ(file.As<CIO>()->ReadLine(), nullptr) << "the end stays the end";

        std::string block = c[0];
        Variable memory(new CMemIO(app));
        memory.As<CMemIO>()->OpenBlock(block.data(), static_cast<uint32_t>(block.size()));
        EXPECT_EQ(AllLines(memory.As<CIO>()), c[1]);
    }
}

TEST_F(StreamTest, FilesDevicesAndMemoryWriteExactBytesAndReportReadSeekAndSyncResults)
{
    std::string path = PathOf("out");
    Variable file(new CFile(app));
    CFile* f = file.As<CFile>();
    ASSERT_EQ(f->OpenWrite(path.c_str()), 1);
    EXPECT_EQ(f->WriteLine("abc"), 4);
    EXPECT_EQ(f->WriteText(""), 0);
    Variable text = Text(std::string("d\0e", 3));
    EXPECT_EQ(f->WriteText(text.As<CString>()), 3);
    EXPECT_EQ(f->WriteLine(text.As<CString>()), 4);
    f->Close();
    EXPECT_EQ(ReadBytes(path), std::string("abc\nd\0ed\0e\n", 11));

    WriteBytes(path, "abcdef");
    ASSERT_EQ(f->Open(path.c_str()), 1);
    EXPECT_EQ(ReadBytes(path), "abcdef") << "opening for update does not truncate";
    char buffer[8] = {};
    EXPECT_EQ(f->Read(buffer, 2, 1), 1);
    EXPECT_EQ(f->Write("XY", 1, 2), 2) << "a write right after a read";
    EXPECT_EQ(f->Read(buffer, 1, 1), 1);
    EXPECT_EQ(buffer[0], 'e');
    EXPECT_EQ(f->Seek(-3), -3);
    EXPECT_EQ(f->Read(buffer, 3, 1), 1);
    EXPECT_EQ(std::string(buffer, 3), "XYe");
    EXPECT_EQ(f->Read(buffer, 2, 1), 0) << "the end is hit during this read";
    EXPECT_EQ(f->Read(buffer, 1, 1), -1) << "and reported from then on";
    EXPECT_EQ(f->Seek(-100000), -100000) << "the offset, whatever the seek did";
    f->Close();
    EXPECT_EQ(ReadBytes(path), "abXYef");

    EXPECT_EQ(f->Read(buffer, 1, 1), -1) << "a closed file fails quietly";
    EXPECT_EQ(f->Write("x", 1, 1), 0);
    EXPECT_EQ(f->Seek(5), 5);
    EXPECT_EQ(f->Close(), 0);
    EXPECT_EQ(f->ReadLine(), nullptr);

    // A device refuses to sync (or has nothing to flush); the bytes have still been delivered.
#ifdef _WIN32
    ASSERT_EQ(f->OpenWrite("NUL"), 1);
#else
    ASSERT_EQ(f->OpenWrite("/dev/null"), 1);
#endif
    EXPECT_EQ(f->WriteText("informe"), 7);
    EXPECT_EQ(f->Commit(), 1);
#ifndef _WIN32
    ASSERT_EQ(f->OpenWrite("/dev/full"), 1);
    f->WriteText("informe");
    EXPECT_EQ(f->Commit(), 0) << "a failed write is still a failure";
#endif

    // Memory reads and writes its block in place.
    char block[8] = "abcdefg";
    Variable memory(new CMemIO(app));
    CMemIO* m = memory.As<CMemIO>();
    ASSERT_EQ(m->Open(static_cast<const void*>(block)), 1);
    EXPECT_EQ(m->created, 1);
    EXPECT_EQ(m->Read(buffer, 2, 2), 2);
    EXPECT_EQ(std::string(buffer, 4), "abcd");
    EXPECT_EQ(m->Seek(-4), -4);
    EXPECT_EQ(m->Write("XY", 1, 2), 2);
    EXPECT_EQ(std::string(block), "XYcdefg");

    // A bounded block ends like a file: a short read, then -1.
    ASSERT_EQ(m->OpenBlock(block, 5), 1);
    EXPECT_EQ(m->Read(buffer, 2, 2), 2);
    EXPECT_EQ(m->Read(buffer, 2, 1), 0);
    EXPECT_EQ(m->Read(buffer, 1, 1), -1);
    EXPECT_EQ(m->Seek(-100), -100);
    EXPECT_EQ(m->Read(buffer, 1, 1), 1);
    EXPECT_EQ(buffer[0], 'X') << "a seek stays inside the block";
    EXPECT_EQ(m->Seek(100), 100);
    EXPECT_EQ(m->Write("!", 1, 1), 0) << "no write past the end";
    EXPECT_EQ(block[5], 'f');
}

TEST_F(StreamTest, FileOpenRules)
{
    Variable file(new CFile(app));
    CFile* f = file.As<CFile>();
    std::string fresh = PathOf("new");
    EXPECT_EQ(f->Open(fresh.c_str()), 1);
    EXPECT_EQ(f->created, 1);
    f->Close();
    EXPECT_TRUE(std::filesystem::exists(fresh));
    EXPECT_EQ(std::filesystem::file_size(fresh), 0u);

    EXPECT_EQ(f->Open(PathOf("missing/x").c_str()), 0);
    EXPECT_EQ(f->created, 0);
    EXPECT_EQ(f->handle, nullptr);
    EXPECT_EQ(f->OpenRead(PathOf("absent").c_str()), 0);
    EXPECT_EQ(f->OpenRead(folder.c_str()), 0) << "a folder is not a file";
    EXPECT_EQ(f->Open(folder.c_str()), 0);
    EXPECT_EQ(f->Open(static_cast<CString*>(nullptr)), 0);
    EXPECT_EQ(f->Open(static_cast<const void*>(nullptr)), 0);
    EXPECT_EQ(f->created, 0);

    Variable embeddedZero = Text(fresh + std::string("\0x", 2));
    EXPECT_EQ(f->Open(embeddedZero.As<CString>()), 0) << "a zero byte would name another file";
    EXPECT_EQ(f->OpenWrite(embeddedZero.As<CString>()), 0);

    // Reopening closes the first file, whose bytes must reach the disk.
    std::string first = PathOf("first");
    ASSERT_EQ(f->OpenWrite(first.c_str()), 1);
    f->WriteText("one");
    Variable second = Text(PathOf("second"));
    ASSERT_EQ(f->OpenWrite(second.As<CString>()), 1);
    EXPECT_EQ(ReadBytes(first), "one");
    f->WriteText("two");
    file.Clear();  // the last reference closes the file
    EXPECT_EQ(ReadBytes(PathOf("second")), "two");

    Variable again(new CFile(app));
    EXPECT_EQ(again.As<CFile>()->OpenNew(first.c_str()), 0) << "OpenNew never touches an existing file";
    EXPECT_EQ(ReadBytes(first), "one");
}

TEST_F(StreamTest, CommaFilterTurnsPointsIntoCommasBothWaysAndKeepsItsInnerStreamAlive)
{
    std::string path = PathOf("report");
    Variable file(new CFile(app));
    ASSERT_EQ(file.As<CFile>()->OpenWrite(path.c_str()), 1);
    Variable filter(new CCommaFilterIO(app));
    CCommaFilterIO* f = filter.As<CCommaFilterIO>();
    f->inner = file.Get();
    EXPECT_EQ(f->WriteText("1.5;2.25"), 8);
    EXPECT_EQ(f->created, 0) << "a filter is never flagged open";
    file.As<CFile>()->Close();
    EXPECT_EQ(ReadBytes(path), "1,5;2,25");

    WriteBytes(path, "3.5\n3,5\n");
    ASSERT_EQ(file.As<CFile>()->OpenRead(path.c_str()), 1);
    EXPECT_EQ(AllLines(f), "3,5|3,5|");
    EXPECT_EQ(f->Open(path.c_str()), 0) << "opening is not passed on";
    EXPECT_EQ(f->Seek(4), 0);

    Variable counting(new CCountingIO(app));
    f->inner = counting.Get();
    char buffer[4] = {'a', 'b', 'c', 'd'};
    EXPECT_EQ(f->Read(buffer, 0, 5), 0);
    EXPECT_EQ(f->Write(buffer, 4, 0), 0);
    EXPECT_EQ(counting.As<CCountingIO>()->reads + counting.As<CCountingIO>()->writes, 0);
    EXPECT_EQ(f->Read(buffer, 2, 2), 2);
    EXPECT_EQ(std::string(buffer, 4), ",,,,");
    EXPECT_EQ(f->Write("a.b", 1, 3), 3);
    EXPECT_EQ(counting.As<CCountingIO>()->written, "a,b");

    f->inner.Clear();
    EXPECT_EQ(f->Write("x", 1, 1), 0) << "no inner stream, nothing written";

    // The filter alone keeps its inner file alive, and closes it when released.
    ASSERT_EQ(file.As<CFile>()->OpenWrite(path.c_str()), 1);
    f->inner = file.Get();
    file.Clear();
    f->WriteText("0.5");
    filter.Clear();
    EXPECT_EQ(ReadBytes(path), "0,5");
}

TEST_F(StreamTest, LongLinesAreReadWholeUnlessALimitIsSet)
{
    // Gathered in small pieces, each appended to the whole, such a line took minutes.
    const size_t size = 24u << 20;
    std::string text(size, 'x');
    text[size / 2] = '\t';
    text += "\nfin\n";
    std::string expected(size - 1 + 5, 'x');
    expected.replace(size / 2, 5, "     ");
    std::string path = PathOf("long");
    WriteBytes(path, text);

    Variable file(new CFile(app));
    ASSERT_EQ(file.As<CFile>()->OpenRead(path.c_str()), 1);
    Variable line(new CString(app));
    ASSERT_EQ(file.As<CFile>()->ReadLineInto(line.As<CString>()), 1);
    EXPECT_TRUE(BytesOf(line.As<CString>()) == expected);
    ASSERT_EQ(file.As<CFile>()->ReadLineInto(line.As<CString>()), 1);
    EXPECT_EQ(BytesOf(line.As<CString>()), "fin");

    Variable memory(new CMemIO(app));
    memory.As<CMemIO>()->OpenBlock(text.data(), static_cast<uint32_t>(text.size()));
    CString* first = memory.As<CIO>()->ReadLine();
    Variable hold(first);
    EXPECT_TRUE(BytesOf(first) == expected);

    // A line limit ends reading at an overlong line.
    WriteBytes(path, "0123456789\n" + std::string(11, 'y') + "\nz\n");
    auto* f = file.As<CFile>();
    ASSERT_EQ(f->OpenRead(path.c_str()), 1);
    f->LimitLines(10);
    EXPECT_EQ(f->ReadLineInto(line.As<CString>()), 1);  // exactly the limit is a line
    EXPECT_EQ(BytesOf(line.As<CString>()), "0123456789");
    EXPECT_FALSE(f->LineWasCut());
    EXPECT_EQ(f->ReadLineInto(line.As<CString>()), 0);
    EXPECT_TRUE(f->LineWasCut());
}
