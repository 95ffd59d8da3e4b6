#include "io/CDataFileReader.h"

#include <cerrno>
#include <cstring>

#include "core/CString.h"
#include "io/CDataColumn.h"
#include "io/CFile.h"
#include "io/DataCell.h"

namespace {
// The least bytes of a record: four separators and a line feed.
constexpr uint64_t ShortestRecord = 5;
// What a stored cell costs beyond its characters: its string object, the registry's
// entry and the list's slot, with the allocator's rounding. Measured, rounded up.
constexpr uint64_t CellOverhead = 160;

bool IsText(const char* bytes, uint32_t size)
{
    for (uint32_t i = 0; i < size; i++) {
        auto byte = static_cast<unsigned char>(bytes[i]);
        if (byte < 0x20 && byte != '\r')
            return false;
    }
    return true;
}

// A line with nothing but an optional carriage return.
bool IsBlank(CString* line) { return line->GetLength() == 0 || (line->GetLength() == 1 && line->GetBuffer()[0] == '\r'); }
}  // namespace

CDataFileReader::CDataFileReader(CApplication* app, CDataColumn* const target[DataColumnCount], uint64_t memory)
    : memoryLeft(memory)
{
    for (int k = 0; k < DataColumnCount; k++)
        columns[k] = target[k];
    file = new CFile(app);
    line = new CString(app);
    line.As<CString>()->Reserve(128);
}

int CDataFileReader::Begin(const char* path)
{
    auto* in = file.As<CFile>();
    errno = 0;
    if (!in->OpenRead(path)) {
        outcome.error = errno ? errno : EIO;
        return Fail(CannotOpen);
    }
    unsigned char count[4];
    if (in->Read(count, 4, 1) != 1)
        return Fail(NoCount);
    outcome.claimed = count[0] | count[1] << 8 | count[2] << 16 | uint32_t(count[3]) << 24;
    outcome.size = in->Size();
    // The count of an HTML page or a picture is its first four bytes read as a number,
    // far more records than the file could hold.
    if (outcome.size >= 4 && uint64_t(outcome.claimed) * ShortestRecord > uint64_t(outcome.size - 4))
        return Fail(CountBeyondSize);
    if (outcome.size > 0 && uint64_t(outcome.size) > memoryLeft)
        return Fail(NoMemory);
    in->LimitLines(DataFileLongestRecord);
    return 1;
}

int CDataFileReader::Step(uint32_t records)
{
    auto* in = file.As<CFile>();
    auto* record = line.As<CString>();
    if (outcome.fault != NoFault || !in->created)
        return 0;
    for (uint32_t n = 0; n < records; n++) {
        int complete = in->ReadLineInto(record);
        if (in->LineWasCut()) {
            outcome.record = outcome.loaded + 1;
            return Fail(LongRecord);
        }
        if (!complete && record->GetLength() == 0)
            return Finish();
        // Blank lines may end a file edited by hand; anywhere else they are no record.
        if (IsBlank(record)) {
            trailingBlank = true;
        } else if (trailingBlank || !AddRecord(record)) {
            outcome.record = outcome.loaded + 1;
            return outcome.fault != NoFault ? 0 : Fail(BadRecord);
        } else {
            outcome.loaded++;
        }
        if (!complete)
            return Finish();
    }
    return 1;
}

int CDataFileReader::Fail(Fault fault)
{
    outcome.fault = fault;
    file.As<CFile>()->Close();
    return 0;
}

int CDataFileReader::Finish()
{
    auto* in = file.As<CFile>();
    if (in->handle && std::ferror(in->handle)) {
        outcome.error = EIO;
        return Fail(ReadError);
    }
    in->Close();
    for (int k = 0; k < DataColumnCount; k++)
        columns[k]->DeleteFirstLine();
    return 0;
}

// Four fields, each closed by ";"; after the fourth only a carriage return may stand.
bool CDataFileReader::AddRecord(CString* record)
{
    const char* text = record->GetBuffer();
    uint32_t size = record->GetLength();
    if (!IsText(text, size)) {
        outcome.fault = NotText;
        file.As<CFile>()->Close();
        return false;
    }
    const char* ends[DataColumnCount];
    uint32_t start = 0;
    for (int k = 0; k < DataColumnCount; k++) {
        auto found = static_cast<const char*>(std::memchr(text + start, ';', size - start));
        if (!found)
            return false;
        ends[k] = found;
        start = uint32_t(found - text) + 1;
    }
    if (start != size && !(start + 1 == size && text[start] == '\r'))
        return false;
    uint64_t cost = 0;
    const char* from = text;
    for (int k = 0; k < DataColumnCount; k++) {
        uint32_t cell = uint32_t(ends[k] - from);
        if (cell > DataCellLongest) {
            cell = DataCellLongest;
            outcome.cutCells++;
        }
        cost += CellOverhead + cell;
        if (cost > memoryLeft) {
            outcome.fault = NoMemory;
            file.As<CFile>()->Close();
            return false;
        }
        columns[k]->AddLine(from, cell);
        from = ends[k] + 1;
    }
    memoryLeft -= cost;
    return true;
}
