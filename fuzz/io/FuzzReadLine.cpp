// ReadLine over arbitrary bytes, three ways that must agree: the shared line reading
// over a memory block of known size, the file's own line reading through the stdio
// buffer, and a plain model of the rules (line feed ends a line, tab becomes five
// spaces, an unterminated last line is dropped). Through the comma filter every "."
// must come out as ",".
#include <cstring>
#include <string>
#include <vector>

#include "core/CString.h"
#include "core/Variable.h"
#include "fuzz/io/FuzzInput.h"
#include "io/CCommaFilterIO.h"
#include "io/CFile.h"
#include "io/CMemIO.h"

namespace {
std::vector<std::string> Model(const uint8_t* data, size_t size, bool commas)
{
    std::vector<std::string> lines;
    std::string line;
    for (size_t i = 0; i < size; i++) {
        char c = static_cast<char>(data[i]);
        if (commas && c == '.')
            c = ',';
        if (c == '\n') {
            lines.push_back(line);
            line.clear();
        } else if (c == '\t') {
            line += "     ";
        } else {
            line += c;
        }
    }
    return lines;
}

std::vector<std::string> Lines(CIO* stream)
{
    std::vector<std::string> lines;
    while (CString* line = stream->ReadLine()) {
        Variable hold(line);
        lines.emplace_back(line->GetBuffer(), line->GetLength());
    }
    if (stream->ReadLine())
        std::abort();  // the end stays the end
    return lines;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > (1u << 20))
        return 0;
    CApplication* app = FuzzApplication();
    std::vector<std::string> expected = Model(data, size, false);

    std::vector<uint8_t> block(data, data + size);
    Variable memory(new CMemIO(app));
    memory.As<CMemIO>()->OpenBlock(block.data(), static_cast<uint32_t>(size));
    if (Lines(memory.As<CIO>()) != expected)
        std::abort();

    Variable file(new CFile(app));
    if (!file.As<CFile>()->OpenRead(FuzzFile(data, size).c_str()))
        std::abort();
    if (Lines(file.As<CIO>()) != expected)
        std::abort();

    memory.As<CMemIO>()->OpenBlock(block.data(), static_cast<uint32_t>(size));
    Variable filter(new CCommaFilterIO(app));
    filter.As<CCommaFilterIO>()->inner = memory.Get();
    if (Lines(filter.As<CIO>()) != Model(data, size, true))
        std::abort();
    return 0;
}
