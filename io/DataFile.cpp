#include "io/DataFile.h"

#include <cerrno>
#include <cstring>
#include <string>

#include "core/CString.h"
#include "core/Variable.h"
#include "io/CDataColumn.h"
#include "io/CFile.h"
#include "io/CReplacingFile.h"
#include "io/DataCell.h"
#include "io/PathText.h"

namespace {
void AppendCell(std::string& record, CString* line)
{
    if (!line)
        return;  // a column shorter than the first gives an empty cell
    size_t start = record.size();
    record.append(line->GetBuffer(), line->GetLength());
    CleanDataCell(record.data() + start, line->GetLength());
}

uint32_t ReadCount(CIO* in)
{
    unsigned char bytes[4] = {};
    if (in->Read(bytes, 4, 1) != 1)
        return 0;
    return bytes[0] | bytes[1] << 8 | bytes[2] << 16 | uint32_t(bytes[3]) << 24;
}

// Appends the first four ";"-separated fields of the record to the columns; missing
// fields are empty, later ones ignored. Control bytes a cell cannot hold become blanks,
// as the saver writes them.
void AddRecord(CString* record, CDataColumn* const columns[DataColumnCount])
{
    std::string cleaned(record->GetBuffer(), record->GetLength());
    for (char& byte : cleaned)
        if (byte != ';' && !IsDataCellByte(byte))
            byte = ' ';
    const char* text = cleaned.data();
    auto size = static_cast<uint32_t>(cleaned.size());
    uint32_t start = 0;
    for (int k = 0; k < DataColumnCount; k++) {
        if (start > size) {
            columns[k]->AddLine("", 0);
            continue;
        }
        auto found = static_cast<const char*>(std::memchr(text + start, ';', size - start));
        uint32_t end = found ? static_cast<uint32_t>(found - text) : size;
        columns[k]->AddLine(text + start, end - start);
        start = end + 1;
    }
}
}  // namespace

int WriteDataSet(CIO* out, CDataColumn* const columns[DataColumnCount])
{
    uint32_t rows = columns[0]->LineCount();
    int counted = WriteDataCount(out, rows);
    return WriteDataRecords(out, columns, 0, rows) && counted;
}

int WriteDataCount(CIO* out, uint32_t rows)
{
    unsigned char count[4] = {static_cast<unsigned char>(rows), static_cast<unsigned char>(rows >> 8),
                              static_cast<unsigned char>(rows >> 16), static_cast<unsigned char>(rows >> 24)};
    return out->Write(count, 4, 1) == 1;
}

int WriteDataRecords(CIO* out, CDataColumn* const columns[DataColumnCount], uint32_t first, uint32_t end)
{
    bool complete = true;
    std::string record;
    for (uint32_t i = first; i < end; i++) {
        record.clear();
        for (int k = 0; k < DataColumnCount; k++) {
            AppendCell(record, columns[k]->LineAt(i));
            record += ';';
        }
        record += '\n';
        auto size = static_cast<uint32_t>(record.size());
        complete = out->Write(record.data(), 1, size) == static_cast<int>(size) && complete;
    }
    return complete ? 1 : 0;
}

uint32_t ReadDataSet(CIO* in, CDataColumn* const columns[DataColumnCount], uint32_t* claimed)
{
    for (int k = 0; k < DataColumnCount; k++)
        columns[k]->MakeEmpty();
    uint32_t rows = ReadCount(in);
    if (claimed)
        *claimed = rows;
    auto record = new CString(in->application);
    Variable hold(record);
    record->Reserve(128);
    uint32_t loaded = 0;
    while (loaded < rows) {
        int complete = in->ReadLineInto(record);
        // A last record without its line feed is kept: it is the user's data.
        if (!complete && record->GetLength() == 0)
            break;
        AddRecord(record, columns);
        loaded++;
        if (!complete)
            break;
    }
    for (int k = 0; k < DataColumnCount; k++)
        columns[k]->DeleteFirstLine();
    return loaded;
}

// The reason of a failure is taken at once, before dropping the file can change errno.
int SaveDataFile(CApplication* app, const char* path, CDataColumn* const columns[DataColumnCount],
                 DataFileOutcome* outcome)
{
    auto file = new CReplacingFile(app);
    Variable hold(file);
    errno = 0;
    int saved = file->Begin(path) && WriteDataSet(file, columns) == 1 && file->Finish() == 1;
    if (!saved) {
        int reason = errno ? errno : EIO;
        file->Abandon();
        if (outcome)
            outcome->error = reason;
    }
    return saved;
}

int SaveDataFile(CString* path, CDataColumn* const columns[DataColumnCount])
{
    Variable hold;
    hold = path;
    const char* text = PathText(path);
    return text ? SaveDataFile(path->application, text, columns) : 0;
}

int LoadDataFile(CApplication* app, const char* path, CDataColumn* const columns[DataColumnCount],
                 DataFileOutcome* outcome)
{
    auto file = new CFile(app);
    Variable hold(file);
    errno = 0;
    if (!file->OpenRead(path)) {
        if (outcome)
            outcome->error = errno ? errno : EIO;
        return 0;
    }
    uint32_t claimed = 0;
    uint32_t loaded = ReadDataSet(file, columns, &claimed);
    if (outcome) {
        outcome->claimed = claimed;
        outcome->loaded = loaded;
    }
    return 1;
}

int LoadDataFile(CString* path, CDataColumn* const columns[DataColumnCount])
{
    Variable hold;
    hold = path;
    const char* text = PathText(path);
    return text ? LoadDataFile(path->application, text, columns) : 0;
}
