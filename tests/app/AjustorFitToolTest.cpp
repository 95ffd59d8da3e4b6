// The command-line tool as a user runs it: exit status, standard output and errors.
#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/wait.h>
#endif

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "tests/common/FolderPaths.h"

namespace {
struct ToolRun {
    int status;
    std::string out;
};

const std::string Program = AJUSTOR_FIT_TOOL;

// How a run's standard streams are joined: standard error is always captured.
struct Streams {
    std::string input;           // a file as standard input; empty: none
    std::string folder;          // the tool's working folder; empty: the test's
    bool discardOutput = false;  // standard output to the null device
};

#ifdef _WIN32
std::wstring Wide(const std::string& utf8)
{
    int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), nullptr, 0);
    std::wstring wide(size_t(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), wide.data(), n);
    return wide;
}

// One argument as the C library's start-up code splits a command line: quoted when it
// holds blanks or quotes; backslashes doubled only before a quote.
std::wstring Argument(const std::wstring& a)
{
    if (!a.empty() && a.find_first_of(L" \t\n\v\"") == std::wstring::npos)
        return a;
    std::wstring out = L"\"";
    size_t backslashes = 0;
    for (wchar_t c : a) {
        if (c == L'\\') {
            backslashes++;
            continue;
        }
        out.append(c == L'"' ? 2 * backslashes + 1 : backslashes, L'\\');
        backslashes = 0;
        out += c;
    }
    out.append(2 * backslashes, L'\\');
    return out + L"\"";
}

