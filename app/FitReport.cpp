#include "app/FitReport.h"

#include <cerrno>

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

struct Section {
    const char* heading;
    const char* const* captions;
    int count;
};

const Section SimpleSections[] = {
    {"<H2>Datos Experimentales :</H2>", DataCaptions, 4},
    {"<H2>C&aacute;lculos Auxiliares para el C&oacute;mputo :</H2>", SimpleRowCaptions, SimpleRowColumns},
    {"<H2>Resultados :</H2>", ResultCaptions, 2},
};

const Section WeightedSections[] = {
    {"<H2>Datos Experimentales :</H2>", DataCaptions, 4},
    {"<H2>C&aacute;lculos Auxiliares para el C&oacute;mputo :</H2>", WeightedRowCaptions, WeightedRowColumns},
    {"<H2>Resultados :</H2>", ResultCaptions, 2},
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
}  // namespace

const char* const SimpleRowCaptions[SimpleRowColumns] = {"X*Y", "X*X", "Y*Y", "(Ax+B-y)"};
const char* const WeightedRowCaptions[WeightedRowColumns] = {"1/w", "(X*Y)/w", "(X*X)/w", "X/w", "Y/w", "((Ax+B-y)/w)"};

int WriteFitReport(CApplication* app, CString* path, FitKind kind, const ReportColumns& columns, int* error)
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
    bool simple = kind == FitKind::Simple;
    doc->title = NewText(app, simple ? "Ajustora-2 (Ajuste Simple)" : "Ajustora-2 (Ajuste Ponderado)");
    const Section* sections = simple ? SimpleSections : WeightedSections;
    CList* const results[2] = {columns.names, columns.values};
    AddSection(app, elements, sections[0], columns.data, 4);
    AddSection(app, elements, sections[1], columns.auxiliary, sections[1].count);
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
