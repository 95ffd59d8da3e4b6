// The command-line tool as a user runs it: exit status, standard output and errors.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace {
struct ToolRun {
    int status;
    std::string out;
};

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

const std::string Program = AJUSTOR_FIT_TOOL;

// The tool with both its outputs captured, ended after a minute at most. Under the
// sanitizers, the list of suppressed leaks (fontconfig's, once a canvas has a font) is
// not part of what the tool says.
ToolRun Tool(const std::string& arguments)
{
    return Shell("ASAN_OPTIONS=\"${ASAN_OPTIONS}${ASAN_OPTIONS:+:}print_suppressions=0\" timeout 60 " + Program + " " +
                 arguments + " 2>&1");
}

std::string ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
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

std::string Write(const std::string& name, const std::string& text)
{
    std::string path = testing::TempDir() + name;
    std::ofstream(path, std::ios::binary) << text;
    return path;
}
}  // namespace

TEST(AjustorFitTool, PrintsTheNamedResults)
{
    std::string data = Write("tool.txt", "1 2\n2 4\n3 6\n");
    ToolRun run = Tool("--text " + data);
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "N\t3\nSx\t6\nSy\t12\nSxx\t14\nSyy\t56\nSxy\t28\nS[(Ax+B-y)]\t0\nDelta\t6\nError Y\t0\n"
                       "A\t2\nB\t0\nError A\t0\nError B\t0\nr\t1\n");
    run = Tool("--text --weighted --rows " + Write("toolw.txt", "1 2 2\n2 4 2\n3 6 2\n"));
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out.substr(0, run.out.find('\n')), "1/w\t(X*Y)/w\t(X*X)/w\tX/w\tY/w\t((Ax+B-y)/w)");
    EXPECT_NE(run.out.find("\n0.25\t0.5\t0.25\t0.25\t0.5\t0\n"), std::string::npos);
    EXPECT_NE(run.out.find("\nSw\t0.75\n"), std::string::npos);
}

TEST(AjustorFitTool, ReadsTheProgramsDataFiles)
{
    // Row count 2 (little-endian), then two records.
    std::string file("\x02\x00\x00\x00" "1;0.1;2;0.2;\n3;0.1;6;0.2;\n", 30);
    ToolRun run = Tool(Write("tool.dat", file));
    EXPECT_EQ(run.status, 0) << run.out;
    EXPECT_NE(run.out.find("\nA\t2\n"), std::string::npos) << run.out;
}

TEST(AjustorFitTool, WritesTheReport)
{
    std::string report = testing::TempDir() + "tool.html";
    std::remove(report.c_str());
    ToolRun run = Tool("--text --html " + report + " " + Write("tool2.txt", "1 2.5\n2 4\n3 6\n"));
    EXPECT_EQ(run.status, 0);
    std::ifstream in(report);
    std::string html((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(html.rfind("<html>", 0), 0u);
    EXPECT_NE(html.find("<td>2,5</td>"), std::string::npos);
}

TEST(AjustorFitTool, ArgumentAndFileErrorsSayWhyAndExitWithTwo)
{
    EXPECT_EQ(Tool("--help").status, 0);
    for (const std::string& arguments : {std::string(""), std::string("--bogus x"), std::string("a b"),
                                         std::string("--html"), std::string("/nonexistent/data")}) {
        ToolRun run = Tool(arguments);
        EXPECT_EQ(run.status, 2) << arguments;
        EXPECT_EQ(run.out.rfind("ajustor-fit: ", 0), 0u) << arguments;
        EXPECT_EQ(run.out.find('\n'), run.out.size() - 1) << "one line: " << run.out;
    }
    ToolRun bad = Tool("--text " + Write("bad.txt", "1 2\n3\n"));
    EXPECT_EQ(bad.status, 2);
    EXPECT_NE(bad.out.find("\"" + testing::TempDir() + "bad.txt\":2:"), std::string::npos) << bad.out;
    ToolRun unwritable = Tool("--text --html /nonexistent/r.html " + Write("ok.txt", "1 2\n2 3\n"));
    EXPECT_EQ(unwritable.status, 2);
}

TEST(AjustorFitTool, AFailedReportLeavesTheEarlierOne)
{
    std::string folder = testing::TempDir() + "tool-report/";
    std::filesystem::remove_all(folder);
    std::filesystem::create_directory(folder);
    std::string report = folder + "r.html";
    std::ofstream(report) << "<html>earlier</html>";
    std::string data = Write("many.txt", Rows(500));
    // The disk fills half-way: the file size limit stops the write.
    ToolRun run = Shell("trap '' XFSZ; ulimit -f 8; " + Program + " --text --html " + report + " " + data + " 2>&1 >/dev/null");
    ExpectFailure(run, "informe");
    EXPECT_EQ(ReadAll(report), "<html>earlier</html>");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), 1) << "no partial report is left";
    std::filesystem::remove_all(folder);
}