// Runs the tool with CreateProcessW; both outputs come through one pipe.
ToolRun Tool(const std::vector<std::string>& arguments, const Streams& streams = {})
{
    SECURITY_ATTRIBUTES inherited{sizeof inherited, nullptr, TRUE};
    HANDLE reading = nullptr, writing = nullptr;
    if (!CreatePipe(&reading, &writing, &inherited, 0))
        return {-1, "no pipe"};
    SetHandleInformation(reading, HANDLE_FLAG_INHERIT, 0);
    const DWORD share = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
    HANDLE input = CreateFileW(streams.input.empty() ? L"NUL" : Wide(streams.input).c_str(), GENERIC_READ, share,
                               &inherited, OPEN_EXISTING, 0, nullptr);
    HANDLE discarded = streams.discardOutput
                           ? CreateFileW(L"NUL", GENERIC_WRITE, share, &inherited, OPEN_EXISTING, 0, nullptr)
                           : INVALID_HANDLE_VALUE;
    STARTUPINFOW start{};
    start.cb = sizeof start;
    start.dwFlags = STARTF_USESTDHANDLES;
    start.hStdInput = input;
    start.hStdOutput = streams.discardOutput ? discarded : writing;
    start.hStdError = writing;
    std::wstring program = Wide(Program), line = Argument(program);
    for (const std::string& a : arguments)
        line += L" " + Argument(Wide(a));
    std::wstring folder = Wide(streams.folder);
    PROCESS_INFORMATION process{};
    BOOL started = FALSE;
    DWORD error = 0;
    // Wine now and then refuses a start with an internal error while other tests start
    // programs too; a few more tries tell that from a real failure.
    for (int attempt = 0; attempt < 5 && !started; attempt++) {
        if (attempt)
            Sleep(200);
        started = CreateProcessW(program.c_str(), line.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
                                 folder.empty() ? nullptr : folder.c_str(), &start, &process);
        error = started ? 0 : GetLastError();
    }
    CloseHandle(writing);
    if (input != INVALID_HANDLE_VALUE)
        CloseHandle(input);
    if (discarded != INVALID_HANDLE_VALUE)
        CloseHandle(discarded);
    ToolRun run{-1, ""};
    if (!started) {
        CloseHandle(reading);
        run.out = "CreateProcessW failed: " + std::to_string(error);
        return run;
    }
    // The pipe may never report its end: a program the tool's start-up launches (Wine's
    // desktop) can inherit its write end. What the tool wrote is in the pipe once it
    // has ended.
    char chunk[4096];
    for (bool ended = false;;) {
        DWORD available = 0, n = 0;
        if (!PeekNamedPipe(reading, nullptr, 0, nullptr, &available, nullptr))
            break;
        if (available > 0) {
            if (!ReadFile(reading, chunk, sizeof chunk, &n, nullptr))
                break;
            run.out.append(chunk, n);
        } else if (ended) {
            break;
        } else {
            ended = WaitForSingleObject(process.hProcess, 10) == WAIT_OBJECT_0;
        }
    }
    CloseHandle(reading);
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = 0;
    if (GetExitCodeProcess(process.hProcess, &code))
        run.status = int(code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return run;
}
#else
// Runs a shell command line; its standard output is captured.
ToolRun Shell(const std::string& command)
{
    std::FILE* pipe = popen(command.c_str(), "r");
    ToolRun run{-1, ""};
    char chunk[4096];
    size_t n;
    while ((n = std::fread(chunk, 1, sizeof chunk, pipe)) > 0)
        run.out.append(chunk, n);
    int raw = pclose(pipe);
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    return run;
}

std::string Argument(const std::string& a)
{
    std::string out = "'";
    for (char c : a)
        out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

// The tool through the shell, ended after a minute at most. Under the sanitizers, the
// list of suppressed leaks (fontconfig's, once a canvas has a font) is not part of what
// the tool says.
ToolRun Tool(const std::vector<std::string>& arguments, const Streams& streams = {})
{
    // Appended piece by piece: GCC 12 at -O3 takes "literal" + string for an
    // overlapping copy.
    std::string line;
    if (!streams.folder.empty()) {
        line += "cd ";
        line += Argument(streams.folder);
        line += " && ";
    }
    line += "ASAN_OPTIONS=\"${ASAN_OPTIONS}${ASAN_OPTIONS:+:}print_suppressions=0\" timeout 60 ";
    line += Argument(Program);
    for (const std::string& a : arguments) {
        line += ' ';
        line += Argument(a);
    }
    if (!streams.input.empty()) {
        line += " < ";
        line += Argument(streams.input);
    }
    line += streams.discardOutput ? " 2>&1 >/dev/null" : " 2>&1";
    return Shell(line);
}
#endif

// A name as the tool's messages show it: quoted, quotes and backslashes escaped.
std::string Quoted(const std::string& name)
{
    std::string out = "\"";
    for (char c : name) {
        if (c == '"' || c == '\\')
            out += '\\';
        out += c;
    }
    return out + "\"";
}

std::string ReadAll(const std::string& path)
{
    std::ifstream in(folder_paths::FsPath(path), std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// A failure as the tool must report it: status 2 and one line naming the tool.
void ExpectFailure(const ToolRun& run, const std::string& part)
{
    EXPECT_EQ(run.status, 2) << run.out;
    EXPECT_EQ(run.out.rfind("ajustor-fit: ", 0), 0u) << run.out;
    EXPECT_EQ(run.out.find('\n'), run.out.size() - 1) << "one line: " << run.out;
    EXPECT_NE(run.out.find(part), std::string::npos) << run.out;
}

std::string Rows(int n)
{
    std::string text;
    for (int i = 0; i < n; i++)
        text += std::to_string(i) + " " + std::to_string(2 * i + 1) + ".25 0.5\n";
    return text;
}

#ifndef _WIN32
bool Sanitized()
{
#if defined(__SANITIZE_ADDRESS__)
    return true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
    return true;
#endif
#endif
    return false;
}
#endif

std::string Write(const std::string& name, const std::string& text)
{
    std::string path = testing::TempDir() + name;
    std::ofstream(folder_paths::FsPath(path), std::ios::binary) << text;
    return path;
}

// Records of the program's data files after their row count (little-endian).
std::string Records(const std::string& records)
{
    return char(std::count(records.begin(), records.end(), '\n')) + std::string(3, '\0') + records;
}
}  // namespace

// What the tool prints for each form of input it reads: the named results, the rows of
// the weighted fit, the same bytes on every system (scripts parse them: no carriage
// return before a line feed).
TEST(AjustorFitTool, PrintsTheResultsOfEveryInputForm)
{
    ToolRun run = Tool({"--text", Write("tool.txt", "1 2\n2 4\n3 6\n")});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "N\t3\nSx\t6\nSy\t12\nSxx\t14\nSyy\t56\nSxy\t28\nS[(Ax+B-y)]\t0\nDelta\t6\nError Y\t0\n"
                       "A\t2\nB\t0\nError A\t0\nError B\t0\nr\t1\n");
    run = Tool({"--text", "--weighted", "--rows", Write("toolw.txt", "1 2 2\n2 4 2\n3 6 2\n")});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out.substr(0, run.out.find('\n')), "1/w\t(X*Y)/w\t(X*X)/w\tX/w\tY/w\t((Ax+B-y)/w)");
    EXPECT_NE(run.out.find("\n0.25\t0.5\t0.25\t0.25\t0.5\t0\n"), std::string::npos);
    EXPECT_NE(run.out.find("\nSw\t0.75\n"), std::string::npos);

    std::string crlf = Write("crlf.txt", "1 2\r\n2 4\r\n3 6\r\n");
    for (const std::vector<std::string>& arguments :
         {std::vector<std::string>{"--text", "--rows", crlf}, {"--text", "--weighted", "--rows", crlf}, {"--help"},
          {"--text", Write("crlf-bad.txt", "1 2\n3\n")}}) {
        run = Tool(arguments);
        EXPECT_NE(run.out.find('\n'), std::string::npos) << arguments[0];
        EXPECT_EQ(run.out.find('\r'), std::string::npos) << run.out;
    }

    // The same rows from standard input, after "--", and as spreadsheets save them: with
    // commas, or with semicolons and decimal commas.
#ifdef _WIN32
    ToolRun piped = Tool({"--text", "-"}, {.input = Write("stdin.txt", "1 2\n2 4.1\n3 5.9\n"), .folder = {},
                                           .discardOutput = false});
#else
    ToolRun piped = Shell("printf '1 2\\n2 4.1\\n3 5.9\\n' | " + Program + " --text -");
#endif
    EXPECT_EQ(piped.status, 0);
    Write("-dashed.txt", "1 2\n2 4.1\n3 5.9\n");
    for (const ToolRun& same :
         {piped, Tool({"--text", "--", "-dashed.txt"}, {.input = {}, .folder = testing::TempDir(), .discardOutput = false}),
          Tool({"--text", Write("sheet.csv", "x,y\r\n1,2\r\n2,4.1\r\n3,5.9\r\n")}),
          Tool({"--text", Write("hoja.csv", "x;y\n1;2\n2;4,1\n3;5,9\n")})})
        EXPECT_NE(same.out.find("A\t1.950000000000000177635683940025\n"), std::string::npos) << same.out;

    // The program's data files, typed with decimal points or, as a Spanish student
    // does, with commas: the same results.
    std::string points = Write("points.dat", Records("1;0.1;2.5;0.2;\n2;0.1;4.1;0.2;\n3;0.1;5.9;0.3;\n"));
    std::string commas = Write("commas.dat", Records("1;0,1;2,5;0,2;\n2;0,1; 4,1 ;0,2;\n3;0,1;5,9;0,3;\n"));
    for (const char* fit : {"--rows", "--weighted"}) {
        ToolRun withCommas = Tool({fit, "--rows", commas});
        EXPECT_EQ(withCommas.status, 0) << withCommas.out;
        EXPECT_EQ(withCommas.out, Tool({fit, "--rows", points}).out);
        EXPECT_NE(withCommas.out.find("\nSy\t12.5\n"), std::string::npos) << withCommas.out;
    }
}

// The report and the plot with axes (a PNG of 1600 × 1200, or SVG by the name), under
// names in any script (on Windows through the wide command line, not the local code
// page), and to devices and pipes.
TEST(AjustorFitTool, WritesTheReportAndThePlot)
{
    std::string report = testing::TempDir() + "tool.html";
    std::remove(report.c_str());
    EXPECT_EQ(Tool({"--text", "--html", report, Write("tool2.txt", "1 2.5\n2 4\n3 6\n")}).status, 0);
    std::string html = ReadAll(report);
    EXPECT_EQ(html.rfind("<html>", 0), 0u);
    EXPECT_NE(html.find("<td>2,5</td>"), std::string::npos);

    // A data set saved after the last Enter ends in a row of empty cells: it is no
    // data, neither for the fit nor for the report's data table.
    ToolRun run = Tool({"--html", report, Write("tool-trailing.dat", Records("1;0.1;2;0.2;\n2;0.1;4.1;0.2;\n"
                                                                             "3;0.1;5.9;0.3;\n;;;;\n"))});
    EXPECT_EQ(run.status, 0) << run.out;
    EXPECT_EQ(run.out.rfind("N\t3\n", 0), 0u) << run.out;
    html = ReadAll(report);
    EXPECT_NE(html.find("<td>5,9</td><td>0,3</td></tr></table>"), std::string::npos) << html;

    std::string plot = testing::TempDir() + "tool-plot.png";
    std::remove(plot.c_str());
    std::string data = Write("tool-plot.txt", "1 0.1 2 0.2\n2 0.1 4 0.2\n3 0.1 6 0.2\n");
    run = Tool({"--text", "--weighted", "--plot", plot, data});
    EXPECT_EQ(run.status, 0) << run.out;
    std::string png = ReadAll(plot);
    ASSERT_GT(png.size(), 24u);
    EXPECT_EQ(png.substr(0, 8), "\x89PNG\r\n\x1a\n");
    EXPECT_EQ(png.substr(16, 8), std::string("\0\0\x06\x40\0\0\x04\xb0", 8));  // 1600 × 1200
    std::string svg = testing::TempDir() + "tool-plot.svg";
    EXPECT_EQ(Tool({"--text", "--plot", svg, data}).status, 0);
    std::string xml = ReadAll(svg);
    EXPECT_EQ(xml.rfind("<?xml", 0), 0u);
    EXPECT_NE(xml.find(">Ajuste Simple</text>"), std::string::npos);

    for (std::string name : {"medici\u00f3n-\u00f1", "\u0438\u0437\u043c\u0435\u0440\u0435\u043d\u0438\u0435",
                             "\u6d4b\u91cf"}) {
        std::string named = testing::TempDir() + name + ".html";
        run = Tool({"--text", "--html", named, Write(name + ".txt", "1 2\n2 4\n3 6\n")});
        EXPECT_EQ(run.status, 0) << run.out;
        EXPECT_NE(run.out.find("\nA\t2\n"), std::string::npos) << run.out;
        EXPECT_EQ(ReadAll(named).rfind("<html>", 0), 0u) << name;
        ExpectFailure(Tool({"--text", testing::TempDir() + name + "-falta.txt"}), name + "-falta.txt");
    }

#ifdef _WIN32
    EXPECT_EQ(Tool({"--text", "--html", "NUL", data}).status, 0);  // no name for the standard output here
#else
    EXPECT_EQ(Tool({"--text", "--html", "/dev/null", data}).status, 0);
    ToolRun piped = Shell("(" + Program + " --text --html /dev/stdout " + data + "; echo \" exit $?\") | cat");
    EXPECT_NE(piped.out.find("<html>"), std::string::npos);
    EXPECT_EQ(piped.out.substr(piped.out.size() - 8), " exit 0\n") << piped.out;
#endif
}

// An output that cannot be written is an error, after the results for a report or a
// plot; it never replaces the input, nor leaves part of a report over an earlier one.
TEST(AjustorFitTool, OutputsThatFailAreErrorsAndDamageNothing)
{
    const std::string text = "1 2\n2 4\n3 6\n";
    std::string data = Write("self.txt", text);
    ExpectFailure(Tool({"--text", "--html", data, data}), "es el fichero de datos");
    ExpectFailure(Tool({"--text", "--plot", data, data}), "es el fichero de datos");
    std::string link = testing::TempDir() + "self-link.html";
    std::filesystem::remove(link);
#ifdef _WIN32
    // Symbolic links need a privilege on Windows; a hard link is the same file too.
    std::filesystem::create_hard_link(data, link);
#else
    std::filesystem::create_symlink(data, link);
#endif
    ExpectFailure(Tool({"--text", "--html", link, data}), "es el fichero de datos");
    ExpectFailure(Tool({"--text", "--html", data, "-"}, {.input = data, .folder = {}, .discardOutput = false}),
                  "es el fichero de datos");
    EXPECT_EQ(ReadAll(data), text);

    EXPECT_EQ(Tool({"--text", "--html", "/nonexistent/r.html", data}).status, 2);
    ToolRun run = Tool({"--text", "--plot", testing::TempDir() + "no-such-folder/p.png", data});
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.out.find("\najustor-fit: no se puede escribir la grafica \""), std::string::npos) << run.out;

    std::string folder = testing::TempDir() + "tool-report/";
    std::filesystem::remove_all(folder);
    std::filesystem::create_directory(folder);
    std::string report = folder + "r.html";
    std::ofstream(report) << "<html>earlier</html>";
    std::string many = Write("many.txt", Rows(500));
#ifdef _WIN32
    // Windows has no file size limit to stop a write half-way; a read-only report
    // cannot be replaced either.
    ASSERT_TRUE(SetFileAttributesW(Wide(report).c_str(), FILE_ATTRIBUTE_READONLY));
    run = Tool({"--text", "--html", report, many}, {.input = {}, .folder = {}, .discardOutput = true});
    SetFileAttributesW(Wide(report).c_str(), FILE_ATTRIBUTE_NORMAL);
#else
    // The disk fills half-way: the file size limit stops the write.
    run = Shell("trap '' XFSZ; ulimit -f 8; " + Program + " --text --html " + report + " " + many + " 2>&1 >/dev/null");
#endif
    ExpectFailure(run, "informe");
    EXPECT_EQ(ReadAll(report), "<html>earlier</html>");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), 1) << "no partial report is left";
    std::filesystem::remove_all(folder);

