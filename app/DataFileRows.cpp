#include "app/DataFileRows.h"

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "app/FitLines.h"
#include "app/FitRows.h"
#include "io/CIO.h"
#include "io/CellNumber.h"

namespace {
constexpr size_t BlockSize = 1u << 16;

// The records of a stream, read in large blocks; one record at a time is held. The
// same records as reading lines with a bound: a last record without its line feed is
// one, an empty one is not.
class RecordSource {
public:
    RecordSource(CIO* stream, uint32_t longest) : in(stream), limit(longest), room(size_t(longest) + BlockSize), bytes(std::make_unique_for_overwrite<char[]>(room)) {}

    // The four bytes of the row count; false when the stream holds fewer.
    bool Count(uint32_t& count)
    {
        while (end - begin < 4 && !ended)
            Refill();
        if (end - begin < 4)
            return false;
        auto* b = reinterpret_cast<const unsigned char*>(bytes.get() + begin);
        count = b[0] | b[1] << 8 | b[2] << 16 | uint32_t(b[3]) << 24;
        begin += 4;
        return true;
    }

    // 1 with the next record, 0 at the end; a record longer than the bound comes cut to
    // it, with `cut` set, and is the last.
    int Next(const char*& text, size_t& size)
    {
        for (size_t scanned = 0;;) {
            const char* start = bytes.get() + begin;
            size_t held = end - begin;
            size_t looked = held < size_t(limit) + 1 ? held : size_t(limit) + 1;
            if (const void* feed = std::memchr(start + scanned, '\n', looked - scanned)) {
                text = start;
                size = static_cast<size_t>(static_cast<const char*>(feed) - start);
                begin += size + 1;
                return 1;
            }
            scanned = looked;
            if (held > limit) {
                // The byte after the bound is neither a line feed nor the end.
                cut = true;
                return Last(text, size, limit);
            }
            if (ended)
                return held ? Last(text, size, held) : 0;
            Refill();
        }
    }

    bool cut = false;

private:
    int Last(const char*& text, size_t& size, size_t n)
    {
        text = bytes.get() + begin;
        size = n;
        begin = end;
        ended = true;
        return 1;
    }

    void Refill()
    {
        std::memmove(bytes.get(), bytes.get() + begin, end - begin);
        end -= begin;
        begin = 0;
        // A block at a time: the room beyond is for one long line, touched only by one.
        size_t wanted = room - end < BlockSize ? room - end : BlockSize;
        int got = in->Read(bytes.get() + end, 1, static_cast<uint32_t>(wanted));
        if (got <= 0)
            ended = true;
        else
            end += static_cast<size_t>(got);
    }

    CIO* in;
    uint32_t limit;
    // Not filled at creation: pages a short input never reaches cost no memory.
    size_t room;
    std::unique_ptr<char[]> bytes;
    size_t begin = 0, end = 0;
    bool ended = false;
};

// A cell as the columns would hold it, for a message: line reading turns tabs into
// five spaces.
std::string CellText(const char* text, size_t size)
{
    std::string cell;
    for (size_t i = 0; i < size; i++) {
        if (text[i] == '\t')
            cell.append(5, ' ');
        else
            cell += text[i];
    }
    return cell;
}

FitProblem CellProblem(FitProblem::Kind kind, uint32_t row, int column)
{
    FitProblem problem;
    problem.kind = kind;
    problem.row = row;
    problem.column = column;
    return problem;
}

// Reads the records into the rows; trailing records whose four cells are empty are no
// data, an empty one before a record with data is an empty cell of X.
class RecordReader {
public:
    // The cells a fit uses must hold numbers; the errors are also kept where the rows
    // hold them (for the plot's error bars).
    RecordReader(FitKind kind, FitRows& store)
        : used{true, kind == FitKind::York, true, kind != FitKind::Simple},
          kept{true, store.HasErrorX(), true, store.HasErrors()}, rows(store)
    {
    }

    // False for a cell at fault.
    bool Record(uint32_t index, const char* text, size_t size)
    {
        // The cells that are not kept are checked, not converted.
        CellNumber cell[4];  // a field the record lacks is an empty cell
        const char* at = text;
        const char* end = text + size;
        for (int k = 0; k < 4; k++) {
            const char* stop = ReadCellField(at, end, ';', cell[k], kept[k]);
            if (stop == end)
                break;
            at = stop + 1;
        }
        bool usable = pendingEmpty == 0;
        for (int k = 0; k < 4; k++)
            usable = usable && (used[k] ? cell[k].IsNumber() : cell[k].status != CellNumber::NotANumber);
        if (usable) {
            rows.Add(cell[ColumnX].value, cell[ColumnY].value, cell[ColumnErrorY].value, cell[ColumnErrorX].value);
            return true;
        }
        return Unusable(index, text, size, cell);
    }

    FitProblem problem;

private:
    // A record with an empty or a wrong cell: trailing empty rows are no data, any other
    // is the fault of its first cell at fault, left to right.
    bool Unusable(uint32_t index, const char* text, size_t size, const CellNumber cell[4])
    {
        bool empty = true;
        for (int k = 0; k < 4; k++)
            empty = empty && cell[k].status == CellNumber::Empty;
        if (empty) {
            if (pendingEmpty++ == 0)
                firstEmpty = index;
            return true;
        }
        if (pendingEmpty) {
            problem = CellProblem(FitProblem::EmptyCell, firstEmpty, ColumnX);
            return false;
        }
        const char* field = text;
        const char* end = text + size;
        for (int k = 0; k < 4; k++) {
            auto* stop = static_cast<const char*>(std::memchr(field, ';', static_cast<size_t>(end - field)));
            if (!stop)
                stop = end;
            if (cell[k].status == CellNumber::NotANumber) {
                problem = CellProblem(FitProblem::NotANumber, index, k);
                problem.cell = CellText(field, static_cast<size_t>(stop - field));
                return false;
            }
            if (cell[k].status == CellNumber::Empty && used[k]) {
                problem = CellProblem(FitProblem::EmptyCell, index, k);
                return false;
            }
            field = stop < end ? stop + 1 : end;
        }
        return true;  // not reached: a usable record is added by Record
    }

    const bool used[4];
    const bool kept[4];
    FitRows& rows;
    uint32_t pendingEmpty = 0, firstEmpty = 0;
};
}  // namespace

DataFileRows ReadDataFileRows(CIO* in, FitKind kind, FitRows& rows, uint32_t longestRecord)
{
    DataFileRows result;
    RecordSource records(in, longestRecord);
    RecordReader reader(kind, rows);
    uint32_t count = 0;
    records.Count(count);
    const char* text = nullptr;
    size_t size = 0;
    // The first cell at fault ends the reading: nothing is kept, so endless input of
    // any kind ends at once.
    while (result.records < count && records.Next(text, size)) {
        result.records++;
        if (!reader.Record(result.records - 1, text, size))
            break;
    }
    result.cut = records.cut;
    result.problem = reader.problem;
    if (!result.problem && rows.Count() == 0)
        result.problem = CellProblem(FitProblem::NoData, 0, -1);
    return result;
}
