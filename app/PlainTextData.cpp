#include "app/PlainTextData.h"

#include <string>
#include <string_view>
#include <vector>

#include "core/Variable.h"
#include "io/CDataColumn.h"
#include "io/CFile.h"
#include "io/DataCell.h"

namespace {
// Where each field of a row goes, by the row's count of fields.
constexpr int Destinations[5][4] = {
    {}, {}, {0, 2}, {0, 2, 3}, {0, 1, 2, 3},
};

bool ReadWholeFile(CApplication* app, const char* path, std::string& bytes)
{
    Variable file(new CFile(app));
    auto* f = file.As<CFile>();
    if (!f->OpenRead(path))
        return false;
    char chunk[1 << 16];
    int got;
    while ((got = f->Read(chunk, 1, sizeof chunk)) > 0)
        bytes.append(chunk, static_cast<size_t>(got));
    return true;
}

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v'; }

std::vector<std::string_view> Fields(std::string_view line)
{
    std::vector<std::string_view> fields;
    size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && IsBlank(line[i]))
            i++;
        size_t start = i;
        while (i < line.size() && !IsBlank(line[i]))
            i++;
        if (i > start)
            fields.push_back(line.substr(start, i - start));
    }
    return fields;
}

void AddCell(CDataColumn* column, std::string_view field)
{
    std::string cell(field);
    CleanDataCell(cell.data(), static_cast<uint32_t>(cell.size()));
    column->AddLine(cell.data(), static_cast<uint32_t>(cell.size()));
}
}  // namespace

PlainTextResult ReadPlainTextData(CApplication* app, const char* path, CDataColumn* const columns[4])
{
    PlainTextResult result;
    std::string bytes;
    if (!ReadWholeFile(app, path, bytes)) {
        result.status = PlainTextResult::CannotOpen;
        return result;
    }
    for (int c = 0; c < 4; c++)
        columns[c]->MakeEmpty();
    uint32_t lineNumber = 0, rows = 0;
    size_t expected = 0;
    std::string_view rest(bytes);
    while (!rest.empty()) {
        size_t end = rest.find('\n');
        std::string_view line = rest.substr(0, end);
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
        lineNumber++;
        std::vector<std::string_view> fields = Fields(line);
        if (fields.empty() || fields[0][0] == '#')
            continue;
        if (expected == 0)
            expected = fields.size();
        if (fields.size() < 2 || fields.size() > 4 || fields.size() != expected) {
            result = {PlainTextResult::BadLine, lineNumber, static_cast<uint32_t>(fields.size())};
            break;
        }
        for (size_t f = 0; f < fields.size(); f++)
            AddCell(columns[Destinations[fields.size()][f]], fields[f]);
        // A row without some column still needs its line there.
        for (int c = 0; c < 4; c++)
            if (columns[c]->LineCount() < rows + 2)
                columns[c]->AddLine("", 0);
        rows++;
    }
    if (result.status != PlainTextResult::Read) {
        for (int c = 0; c < 4; c++)
            columns[c]->MakeEmpty();
        return result;
    }
    if (rows > 0)
        for (int c = 0; c < 4; c++)
            columns[c]->DeleteFirstLine();
    return result;
}
