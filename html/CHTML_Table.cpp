#include "html/CHTML_Table.h"

#include "core/CList.h"
#include "core/CString.h"
#include "io/CIO.h"

namespace {
constexpr const char* Opening =
    "<center><table border=\"0\" cellpadding=\"1\" cellspacing=\"1\" bgcolor=\"#000000\">";
constexpr const char* HeaderRow = "<tr bgcolor=\"#faf5f0\">";
constexpr const char* EvenRow = "<tr bgcolor=\"#effaff\">";
constexpr const char* OddRow = "<tr bgcolor=\"#faffef\">";

CList* ListAt(CList* list, uint32_t i) { return dynamic_cast<CList*>(list->GetAt(i)); }

CString* TextAt(CList* list, uint32_t i) { return list ? dynamic_cast<CString*>(list->GetAt(i)) : nullptr; }

const char* EntityOf(char c)
{
    switch (c) {
    case '&': return "&amp;";
    case '<': return "&lt;";
    case '>': return "&gt;";
    case '"': return "&quot;";
    default: return nullptr;
    }
}

// Writes a cell text with the characters that would start markup replaced by
// entities, in runs between them.
void WriteEscaped(CIO* stream, CString* text)
{
    if (!text)
        return;
    const char* bytes = text->GetBuffer();
    uint32_t size = text->GetLength();
    uint32_t run = 0;
    for (uint32_t i = 0; i < size; i++) {
        const char* entity = EntityOf(bytes[i]);
        if (!entity)
            continue;
        stream->Write(bytes + run, 1, i - run);
        stream->WriteText(entity);
        run = i + 1;
    }
    stream->Write(bytes + run, 1, size - run);
}
}  // namespace

CHTML_Table::CHTML_Table(CApplication* app) : CHTML(app)
{
    className = "CHTML_Table";
    created = 1;
}

CHTML_Table::~CHTML_Table()
{
    LeaveRegistry();
    if (created)
        DestroyTable();
}

int CHTML_Table::Destroy() { return DestroyTable(); }

void CHTML_Table::WriteTo(CIO* stream)
{
    Variable hold;
    hold = stream;
    if (!stream)
        return;
    stream->WriteText(Opening);
    if (auto list = columns.CheckedAs<CList>()) {
        uint32_t first = hasHeader ? 1 : 0;
        if (hasHeader)
            WriteHeader(stream, ListAt(list, 0));
        WriteRows(stream, list, first);
    }
    stream->WriteText("</table></center>");
}

// As many cells as captions, whatever the number of data columns.
void CHTML_Table::WriteHeader(CIO* stream, CList* captions)
{
    stream->WriteText(HeaderRow);
    for (uint32_t j = 0; captions && j < captions->GetCount(); j++) {
        stream->WriteText("<td><b><center>");
        WriteEscaped(stream, TextAt(captions, j));
        stream->WriteText("</center></b></td>");
    }
    stream->WriteText("</tr>");
}

// One row per entry of the first data column; a shorter column gives empty cells.
void CHTML_Table::WriteRows(CIO* stream, CList* list, uint32_t first)
{
    CList* leading = ListAt(list, first);
    uint32_t rows = leading ? leading->GetCount() : 0;
    for (uint32_t r = 0; r < rows; r++) {
        stream->WriteText(r % 2 == 0 ? EvenRow : OddRow);
        for (uint32_t c = first; c < list->GetCount(); c++) {
            stream->WriteText("<td>");
            WriteEscaped(stream, TextAt(ListAt(list, c), r));
            stream->WriteText("</td>");
        }
        stream->WriteText("</tr>");
    }
}

int CHTML_Table::DestroyTable()
{
    columns.Clear();
    created = 0;
    return 1;
}
