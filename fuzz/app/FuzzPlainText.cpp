// The plain text reader of ajustor-fit over arbitrary bytes. Whatever the bytes: a
// fault names a line the input has; every row has the count of numbers of the first,
// two to four, and every number is a whole, finite number whose text reads back as its
// value; reading into columns gives the same rows.
#include <cmath>
#include <string>
#include <vector>

#include "app/PlainTextData.h"
#include "core/NumberText.h"
#include "core/Variable.h"
#include "fuzz/io/FuzzInput.h"
#include "io/CFile.h"
#include "io/CLineColumn.h"

namespace {
void Check(bool condition)
{
    if (!condition)
        std::abort();
}

class CheckingSink : public PlainTextSink {
public:
    void Row(const PlainTextRow& row) override
    {
        Check(row.count >= 2 && row.count <= 4);
        Check(count == 0 || row.count == count);
        count = row.count;
        for (int f = 0; f < row.count; f++) {
            uint32_t used = 0;
            double value = ParseLeadingNumber(row.text[f].data(), static_cast<uint32_t>(row.text[f].size()), &used);
            Check(used == row.text[f].size() && std::isfinite(row.value[f]));
            Check(value == row.value[f] || (value == 0 && row.value[f] == 0));
        }
        rows++;
    }
    int count = 0;
    uint32_t rows = 0;
};
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > (4u << 20))
        return 0;
    CApplication* app = FuzzApplication();
    std::string path = FuzzFile(data, size);
    size_t lines = 1;
    for (size_t i = 0; i < size; i++)
        lines += data[i] == '\n';

    Variable file(new CFile(app));
    Check(file.As<CFile>()->OpenRead(path.c_str()) == 1);
    CheckingSink sink;
    PlainTextResult result = ReadPlainText(file.As<CFile>(), sink);
    Check(result.rows == sink.rows);
    Check(result.status == PlainTextResult::Read || (result.line >= 1 && result.line <= lines));

    Variable held[4];
    CDataColumn* columns[4];
    for (int c = 0; c < 4; c++) {
        held[c] = new CLineColumn(app);
        columns[c] = held[c].As<CLineColumn>();
    }
    PlainTextResult again = ReadPlainTextData(app, path.c_str(), columns);
    Check(again.status == result.status && again.rows == result.rows && again.line == result.line);
    uint32_t expected = result.status == PlainTextResult::Read && result.rows > 0 ? result.rows : 1;
    for (CDataColumn* column : columns)
        Check(column->LineCount() == expected);
    return 0;
}
