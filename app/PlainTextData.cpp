#include "app/PlainTextData.h"

#include <charconv>
#include <cmath>
#include <vector>

#include "app/CBlockLineReader.h"
#include "app/FitRows.h"
#include "core/NumberText.h"
#include "core/Variable.h"
#include "io/CDataColumn.h"
#include "io/CFile.h"
#include "io/DataCell.h"

namespace {
constexpr int Destinations[5][4] = {
    {}, {}, {0, 2}, {0, 2, 3}, {0, 1, 2, 3},
};

enum class Separator { Blanks, Comma, Semicolon };

// A digit or a sign, the usual case, is told apart with one comparison.
bool IsBlank(char c)
{
    constexpr uint64_t Blanks = 1ull << ' ' | 1ull << '\t' | 1ull << '\r' | 1ull << '\f' | 1ull << '\v';
    auto u = static_cast<unsigned char>(c);
    return u <= ' ' && (Blanks >> u & 1) != 0;
}

std::string_view Trimmed(std::string_view field)
{
    while (!field.empty() && IsBlank(field.front()))
        field.remove_prefix(1);
    while (!field.empty() && IsBlank(field.back()))
        field.remove_suffix(1);
    return field;
}

// Rows straight into the row store, for readers that keep no text.
class FitRowsSink : public PlainTextSink {
public:
    explicit FitRowsSink(FitRows& store) : rows(store) {}
    void Row(const PlainTextRow& row) override { Add(row.count, row.value); }
    void Add(int count, const double value[4])
    {
        // x and y, and the errors where the row has them (none reads as 0).
        rows.Add(value[0], value[count == 4 ? 2 : 1], count >= 3 ? value[count - 1] : 0.0,
                 count == 4 ? value[1] : 0.0);
    }

private:
    FitRows& rows;
};

class Reader {
public:
    Reader(CIO* in, PlainTextSink& rows, FitRowsSink* store = nullptr)
        : lines(in, PlainTextLongestLine), sink(rows), direct(store)
    {
    }

    PlainTextResult Run()
    {
        std::string_view line;
        double value[4];
        while (lines.Next(line)) {
            result.line++;
            if (lines.Cut())
                return Fault(PlainTextResult::LongLine);
            if (direct && expected && result.rows < UINT32_MAX && QuickRow(line, value)) {
                direct->Add(static_cast<int>(expected), value);
                result.rows++;
                continue;
            }
            if (!Line(line))
                return result;
        }
        return result;
    }

private:
    // The common row read in one walk over its bytes: the count of numbers the first
    // row set, each a short decimal, separated as the first row was. False for anything
    // else — comments, blank lines, faults, numbers that need the full conversion — which
    // Line then reads the long way, to the same values.
    bool QuickRow(std::string_view line, double value[4]) const
    {
        const char* p = line.data();
        const char* end = p + line.size();
        bool blanks = separator == Separator::Blanks;
        char mark = separator == Separator::Comma ? ',' : ';';
        for (uint32_t f = 0; f < expected; f++) {
            while (p < end && IsBlank(*p))
                p++;
            if (f > 0 && !blanks) {
                if (p == end || *p != mark)
                    return false;
                for (p++; p < end && IsBlank(*p); p++) {
                }
            }
            p = ReadShortDecimal(p, end, separator == Separator::Semicolon, value[f]);
            if (!p || (blanks && p < end && !IsBlank(*p)))
                return false;
        }
        while (p < end && IsBlank(*p))
            p++;
        return p == end;
    }

    // False after a fault.
    bool Line(std::string_view line)
    {
        std::string_view content = Trimmed(line);
        if (content.empty() || content.front() == '#')
            return true;
        bool first = !started;
        if (first) {
            started = true;
            separator = content.find(';') != std::string_view::npos   ? Separator::Semicolon
                        : content.find(',') != std::string_view::npos ? Separator::Comma
                                                                      : Separator::Blanks;
        }
        uint32_t count = Split(content);
        if (count > 4) {
            result.fields = count;
            Fault(PlainTextResult::BadLine);
            return false;
        }
        PlainTextRow row;
        row.count = static_cast<int>(count);
        int numbers = 0, bad = -1;
        for (uint32_t f = 0; f < count; f++) {
            row.text[f] = Number(f);
            if (IsNumber(row.text[f], row.value[f]))
                numbers++;
            else if (bad < 0)
                bad = static_cast<int>(f);
        }
        if (first && numbers == 0)
            return true;  // the columns' names
        if (expected == 0)
            expected = count;
        if (count < 2 || count != expected) {
            result.fields = count;
            Fault(PlainTextResult::BadLine);
            return false;
        }
        if (bad >= 0) {
            result.token.assign(fields[bad]);
            Fault(PlainTextResult::BadNumber);
            return false;
        }
        if (result.rows == UINT32_MAX) {
            Fault(PlainTextResult::TooManyRows);
            return false;
        }
        sink.Row(row);
        result.rows++;
        return true;
    }

