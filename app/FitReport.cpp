#include "app/FitReport.h"

#include <cerrno>
#include <vector>

#include "core/CList.h"
#include "core/CString.h"
#include "html/CHTML_Document.h"
#include "html/CHTML_Table.h"
#include "html/CHTML_Text.h"
#include "io/CCommaFilterIO.h"
#include "io/CReplacingFile.h"
#include "io/PathText.h"

namespace {
const char* const DataCaptions[] = {"X", "Error X", "Y", "Error Y"};
const char* const ResultCaptions[] = {"Variable", "Valor"};

const char* const Titles[] = {"Ajustora-2 (Ajuste Simple)", "Ajustora-2 (Ajuste Ponderado)", "Ajustora-2 (Ajuste York)"};

struct Section {
    const char* heading;
    const char* const* captions;
    int count;
};

CString* NewText(CApplication* app, const char* text)
{
    auto* s = new CString(app);
    s->SetText(text);
    return s;
}

// Appends a heading and its table to the document's elements; the table's first
// column list holds the captions, the rest are the given lists, shared.
void AddSection(CApplication* app, CList* elements, const Section& section, CList* const* lists, int count)
{
    auto* table = new CHTML_Table(app);
    Variable holdTable(table);
    auto* columns = new CList(app);
    table->columns = columns;
    columns->Create();
    table->hasHeader = 0;
    auto* heading = new CHTML_Text(app);
    heading->text = NewText(app, section.heading);
    elements->Add(heading);
    elements->Add(table);
    auto* captions = new CList(app);
    captions->Create();
    for (int i = 0; i < section.count; i++)
        captions->Add(NewText(app, section.captions[i]));
    columns->Add(captions);
    for (int i = 0; i < count; i++)
        columns->Add(lists[i]);
    table->hasHeader = 1;
}

// A list of strings, held by `hold`, with a line per entry.
CList* NewList(CApplication* app, std::vector<Variable>& hold)
{
    auto* list = new CList(app);
    hold.emplace_back(list);
    list->Create();
    return list;
}

void AddNumber(CApplication* app, CList* list, double value)
{
    char text[FitTextRoom];
    auto* s = new CString(app);
    s->SetText(text, FitNumberText(value, text));
    list->Add(s);
}

// The fit's numbers as the windows show them: the per-row columns, then the names and
// the values of the named results.
void ResultLists(CApplication* app, const FitResult& fit, std::vector<Variable>& hold, CList** perRow,
                 CList* results[2])
{
    for (int i = 0; i < RowColumnCount(fit.kind); i++) {
        perRow[i] = NewList(app, hold);
        if (i < static_cast<int>(fit.perRow.size()))
            for (double value : fit.perRow[i])
                AddNumber(app, perRow[i], value);
    }
    results[0] = NewList(app, hold);
    results[1] = NewList(app, hold);
    for (const NamedResult& named : fit.named) {
        results[0]->Add(NewText(app, named.name));
        AddNumber(app, results[1], named.value);
    }
}
}  // namespace

int WriteFitReport(CApplication* app, CString* path, const FitResult& fit, CList* const data[4], int* error)
{
    Variable holdPath;
    holdPath = path;
    // The report replaces an earlier one only once it is whole on the disk.
    Variable file(new CReplacingFile(app));
    const char* target = PathText(path);
    errno = 0;
    int opened = target && file.As<CReplacingFile>()->Begin(target);
    int reason = !target ? EINVAL : errno ? errno : EIO;
    Variable filter(new CCommaFilterIO(app));
    filter.As<CCommaFilterIO>()->inner = file;

    Variable document(new CHTML_Document(app));
    auto* doc = document.As<CHTML_Document>();
    auto* elements = new CList(app);
    doc->elements = elements;
    elements->Create();
    doc->title = NewText(app, Titles[static_cast<int>(fit.kind)]);
    std::vector<Variable> hold;
    CList* perRow[MostRowColumns] = {};
    CList* results[2] = {};
    ResultLists(app, fit, hold, perRow, results);
    int count = RowColumnCount(fit.kind);
    const Section sections[] = {
        {"<H2>Datos Experimentales :</H2>", DataCaptions, 4},
        {"<H2>C&aacute;lculos Auxiliares para el C&oacute;mputo :</H2>", RowCaptions(fit.kind), count},
        {"<H2>Resultados :</H2>", ResultCaptions, 2},
    };
    AddSection(app, elements, sections[0], data, 4);
    AddSection(app, elements, sections[1], perRow, count);
    AddSection(app, elements, sections[2], results, 2);

    doc->WriteTo(filter.As<CCommaFilterIO>());
    if (opened) {
        errno = 0;
        if (file.As<CReplacingFile>()->Finish())
            return 1;
        reason = errno ? errno : EIO;
    }
    if (error)
        *error = reason;
    return 0;
}