TEST(AjustorFitTool, OutputThatCannotBeWrittenIsAFailure)
{
    std::string data = Write("full.txt", Rows(5000));
    // More than any stdio buffer, and only the results.
    ExpectFailure(Shell(Program + " --text --rows " + data + " 2>&1 >/dev/full"), "salida");
    ExpectFailure(Shell(Program + " --text " + data + " 2>&1 >/dev/full"), "salida");
}

TEST(AjustorFitTool, EndlessInputEndsWithAMessage)
{
    ExpectFailure(Tool("--text /dev/zero"), "linea de mas de");
    ExpectFailure(Tool("--text /dev/urandom"), "/dev/urandom");
    ExpectFailure(Shell("{ printf '\\001\\000\\000\\000'; cat /dev/zero; } | timeout 60 " + Program + " - 2>&1"),
                  "registro de mas de");
    if (Sanitized())
        GTEST_SKIP() << "the sanitizers' allocator cannot run under an address-space limit";
    // Memory runs out: rows without end, a data file of random records.
    ExpectFailure(Shell("ulimit -v 400000; yes '1 2' | timeout 120 " + Program + " --text - 2>&1"), "memoria agotada");
    ExpectFailure(Shell("ulimit -v 400000; timeout 120 " + Program + " /dev/urandom 2>&1"), "memoria agotada");
}

TEST(AjustorFitTool, ReportsGoToDevicesAndPipes)
{
    std::string data = Write("dev.txt", "1 2\n2 4\n3 6\n");
    EXPECT_EQ(Tool("--text --html /dev/null " + data).status, 0);
    ToolRun piped = Shell("(" + Program + " --text --html /dev/stdout " + data + "; echo \" exit $?\") | cat");
    EXPECT_NE(piped.out.find("<html>"), std::string::npos);
    EXPECT_EQ(piped.out.substr(piped.out.size() - 8), " exit 0\n") << piped.out;
}

TEST(AjustorFitTool, TheReportNeverReplacesTheInput)
{
    const std::string text = "1 2\n2 4\n3 6\n";
    std::string data = Write("self.txt", text);
    ExpectFailure(Tool("--text --html " + data + " " + data), "es el fichero de datos");
    std::string link = testing::TempDir() + "self-link.html";
    std::filesystem::remove(link);
    std::filesystem::create_symlink(data, link);
    ExpectFailure(Tool("--text --html " + link + " " + data), "es el fichero de datos");
    ExpectFailure(Shell(Program + " --text --html " + data + " - < " + data + " 2>&1"), "es el fichero de datos");
    EXPECT_EQ(ReadAll(data), text);
}

TEST(AjustorFitTool, NoDataRowsIsAnError)
{
    const std::string files[] = {"", "\x01", "\x01\x00", std::string("\x00\x00\x00", 3), std::string("\x00\x00\x00\x00", 4)};
    int i = 0;
    for (const std::string& bytes : files)
        ExpectFailure(Tool(Write("norows" + std::to_string(i++) + ".dat", bytes)), "no hay filas de datos");
    ExpectFailure(Tool("--text " + Write("comments.txt", "# x y\n\n# nada\n")), "no hay filas de datos");
    ExpectFailure(Tool("--text " + Write("empty.txt", "")), "no hay filas de datos");
}

