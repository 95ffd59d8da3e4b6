// ajustor-fit: the program's three fits for batch use, on a data file or a plain text
// file of numbers; prints the results and can write the same HTML report as the
// result windows. Every failure is one line on standard error and exit status 2.
#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#undef GetClassName  // windows.h renames it; the framework's objects have a method of this name
#else
#include <sys/stat.h>
#endif

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <new>
#include <string>
#include <string_view>
#include <vector>

#include "app/CCompactColumn.h"
#include "app/DataFileRows.h"
#include "app/FitLines.h"
#include "app/FitProblem.h"
#include "app/FitReport.h"
#include "app/FitResult.h"
#include "app/FitRows.h"
#include "app/LabPlot.h"
#include "app/PlainTextData.h"
#include "app/PlotInput.h"
#include "app/SimpleFit.h"
#include "app/WeightedFit.h"
#include "app/YorkFit.h"
#include "core/CApplication.h"
#include "core/CList.h"
#include "core/CString.h"
#include "io/CFile.h"
#include "io/DataFile.h"
#ifdef _WIN32
#include "platform/FileNames.h"
#endif

namespace {
const char* const Usage =
    "uso: ajustor-fit [--weighted | --york] [--stats] [--rows] [--html INFORME]\n"
    "                 [--plot GRAFICA.png|.svg] [--text] [--] FICHERO\n"
    "\n"
    "Ajusta una recta y = A*x + B por minimos cuadrados a los datos de FICHERO\n"
    "(\"-\": la entrada estandar).\n"
    "\n"
    "  --weighted     ajuste ponderado con 1/(error de y)^2 (si no, ajuste simple)\n"
    "  --york         ajuste York, con errores en x y en y (York et al. 2004)\n"
    "  --stats        con --weighted, escribe tambien Cov AB, Chi2, Chi2/(N-2), P(Chi2),\n"
    "                 Error A escalado y Error B escalado (el ajuste York ya los da)\n"
    "  --rows         escribe antes las columnas de calculos auxiliares, una fila por linea\n"
    "  --html INFORME escribe el informe HTML del ajuste en INFORME\n"
    "  --plot GRAFICA escribe la grafica del ajuste con ejes en GRAFICA: SVG si el nombre\n"
    "                 acaba en .svg, si no PNG de 1600 x 1200\n"
    "  --text         FICHERO es texto, una fila por linea: numeros separados por blancos,\n"
    "                 o CSV con comas, o con punto y coma y coma decimal; 2 columnas son\n"
    "                 x y; 3 son x y error-y; 4 son x error-x y error-y; se saltan las\n"
    "                 lineas vacias, las que empiezan por # y una primera linea de nombres\n"
    "  --             termina las opciones\n"
    "  --help         muestra esta ayuda\n"
    "\n"
    "Sin --text, FICHERO es un fichero de datos del programa, cuyas celdas se leen como\n"
    "en el programa: un numero con punto o coma decimal; una celda que no es un numero,\n"
    "o vacia donde el ajuste la usa, es un error que nombra su fila y su columna. Los\n"
    "resultados salen uno por linea, nombre y valor separados por un tabulador. Estado\n"
    "de salida: 0 si todo fue bien, 2 ante cualquier error (con un mensaje de una linea),\n"
    "tambien si el ajuste no se puede calcular (menos de dos valores de x distintos, un\n"
    "error de y nulo en el ajuste ponderado, errores de x y de y nulos en una misma fila\n"
    "en el ajuste York). Si el ajuste York llega a su limite de iteraciones, lo dice en\n"
    "la salida de errores y escribe los resultados de la ultima.\n";

// No record of a data file the tool reads may be longer, as in the program.
constexpr uint32_t LongestRecord = DataFileLongestRecord;

struct Options {
    bool weighted = false, york = false, stats = false, rows = false, text = false, help = false;
    const char* html = nullptr;
    const char* plot = nullptr;
    const char* data = nullptr;
};

// A name as it appears in messages: quoted, with quotes, backslashes and control bytes
// escaped, so a message stays one line whatever the name holds; long ones shortened.
std::string Quoted(std::string_view name, size_t longest = 4096)
{
    std::string out = "\"";
    for (size_t i = 0; i < name.size() && i < longest; i++) {
        auto c = static_cast<unsigned char>(name[i]);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20 || c == 0x7f) {
            char escaped[5];
            std::snprintf(escaped, sizeof escaped, "\\x%02x", c);
            out += escaped;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out + (name.size() > longest ? "...\"" : "\"");
}

int Fail(const std::string& message)
{
    std::fprintf(stderr, "ajustor-fit: %s\n", message.c_str());
    return 2;
}

// Parses the arguments; returns an error message, empty when they are sound.
std::string Parse(int argc, char** argv, Options& o)
{
    bool optionsEnded = false;
    for (int i = 1; i < argc; i++) {
        std::string a = argv[i];
        if (optionsEnded || a == "-" || a.empty() || a[0] != '-') {
            if (o.data)
                return "sobra un argumento: " + Quoted(a) + " (vease --help)";
            o.data = argv[i];
        } else if (a == "--") {
            optionsEnded = true;
        } else if (a == "--weighted") {
            o.weighted = true;
        } else if (a == "--york") {
            o.york = true;
        } else if (a == "--stats") {
            o.stats = true;
        } else if (a == "--rows") {
            o.rows = true;
        } else if (a == "--text") {
            o.text = true;
        } else if (a == "--help" || a == "-h") {
            o.help = true;
        } else if (a == "--html") {
            if (++i >= argc)
                return "--html necesita el nombre del informe";
            o.html = argv[i];
        } else if (a == "--plot") {
            if (++i >= argc)
                return "--plot necesita el nombre de la grafica";
            o.plot = argv[i];
        } else {
            return "opcion desconocida: " + Quoted(a) + " (vease --help)";
        }
    }
    if (o.weighted && o.york)
        return "--weighted y --york no van juntos (vease --help)";
    if (o.stats && !o.weighted && !o.york)
        return "--stats es para --weighted o --york (vease --help)";
    if (!o.help && !o.data)
        return "falta el fichero de datos (vease --help)";
    return {};
}

FitKind KindOf(const Options& o) { return o.york ? FitKind::York : o.weighted ? FitKind::Weighted : FitKind::Simple; }

// The data set as read: the rows' values (with the errors the fit or the plot uses),
// and the cells as text when a report will show them.
struct DataSet {
    DataSet(CApplication* app, const Options& o)
        : rows(o.weighted || o.york || o.plot != nullptr, o.york || o.plot != nullptr), x(app), ex(app), y(app), ey(app), keep(o.html != nullptr)
    {
    }
    FitRows rows;
    CCompactColumn x, ex, y, ey;
    bool keep;
    CCompactColumn* Cells(int c) { return c == 0 ? &x : c == 1 ? &ex : c == 2 ? &y : &ey; }
};

// The rows, and the numbers' text in the cells for the report.
class RowSink : public PlainTextSink {
public:
    explicit RowSink(DataSet& data) : set(data) {}
    void Row(const PlainTextRow& row) override
    {
        for (int f = 0; f < row.count; f++) {
            std::string_view text = row.text[f];
            set.Cells(PlainTextColumn(row.count, f))->AddLine(text.data(), static_cast<uint32_t>(text.size()));
        }
        // A row without some column still needs its line there.
        for (int c = 0; c < 4; c++)
            if (set.Cells(c)->LineCount() < set.rows.Count() + 2)
                set.Cells(c)->AddLine("", 0);
        AddPlainTextRow(set.rows, row.count, row.value);
    }

private:
    DataSet& set;
};

// Standard output with every write checked.
class Output {
public:
    void Add(std::string_view text)
    {
        pending.append(text);
        if (pending.size() >= (1u << 20))
            Flush();
    }
    void Flush()
    {
        if (!pending.empty() && std::fwrite(pending.data(), 1, pending.size(), stdout) != pending.size())
            failed = true;
        pending.clear();
    }
    // True when every byte reached standard output.
    bool Finish()
    {
        Flush();
        return std::fflush(stdout) == 0 && !std::ferror(stdout) && !failed;
    }

private:
    std::string pending;
    bool failed = false;
};

std::string Where(const Options& o, uint32_t line) { return Quoted(o.data) + ":" + std::to_string(line) + ": "; }

std::string TextError(const Options& o, const PlainTextResult& read)
{
    switch (read.status) {
    case PlainTextResult::BadLine:
        return Where(o, read.line) + std::to_string(read.fields) +
               " numeros; cada fila ha de tener 2, 3 o 4, como la primera";
    case PlainTextResult::BadNumber:
        return Where(o, read.line) + Quoted(read.token, 40) + " no es un numero";
    case PlainTextResult::LongLine:
        return Where(o, read.line) + "linea de mas de " + std::to_string(PlainTextLongestLine) + " bytes";
    case PlainTextResult::TooManyRows:
        return Where(o, read.line) + "demasiadas filas";
    default:
        return {};
    }
}

// Why the fit cannot run, as a message naming the file; rows are counted as data rows.
std::string Problem(const Options& o, const FitProblem& problem)
{
    return Quoted(o.data) + ": " + FitProblemText(problem, true);
}

// Reads the data set from the open input; returns an error message, empty on success.
std::string Load(const Options& o, CFile* in, DataSet& set)
{
    if (o.text) {
        RowSink sink(set);
        // Without a report nothing shows the numbers' text: rows go straight to the row
        // store.
        PlainTextResult read = set.keep ? ReadPlainText(in, sink) : ReadPlainTextRows(in, set.rows);
        if (read.status != PlainTextResult::Read)
            return TextError(o, read);
        if (set.keep && read.rows > 0)
            for (int c = 0; c < 4; c++)
                set.Cells(c)->DeleteFirstLine();
    } else {
        FitKind kind = KindOf(o);
        uint32_t records = 0;
        bool cut = false;
        FitProblem problem;
        if (set.keep) {
            CDataColumn* const columns[4] = {&set.x, &set.ex, &set.y, &set.ey};
            in->LimitLines(LongestRecord);
            records = ReadDataSet(in, columns);
            cut = in->LineWasCut();
            problem = ReadFitRows(columns, kind, set.rows);
        } else {
            // Nothing shows the cells' text: records go straight to the row store.
            DataFileRows read = ReadDataFileRows(in, kind, set.rows, LongestRecord);
            records = read.records;
            cut = read.cut;
            problem = read.problem;
        }
        if (cut)
            return Quoted(o.data) + ":" + std::to_string(records + 1) + ": registro de mas de " +
                   std::to_string(LongestRecord) + " bytes";
        if (problem && problem.kind != FitProblem::NoData)
            return Problem(o, problem);
    }
    if (in->handle && std::ferror(in->handle))
        return "error al leer " + Quoted(o.data);
    if (set.rows.Count() == 0)
        return Quoted(o.data) + ": no hay filas de datos";
    if (FitProblem problem = CheckFitRows(set.rows, KindOf(o)))
        return Problem(o, problem);
    return {};
}

// A report or a plot must not replace the data it is made from.
#ifdef _WIN32
// The C library's stat has no file numbers here: the volume and file index tell.
bool IsInput(const char* output, CFile* in)
{
    if (!output)
        return false;
    HANDLE written = CreateFileW(platform::WideFromUtf8(output).c_str(), 0,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                 FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (written == INVALID_HANDLE_VALUE)
        return false;
    auto input = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(in->handle)));
    BY_HANDLE_FILE_INFORMATION a {}, b {};
    bool same = input != INVALID_HANDLE_VALUE && GetFileInformationByHandle(written, &a) &&
                GetFileInformationByHandle(input, &b) && a.dwVolumeSerialNumber == b.dwVolumeSerialNumber &&
                a.nFileIndexHigh == b.nFileIndexHigh && a.nFileIndexLow == b.nFileIndexLow;
    CloseHandle(written);
    return same;
}
#else
bool IsInput(const char* output, CFile* in)
{
    struct stat written {}, input {};
    return output && stat(output, &written) == 0 && fstat(fileno(in->handle), &input) == 0 &&
           written.st_dev == input.st_dev && written.st_ino == input.st_ino;
}
#endif

void PrintNumber(Output& out, double value)
{
    char text[FitTextRoom];
    out.Add(std::string_view(text, FitNumberText(value, text)));
}

void PrintValues(Output& out, const double* values, int count)
{
    for (int c = 0; c < count; c++) {
        if (c)
            out.Add("\t");
        PrintNumber(out, values[c]);
    }
    out.Add("\n");
}

// The per-row columns: those kept for the report, or else each row's values formed
// again and written at once, so a million rows cost no columns.
void PrintRows(const FitResult& fit, Output& out)
{
    int columns = RowColumnCount(fit.kind);
    const char* const* captions = RowCaptions(fit.kind);
    for (int c = 0; c < columns; c++) {
        out.Add(c ? "\t" : "");
        out.Add(captions[c]);
    }
    out.Add("\n");
    auto print = [&](const double* values) { PrintValues(out, values, columns); };
    if (!fit.perRow.empty()) {
        double values[MostRowColumns];
        for (size_t row = 0; row < fit.perRow[0].size(); row++) {
            for (int c = 0; c < columns; c++)
                values[c] = fit.perRow[c][row];
            print(values);
        }
    } else if (fit.kind == FitKind::Simple) {
        ForEachSimpleFitRow(fit.rows, print);
    } else if (fit.kind == FitKind::Weighted) {
        ForEachWeightedFitRow(fit.rows, print);
    } else {
        ForEachYorkFitRow(fit.rows, fit.a, print);
    }
}

void PrintResults(const std::vector<NamedResult>& results, Output& out)
{
    for (const NamedResult& result : results) {
        out.Add(result.name);
        out.Add("\t");
        PrintNumber(out, result.value);
        out.Add("\n");
    }
}

int WriteReport(CApplication* app, const Options& o, DataSet& set, const FitResult& fit)
{
    Variable lists[4];
    CList* cells[4];
    // The data table shows the rows fitted: trailing empty rows are no data.
    for (int i = 0; i < 4; i++) {
        lists[i] = set.Cells(i)->MakeLineList(fit.rows.Count());
        cells[i] = lists[i].As<CList>();
    }
    Variable path(new CString(app));
    path.As<CString>()->SetText(o.html);
    return WriteFitReport(app, path.As<CString>(), fit, cells);
}

// The plot with axes of the fit, as SVG or PNG by the name's ending; it replaces the
// target whole or not at all.
int WritePlot(CApplication* app, const Options& o, const FitResult& fit)
{
    return WriteLabPlot(app, LabPlotOf(fit), o.plot);
}

int Run(CApplication* app, const Options& o)
{
    Variable file(new CFile(app));
    auto* in = file.As<CFile>();
    bool standardInput = std::string_view(o.data) == "-";
    if (!(standardInput ? in->OpenStandardInput() : in->OpenRead(o.data)))
        return Fail("no se puede leer " + Quoted(o.data));
    if (IsInput(o.html, in))
        return Fail("el informe " + Quoted(o.html) + " es el fichero de datos");
    if (IsInput(o.plot, in))
        return Fail("la grafica " + Quoted(o.plot) + " es el fichero de datos");
    DataSet set(app, o);
    std::string error = Load(o, in, set);
    in->Close();
    if (!error.empty())
        return Fail(error);
    // Per-row columns are kept only for the report: --rows alone writes them as they
    // are formed (PrintRows).
    FitResult fit = RunFit(KindOf(o), std::move(set.rows), o.html != nullptr);
    if (!fit.finite)
        return Fail(Problem(o, FitProblem::At(FitProblem::OutOfRange, 0, -1)));
    Output out;
    if (o.rows)
        PrintRows(fit, out);
    PrintResults(fit.named, out);
    if (o.stats)
        PrintResults(fit.statistics, out);
    if (!out.Finish())
        return Fail("no se puede escribir la salida");
    if (!fit.note.empty())
        Fail(Quoted(o.data) + ": " + YorkCapText(true));
    if (o.html && !WriteReport(app, o, set, fit))
        return Fail("no se puede escribir el informe " + Quoted(o.html));
    if (o.plot && !WritePlot(app, o, fit))
        return Fail("no se puede escribir la grafica " + Quoted(o.plot));
    return 0;
}

int Main(int argc, char** argv)
{
    Options options;
    std::string error = Parse(argc, argv, options);
    if (!error.empty())
        return Fail(error);
    if (options.help) {
        std::fputs(Usage, stdout);
        return std::fflush(stdout) == 0 && !std::ferror(stdout) ? 0 : Fail("no se puede escribir la salida");
    }
    SetValidationMode(TrustRegistered);
    auto* app = new CApplication();
    int status;
    try {
        status = Run(app, options);
    } catch (const std::bad_alloc&) {
        // Nothing more is done: the state of the half-built data set is unknown.
        Fail("memoria agotada");
        std::fflush(stderr);
        std::_Exit(2);
    }
    app->Shutdown();
    delete app;
    return status;
}
}  // namespace

#ifdef _WIN32
// The narrow arguments of Windows are in the local code page, which cannot name every
// file; the wide ones become UTF-8, the program's file names.
int wmain(int argc, wchar_t** wideArguments)
{
    // Scripts read the results: the same bytes as on Linux, no carriage returns added.
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    std::vector<std::string> arguments;
    for (int i = 0; i < argc; i++)
        arguments.push_back(platform::Utf8FromWide(wideArguments[i]));
    std::vector<char*> argv;
    for (std::string& argument : arguments)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    return Main(argc, argv.data());
}
#else
int main(int argc, char** argv) { return Main(argc, argv); }
#endif
