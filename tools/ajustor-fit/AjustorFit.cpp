// ajustor-fit: the program's two fits for batch use, on a data file or a plain text
// file of numbers; prints the results and can write the same HTML report as the
// result windows.
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "app/CCompactColumn.h"
#include "app/FitReport.h"
#include "app/PlainTextData.h"
#include "app/SimpleFit.h"
#include "app/WeightedFit.h"
#include "core/CApplication.h"
#include "core/CList.h"
#include "core/CString.h"
#include "io/DataFile.h"

namespace {
const char* const Usage =
    "uso: ajustor-fit [--weighted] [--rows] [--html INFORME] [--text] FICHERO\n"
    "\n"
    "Ajusta una recta y = A*x + B por minimos cuadrados a los datos de FICHERO.\n"
    "\n"
    "  --weighted     ajuste ponderado con 1/(error de y)^2 (si no, ajuste simple)\n"
    "  --rows         escribe antes las columnas de calculos auxiliares, una fila por linea\n"
    "  --html INFORME escribe el informe HTML del ajuste en INFORME\n"
    "  --text         FICHERO es texto: numeros separados por blancos, una fila por linea;\n"
    "                 2 columnas son x y; 3 son x y error-y; 4 son x error-x y error-y;\n"
    "                 se saltan las lineas vacias y las que empiezan por #\n"
    "  --help         muestra esta ayuda\n"
    "\n"
    "Sin --text, FICHERO es un fichero de datos del programa. Los resultados salen uno\n"
    "por linea, nombre y valor separados por un tabulador.\n";

struct Options {
    bool weighted = false, rows = false, text = false, help = false;
    const char* html = nullptr;
    const char* data = nullptr;
};

int Fail(const std::string& message)
{
    std::fprintf(stderr, "ajustor-fit: %s\n", message.c_str());
    return 2;
}

// Parses the arguments; returns an error message, empty when they are sound.
std::string Parse(int argc, char** argv, Options& o)
{
    for (int i = 1; i < argc; i++) {
        std::string a = argv[i];
        if (a == "--weighted")
            o.weighted = true;
        else if (a == "--rows")
            o.rows = true;
        else if (a == "--text")
            o.text = true;
        else if (a == "--help" || a == "-h")
            o.help = true;
        else if (a == "--html") {
            if (++i >= argc)
                return "--html necesita el nombre del informe";
            o.html = argv[i];
        } else if (a.size() > 1 && a[0] == '-')
            return "opcion desconocida: " + a + " (vease --help)";
        else if (o.data)
            return "sobra un argumento: " + a + " (vease --help)";
        else
            o.data = argv[i];
    }
    if (!o.help && !o.data)
        return "falta el fichero de datos (vease --help)";
    return {};
}

// The columns of one fit's result window, in the order the window shows them.
struct ResultColumns {
    explicit ResultColumns(CApplication* app, int auxiliary) : names(app), values(app)
    {
        for (int i = 0; i < auxiliary; i++)
            perRow.push_back(std::make_unique<CCompactColumn>(app));
    }
    std::vector<std::unique_ptr<CCompactColumn>> perRow;
    CCompactColumn names, values;
};

// Runs the fit; per-row columns are filled only when someone will see them.
void RunFit(const Options& o, CDataColumn* const data[4], ResultColumns& r)
{
    bool keepRows = o.rows || o.html;
    auto column = [&](int i) -> CDataColumn* { return keepRows ? r.perRow[i].get() : nullptr; };
    if (o.weighted) {
        WeightedFitColumns out;
        out.p = column(0), out.xyp = column(1), out.xxp = column(2), out.xp = column(3), out.yp = column(4);
        out.residuals = column(5), out.names = &r.names, out.values = &r.values;
        RunWeightedFit(data, out);
    } else {
        SimpleFitColumns out;
        out.xy = column(0), out.xx = column(1), out.yy = column(2), out.residuals = column(3);
        out.names = &r.names, out.values = &r.values;
        RunSimpleFit(data, out);
    }
    // Every new column starts with an empty line; the window drops it after the fit.
    for (auto& c : r.perRow)
        c->DeleteFirstLine();
    r.names.DeleteFirstLine();
    r.values.DeleteFirstLine();
}

void Print(std::string& out, CCompactColumn& column, uint32_t row)
{
    uint32_t size = 0;
    if (row < column.LineCount()) {
        const char* text = column.LineText(row, &size);
        out.append(text, size);
    }
}

// Hands the text gathered so far to standard output once it is large.
void FlushWhenLarge(std::string& out)
{
    if (out.size() < (1u << 20))
        return;
    std::fwrite(out.data(), 1, out.size(), stdout);
    out.clear();
}

void PrintRows(const Options& o, ResultColumns& r, std::string& out)
{
    const char* const* captions = o.weighted ? WeightedRowCaptions : SimpleRowCaptions;
    for (size_t c = 0; c < r.perRow.size(); c++)
        out.append(c ? "\t" : "").append(captions[c]);
    out += '\n';
    uint32_t rows = r.perRow[0]->LineCount();
    for (uint32_t row = 0; row < rows; row++) {
        for (size_t c = 0; c < r.perRow.size(); c++) {
            if (c)
                out += '\t';
            Print(out, *r.perRow[c], row);
        }
        out += '\n';
        FlushWhenLarge(out);
    }
}

void PrintResults(ResultColumns& r, std::string& out)
{
    for (uint32_t row = 0; row < r.names.LineCount(); row++) {
        Print(out, r.names, row);
        out += '\t';
        Print(out, r.values, row);
        out += '\n';
    }
}

int WriteReport(CApplication* app, const Options& o, CCompactColumn* const data[4], ResultColumns& r)
{
    std::vector<Variable> lists;
    auto listOf = [&](CCompactColumn* c) {
        lists.emplace_back(c->MakeLineList());
        return lists.back().As<CList>();
    };
    ReportColumns columns;
    for (int i = 0; i < 4; i++)
        columns.data[i] = listOf(data[i]);
    for (size_t i = 0; i < r.perRow.size(); i++)
        columns.auxiliary[i] = listOf(r.perRow[i].get());
    columns.names = listOf(&r.names);
    columns.values = listOf(&r.values);
    Variable path(new CString(app));
    path.As<CString>()->SetText(o.html);
    FitKind kind = o.weighted ? FitKind::Weighted : FitKind::Simple;
    return WriteFitReport(app, path.As<CString>(), kind, columns);
}

std::string LoadError(CApplication* app, const Options& o, CDataColumn* const data[4])
{
    if (!o.text)
        return LoadDataFile(app, o.data, data) ? "" : std::string("no se puede leer ") + o.data;
    PlainTextResult read = ReadPlainTextData(app, o.data, data);
    if (read.status == PlainTextResult::CannotOpen)
        return std::string("no se puede leer ") + o.data;
    if (read.status == PlainTextResult::BadLine)
        return std::string(o.data) + ":" + std::to_string(read.line) + ": " + std::to_string(read.fields) +
               " numeros; cada fila ha de tener 2, 3 o 4, como la primera";
    return {};
}

int Run(CApplication* app, const Options& o)
{
    CCompactColumn x(app), ex(app), y(app), ey(app);
    CCompactColumn* const data[4] = {&x, &ex, &y, &ey};
    CDataColumn* const columns[4] = {&x, &ex, &y, &ey};
    std::string error = LoadError(app, o, columns);
    if (!error.empty())
        return Fail(error);
    ResultColumns results(app, o.weighted ? WeightedRowColumns : SimpleRowColumns);
    RunFit(o, columns, results);
    std::string out;
    if (o.rows)
        PrintRows(o, results, out);
    PrintResults(results, out);
    std::fwrite(out.data(), 1, out.size(), stdout);
    if (o.html && !WriteReport(app, o, data, results))
        return Fail(std::string("no se puede escribir el informe ") + o.html);
    return 0;
}
}  // namespace

int main(int argc, char** argv)
{
    Options options;
    std::string error = Parse(argc, argv, options);
    if (!error.empty())
        return Fail(error);
    if (options.help) {
        std::fputs(Usage, stdout);
        return 0;
    }
    SetValidationMode(TrustRegistered);
    auto* app = new CApplication();
    int status = Run(app, options);
    app->Shutdown();
    delete app;
    if (std::fflush(stdout) != 0)
        return Fail("no se pudo escribir la salida");
    return status;
}