    // Cuts the line into fields; returns their count (beyond four only counted).
    uint32_t Split(std::string_view content)
    {
        uint32_t count = 0;
        auto add = [&](std::string_view field) {
            if (count < 4)
                fields[count] = field;
            count++;
        };
        if (separator == Separator::Blanks) {
            size_t i = 0;
            while (i < content.size()) {
                size_t start = i;
                while (i < content.size() && !IsBlank(content[i]))
                    i++;
                add(content.substr(start, i - start));
                while (i < content.size() && IsBlank(content[i]))
                    i++;
            }
            return count;
        }
        char mark = separator == Separator::Comma ? ',' : ';';
        uint32_t lastFull = 0;
        for (size_t start = 0;;) {
            size_t stop = content.find(mark, start);
            std::string_view field = Trimmed(content.substr(start, stop - start));
            add(field);
            if (!field.empty())
                lastFull = count;
            if (stop == std::string_view::npos)
                break;
            start = stop + 1;
        }
        // Empty fields at the end are columns a spreadsheet left blank.
        return lastFull;
    }

    // The number of field f as read: a decimal comma becomes a point.
    std::string_view Number(uint32_t f)
    {
        if (separator != Separator::Semicolon || fields[f].find(',') == std::string_view::npos)
            return fields[f];
        std::string& copy = pointed[f];
        copy.assign(fields[f]);
        for (char& c : copy)
            if (c == ',')
                c = '.';
        return copy;
    }

    static bool IsNumber(std::string_view text, double& value)
    {
        if (text.empty() || IsBlank(text.front()))
            return false;
        // from_chars reads the same syntax but for a leading '+', and "inf" and "nan",
        // which are no numbers here; beyond the range it leaves the value to the cells'
        // reading.
        auto read = std::from_chars(text.data(), text.data() + text.size(), value);
        if (read.ec == std::errc() && read.ptr == text.data() + text.size())
            return std::isfinite(value);
        uint32_t used = 0;
        value = ParseLeadingNumber(text.data(), static_cast<uint32_t>(text.size()), &used);
        return used == text.size() && std::isfinite(value);
    }

    PlainTextResult Fault(PlainTextResult::Status status)
    {
        result.status = status;
        return result;
    }

    CBlockLineReader lines;
    PlainTextSink& sink;
    FitRowsSink* direct;
    PlainTextResult result;
    bool started = false;
    Separator separator = Separator::Blanks;
    uint32_t expected = 0;
    std::string_view fields[4];
    std::string pointed[4];
};

// Cells for the columns, kept as the text of their numbers.
class ColumnSink : public PlainTextSink {
public:
    explicit ColumnSink(CDataColumn* const data[4]) : columns(data) {}

    void Row(const PlainTextRow& row) override
    {
        for (int f = 0; f < row.count; f++) {
            cell.assign(row.text[f]);
            CleanDataCell(cell.data(), static_cast<uint32_t>(cell.size()));
            columns[PlainTextColumn(row.count, f)]->AddLine(cell.data(), static_cast<uint32_t>(cell.size()));
        }
        // A row without some column still needs its line there.
        rows++;
        for (int c = 0; c < 4; c++)
            if (columns[c]->LineCount() < rows + 1)
                columns[c]->AddLine("", 0);
    }

private:
    CDataColumn* const* columns;
    std::string cell;
    uint32_t rows = 0;
};
}  // namespace

int PlainTextColumn(int count, int field) { return Destinations[count][field]; }

void AddPlainTextRow(FitRows& rows, int count, const double value[4]) { FitRowsSink(rows).Add(count, value); }

PlainTextResult ReadPlainText(CIO* in, PlainTextSink& sink) { return Reader(in, sink).Run(); }

PlainTextResult ReadPlainTextRows(CIO* in, FitRows& rows)
{
    FitRowsSink sink(rows);
    return Reader(in, sink, &sink).Run();
}

PlainTextResult ReadPlainTextData(CApplication* app, const char* path, CDataColumn* const columns[4])
{
    Variable file(new CFile(app));
    if (!file.As<CFile>()->OpenRead(path)) {
        PlainTextResult result;
        result.status = PlainTextResult::CannotOpen;
        return result;
    }
    for (int c = 0; c < 4; c++)
        columns[c]->MakeEmpty();
    ColumnSink sink(columns);
    PlainTextResult result = ReadPlainText(file.As<CFile>(), sink);
    for (int c = 0; c < 4; c++) {
        if (result.status != PlainTextResult::Read)
            columns[c]->MakeEmpty();
        else if (result.rows > 0)
            columns[c]->DeleteFirstLine();
    }
    return result;
}
