// The data-file loader over arbitrary bytes. Whatever the bytes, loading gives four
// columns of equal length holding no byte a column cannot hold, never more rows than
// the file has lines; loading from a file and from memory agree; and saving what was
// loaded and loading it again gives the same columns.
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "core/CString.h"
#include "core/Variable.h"
#include "fuzz/io/FuzzInput.h"
#include "io/CLineColumn.h"
#include "io/CMemIO.h"
#include "io/DataCell.h"
#include "io/DataFile.h"

namespace {
using Table = std::vector<std::vector<std::string>>;

struct Columns {
    explicit Columns(CApplication* app)
    {
        for (int k = 0; k < DataColumnCount; k++) {
            held[k] = new CLineColumn(app);
            pointers[k] = held[k].As<CLineColumn>();
        }
    }
    Table Contents() const
    {
        Table table(DataColumnCount);
        for (int k = 0; k < DataColumnCount; k++)
            for (uint32_t i = 0; i < pointers[k]->LineCount(); i++) {
                CString* line = pointers[k]->LineAt(i);
                table[k].emplace_back(line->GetBuffer(), line->GetLength());
            }
        return table;
    }
    Variable held[DataColumnCount];
    CDataColumn* pointers[DataColumnCount];
};

void Check(bool condition)
{
    if (!condition)
        std::abort();
}

void CheckShape(const Table& table, size_t lineFeeds)
{
    size_t rows = table[0].size();
    Check(rows >= 1 && rows <= lineFeeds + 1);
    for (const auto& column : table) {
        Check(column.size() == rows);
        for (const auto& cell : column)
            for (char c : cell)
                Check(IsDataCellByte(c));
    }
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > (1u << 20))
        return 0;
    CApplication* app = FuzzApplication();
    std::vector<uint8_t> block(data, data + size);

    Columns fromMemory(app);
    Variable in(new CMemIO(app));
    in.As<CMemIO>()->OpenBlock(block.data(), static_cast<uint32_t>(size));
    ReadDataSet(in.As<CIO>(), fromMemory.pointers);
    Table loaded = fromMemory.Contents();
    CheckShape(loaded, static_cast<size_t>(std::count(block.begin(), block.end(), '\n')));

    Columns fromFile(app);
    Check(LoadDataFile(app, FuzzFile(data, size).c_str(), fromFile.pointers) == 1);
    Check(fromFile.Contents() == loaded);

    // Saving writes at most five bytes for every byte read (a tab grows into five
    // spaces, a bare line feed into a record of four empty cells), plus a last record.
    std::vector<char> saved(size * 6 + 64);
    Variable out(new CMemIO(app));
    out.As<CMemIO>()->OpenBlock(saved.data(), static_cast<uint32_t>(saved.size()));
    Check(WriteDataSet(out.As<CIO>(), fromMemory.pointers) == 1);
    size_t written = static_cast<size_t>(out.As<CMemIO>()->position - saved.data());

    Columns again(app);
    in.As<CMemIO>()->OpenBlock(saved.data(), static_cast<uint32_t>(written));
    ReadDataSet(in.As<CIO>(), again.pointers);
    Check(again.Contents() == loaded);
    return 0;
}
