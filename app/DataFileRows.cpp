#include "app/DataFileRows.h"

#include <cstring>
#include <string>
#include <vector>

#include "app/CBlockLineReader.h"
#include "app/FitLines.h"
#include "app/FitRows.h"
#include "io/CIO.h"
#include "io/CellNumber.h"

namespace {
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
            problem = FitProblem::At(FitProblem::EmptyCell, firstEmpty, ColumnX);
            return false;
        }
        const char* field = text;
        const char* end = text + size;
        for (int k = 0; k < 4; k++) {
            auto* stop = static_cast<const char*>(std::memchr(field, ';', static_cast<size_t>(end - field)));
            if (!stop)
                stop = end;
            if (cell[k].status == CellNumber::NotANumber) {
                problem = FitProblem::At(FitProblem::NotANumber, index, k);
                problem.cell = CellText(field, static_cast<size_t>(stop - field));
                return false;
            }
            if (cell[k].status == CellNumber::Empty && used[k]) {
                problem = FitProblem::At(FitProblem::EmptyCell, index, k);
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
    CBlockLineReader records(in, longestRecord);
    RecordReader reader(kind, rows);
    uint32_t count = 0;
    // The row count, four bytes little-endian; a stream that holds fewer has no rows.
    if (const char* header = nullptr; records.Take(4, header)) {
        auto* b = reinterpret_cast<const unsigned char*>(header);
        count = b[0] | b[1] << 8 | b[2] << 16 | uint32_t(b[3]) << 24;
    }
    std::string_view record;
    // The first cell at fault ends the reading: nothing is kept, so endless input of
    // any kind ends at once. A record cut at the bound is read as it stands, the last.
    while (result.records < count && records.Next(record)) {
        result.records++;
        if (!reader.Record(result.records - 1, record.data(), record.size()))
            break;
    }
    result.cut = records.Cut();
    result.problem = reader.problem;
    if (!result.problem && rows.Count() == 0)
        result.problem = FitProblem::At(FitProblem::NoData, 0, -1);
    return result;
}