#ifndef _WIN32  // Windows has no device that is always full
    // More than any stdio buffer, and only the results.
    std::string lots = Write("full.txt", Rows(5000));
    ExpectFailure(Shell(Program + " --text --rows " + lots + " 2>&1 >/dev/full"), "salida");
    ExpectFailure(Shell(Program + " --text " + lots + " 2>&1 >/dev/full"), "salida");
#endif
}

// The York fit with four numbers per row: its results in their order, its per-row
// columns, its report; --stats adds the weighted fit's statistics after its fifteen.
TEST(AjustorFitTool, YorkFitAndTheWeightedFitsStatistics)
{
    std::string data = Write("york.txt", "0 0.1 1.1 0.2\n1 0.2 2.9 0.2\n2 0.1 5.2 0.3\n3 0.3 6.8 0.2\n");
    ToolRun run = Tool({"--york", "--text", "--rows", data});
    EXPECT_EQ(run.status, 0) << run.out;
    std::vector<std::string> lines;
    for (size_t at = 0, end; (end = run.out.find('\n', at)) != std::string::npos; at = end + 1)
        lines.push_back(run.out.substr(at, run.out.find('\t', at) - at));
    ASSERT_EQ(lines.size(), 1u + 4u + 12u) << run.out;  // captions, a line per row, the results
    EXPECT_EQ(std::vector<std::string>(lines.begin() + 5, lines.end()),
              (std::vector<std::string>{"N", "A", "B", "Error A", "Error B", "Cov AB", "Chi2", "Chi2/(N-2)", "P(Chi2)",
                                        "Error A escalado", "Error B escalado", "Iteraciones"}));
    EXPECT_EQ(run.out.substr(0, run.out.find('\n')), "W\tX ajustada\tY ajustada\t(Ax+B-y)/e");
    EXPECT_EQ(Tool({"--york", "--stats", "--text", data}).out, Tool({"--york", "--text", data}).out);

    std::string report = testing::TempDir() + "york.html";
    std::remove(report.c_str());
    EXPECT_EQ(Tool({"--york", "--text", "--html", report, data}).status, 0);
    std::string html = ReadAll(report);
    EXPECT_NE(html.find("<title>Ajustora-2 (Ajuste York)</title>"), std::string::npos);
    EXPECT_NE(html.find("<td>0,1</td>"), std::string::npos) << "the errors of x as read";

    ToolRun plain = Tool({"--weighted", "--text", data});
    ToolRun stats = Tool({"--weighted", "--stats", "--text", data});
    ASSERT_EQ(stats.out.rfind(plain.out, 0), 0u) << "the fifteen results first, unchanged";
    EXPECT_EQ(stats.out.substr(plain.out.size(), 7), "Cov AB\t");
    for (const char* name : {"\nChi2\t", "\nChi2/(N-2)\t", "\nP(Chi2)\t", "\nError A escalado\t", "\nError B escalado\t"})
        EXPECT_NE(stats.out.find(name, plain.out.size()), std::string::npos) << name;
}

