// The command-line tool as a user runs it: exit status, standard output and errors.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <fstream>
#include <string>

namespace {
struct ToolRun {
    int status;
    std::string out;
};

ToolRun Tool(const std::string& arguments)
{
    std::string command = std::string(AJUSTOR_FIT_TOOL) + " " + arguments + " 2>&1";
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
    EXPECT_NE(bad.out.find(":2:"), std::string::npos);
    ToolRun unwritable = Tool("--text --html /nonexistent/r.html " + Write("ok.txt", "1 2\n2 3\n"));
    EXPECT_EQ(unwritable.status, 2);
}