TEST(AjustorFitTool, TyposAreErrorsNamingFileLineAndToken)
{
    for (const std::string token : {"abc", "inf", "0x10", "4,1x"}) {
        std::string data = Write("typo.txt", "1 2\n2 " + token + "\n3 6\n");
        ExpectFailure(Tool("--text " + data), "\"" + data + "\":2: \"" + token + "\" no es un numero");
    }
    // The cells of data files keep their lenient reading.
    std::string file("\x02\x00\x00\x00" "1;;2abc;;\n3;;6;;\n", 22);
    EXPECT_EQ(Tool(Write("lenient.dat", file)).status, 0);
}

TEST(AjustorFitTool, StandardInputEndOfOptionsAndSpreadsheets)
{
    const std::string expected = "A\t1.950000000000000177635683940025\n";
    ToolRun piped = Shell("printf '1 2\\n2 4.1\\n3 5.9\\n' | " + Program + " --text -");
    EXPECT_EQ(piped.status, 0);
    EXPECT_NE(piped.out.find(expected), std::string::npos) << piped.out;
    std::string dashed = Write("-dashed.txt", "1 2\n2 4.1\n3 5.9\n");
    ToolRun ended = Shell("cd " + testing::TempDir() + " && " + Program + " --text -- -dashed.txt 2>&1");
    EXPECT_NE(ended.out.find(expected), std::string::npos) << ended.out;
    ToolRun comma = Tool("--text " + Write("sheet.csv", "x,y\r\n1,2\r\n2,4.1\r\n3,5.9\r\n"));
    EXPECT_NE(comma.out.find(expected), std::string::npos) << comma.out;
    ToolRun semicolon = Tool("--text " + Write("hoja.csv", "x;y\n1;2\n2;4,1\n3;5,9\n"));
    EXPECT_NE(semicolon.out.find(expected), std::string::npos) << semicolon.out;
}

TEST(AjustorFitTool, NamesInMessagesAreQuoted)
{
    ToolRun run = Tool("'/nonexistent/a\nb\"c'");
    ExpectFailure(run, "\"/nonexistent/a\\x0ab\\\"c\"");
}

// The plot as a PNG of 800 × 600; never over the input, and a failure is an error.
TEST(AjustorFitTool, WritesThePlot)
{
    std::string plot = testing::TempDir() + "tool-plot.png";
    std::remove(plot.c_str());
    std::string data = Write("tool-plot.txt", "1 0.1 2 0.2\n2 0.1 4 0.2\n3 0.1 6 0.2\n");
    ToolRun run = Tool("--text --weighted --plot " + plot + " " + data);
    EXPECT_EQ(run.status, 0) << run.out;
    std::string png = ReadAll(plot);
    ASSERT_GT(png.size(), 24u);
    EXPECT_EQ(png.substr(0, 8), "\x89PNG\r\n\x1a\n");
    EXPECT_EQ(png.substr(16, 8), std::string("\0\0\x03\x20\0\0\x02\x58", 8));  // 800 × 600

    ExpectFailure(Tool("--text --plot " + data + " " + data), "es el fichero de datos");
    EXPECT_EQ(ReadAll(data), "1 0.1 2 0.2\n2 0.1 4 0.2\n3 0.1 6 0.2\n");
    // The results are out before the plot is written; the failure still ends the run.
    run = Tool("--text --plot " + testing::TempDir() + "no-such-folder/p.png " + data);
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.out.find("\najustor-fit: no se puede escribir la grafica \""), std::string::npos) << run.out;
    ExpectFailure(Tool("--text " + data + " --plot"), "--plot necesita");
}

// A data set saved after the last Enter ends in a row of empty cells: it is no data,
// neither for the fit nor for the report's data table.
TEST(AjustorFitTool, TrailingEmptyRowsOfADataFileAreNoData)
{
    std::string file("\x04\x00\x00\x00" "1;0.1;2;0.2;\n2;0.1;4.1;0.2;\n3;0.1;5.9;0.3;\n;;;;\n", 50);
    std::string report = testing::TempDir() + "tool-trailing.html";
    ToolRun run = Tool("--html " + report + " " + Write("tool-trailing.dat", file));
    EXPECT_EQ(run.status, 0) << run.out;
    EXPECT_EQ(run.out.rfind("N\t3\n", 0), 0u) << run.out;
    std::string html = ReadAll(report);
    EXPECT_NE(html.find("<td>5,9</td><td>0,3</td></tr></table>"), std::string::npos) << html;
}