// Every fault is one line naming the tool and what is wrong, with status 2: the
// arguments, a file that cannot be read, no rows, a cell or a word that is no number
// (where it is: line, or row and column), and a line the data do not determine.
TEST(AjustorFitTool, FaultsSayWhereAndWhatAndExitWithTwo)
{
    EXPECT_EQ(Tool({"--help"}).status, 0);
    std::string ok = Write("ok.txt", "1 2\n2 3\n");
    const struct {
        std::vector<std::string> arguments;
        std::string part;
    } calls[] = {
        {{}, ""},
        {{"--bogus", "x"}, ""},
        {{"a", "b"}, ""},
        {{"--html"}, ""},
        {{"--text", ok, "--plot"}, "--plot necesita"},
        {{"--stats", "--text", ok}, "--stats es para --weighted o --york"},
        {{"--weighted", "--york", "--text", ok}, "no van juntos"},
        {{"/nonexistent/data"}, "no se puede leer \"/nonexistent/data\""},
        {{"/nonexistent/a\nb\"c"}, "\"/nonexistent/a\\x0ab\\\"c\""},  // names are quoted
    };
    for (const auto& c : calls) {
        SCOPED_TRACE(c.part);
        ExpectFailure(Tool(c.arguments), c.part);
    }

    // Files, through the tool's own readers (each reason itself is the readers' and the
    // fits' tests'): "@" in a message stands for the file's quoted name.
    const struct {
        std::vector<std::string> options;
        std::string bytes;
        std::string message;
    } files[] = {
        {{}, "", "no hay filas de datos"},
        {{}, "\x01", "no hay filas de datos"},
        {{}, std::string("\x01\x00", 2), "no hay filas de datos"},
        {{}, std::string(3, '\0'), "no hay filas de datos"},
        {{}, std::string(4, '\0'), "no hay filas de datos"},
        {{"--text"}, "# x y\n\n# nada\n", "no hay filas de datos"},
        {{"--text"}, "", "no hay filas de datos"},
        {{"--text"}, "1 2\n3\n", "@:2:"},
        {{"--text"}, "1 2\n2 abc\n3 6\n", "@:2: \"abc\" no es un numero"},
        {{"--text"}, "1 2\n2 4,1x\n3 6\n", "@:2: \"4,1x\" no es un numero"},
        {{"--rows"}, Records("1;;2abc;;\n3;;6;;\n"), "@: fila 1, Valores Y: \"2abc\" no es un numero"},
        {{"--rows"}, Records("1;;2;;\n;;;;\n3;;6;;\n"), "@: fila 2, Valores X: la celda esta vacia"},
        {{"--weighted"}, Records("1;;2;0,1;\n3;;6;;\n"), "@: fila 2, Errores Y == w: la celda esta vacia"},
        {{"--rows", "--text"}, "2 1\n2 3\n2 4\n", "@: hacen falta al menos dos valores de X distintos"},
        {{"--weighted", "--text"}, "1 2 0.5\n2 3 0\n", "@: fila 2, Errores Y == w: el error es 0"},
        {{"--york", "--text"}, "1 0.1 2 0.5\n2 0 3 0\n3 0.1 4 1\n", "@: fila 2, Errores X: este error y el de Y son 0"},
    };
    for (const auto& f : files) {
        SCOPED_TRACE(f.message);
        std::vector<std::string> arguments = f.options;
        arguments.push_back(Write("fault.in", f.bytes));
        std::string message = f.message;
        if (message[0] == '@')
            message.replace(0, 1, Quoted(arguments.back()));
        ExpectFailure(Tool(arguments), message);
    }
}

TEST(AjustorFitTool, EndlessInputEndsWithAMessage)
{
#ifdef _WIN32
    // No endless devices here: input longer than the limits ends the same way.
    std::string zeros(3u << 20, '0');
    ExpectFailure(Tool({"--text", Write("long-line.txt", zeros)}), "linea de mas de");
    std::string record = Write("long-record.dat", std::string("\x01\x00\x00\x00", 4) + zeros);
    ExpectFailure(Tool({"-"}, {.input = record, .folder = {}, .discardOutput = false}), "registro de mas de");
    GTEST_SKIP() << "Windows has no /dev/zero, /dev/urandom nor address-space limits (ulimit -v)";
#else
    ExpectFailure(Tool({"--text", "/dev/zero"}), "linea de mas de");
    ExpectFailure(Tool({"--text", "/dev/urandom"}), "/dev/urandom");
    ExpectFailure(Shell("{ printf '\\001\\000\\000\\000'; cat /dev/zero; } | timeout 60 " + Program + " - 2>&1"),
                  "registro de mas de");
    // Random records end at their first cell at fault (no number, or empty): nothing is
    // kept while they are read.
    ExpectFailure(Shell("timeout 60 " + Program + " /dev/urandom 2>&1"), "\"/dev/urandom\": fila ");
    if (Sanitized())
        GTEST_SKIP() << "the sanitizers' allocator cannot run under an address-space limit";
    // Memory runs out: rows without end, as text and as records of a data file.
    ExpectFailure(Shell("ulimit -v 400000; yes '1 2' | timeout 120 " + Program + " --text - 2>&1"), "memoria agotada");
    ExpectFailure(Shell("ulimit -v 400000; { printf '\\377\\377\\377\\377'; yes '1;0.1;2;0.2;'; } | timeout 120 " +
                        Program + " - 2>&1"),
                  "memoria agotada");
#endif
}
