#ifndef _WIN32
#include <sys/resource.h>
#endif

#include <cerrno>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/FitLines.h"
#include "app/FitReport.h"
#include "tests/app/FitFixture.h"

namespace {
std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

class FitReportTest : public FitFixture {
protected:
    void SetUp() override
    {
        FitFixture::SetUp();
        Fill(ColumnX, {"1", "2.5", "3"});
        Fill(ColumnErrorX, {"0.1", "0.1", "0.1"});
        Fill(ColumnY, {"2", "4.25", "6.5"});
        Fill(ColumnErrorY, {"0.2", "0.2", "0.5"});
        path = testing::TempDir() + "report_" + testing::UnitTest::GetInstance()->current_test_info()->name();
    }

    // Runs a fit and writes its report, as a result window does.
    int Export(FitKind kind)
    {
        FitResult fit = RunFit(kind, Data());
        CList* cells[4];
        for (int i = 0; i < 4; i++)
            cells[i] = data[i]->GetLines();
        Variable target(new CString(app));
        target.As<CString>()->SetText(path.c_str());
        lastError = 0;
        return WriteFitReport(app, target.As<CString>(), fit, cells, &lastError);
    }
    std::string path;
    int lastError = 0;
};

size_t Count(const std::string& text, const std::string& what)
{
    size_t n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        n++;
    return n;
}
}  // namespace

TEST_F(FitReportTest, SimpleReportIsExactlyTheCheckedFile)
{
    ASSERT_EQ(Export(FitKind::Simple), 1);
    std::string report = ReadFile(path);
    EXPECT_EQ(report, ReadFile(APP_TEST_DATA "/simple_report.html"));
    EXPECT_EQ(report.find('\n'), std::string::npos);
    EXPECT_EQ(report.find('.'), std::string::npos);  // every point became a comma
    // Header rows, then 3 + 3 data rows and 14 result rows, colours alternating per table.
    EXPECT_EQ(Count(report, "<tr bgcolor=\"#faf5f0\">"), 3u);
    EXPECT_EQ(Count(report, "<tr bgcolor=\"#effaff\">"), 2u + 2u + 7u);
    EXPECT_EQ(Count(report, "<tr bgcolor=\"#faffef\">"), 1u + 1u + 7u);
}

TEST_F(FitReportTest, WeightedReportIsExactlyTheCheckedFile)
{
    ASSERT_EQ(Export(FitKind::Weighted), 1);
    std::string report = ReadFile(path);
    EXPECT_EQ(report, ReadFile(APP_TEST_DATA "/weighted_report.html"));
    EXPECT_EQ(Count(report, "<tr bgcolor=\"#effaff\">"), 2u + 2u + 8u);
    EXPECT_EQ(Count(report, "<tr bgcolor=\"#faffef\">"), 1u + 1u + 7u);
}

TEST_F(FitReportTest, YorkReportHasItsTitleColumnsAndResults)
{
    ASSERT_EQ(Export(FitKind::York), 1);
    std::string report = ReadFile(path);
    EXPECT_NE(report.find("<title>Ajustora-2 (Ajuste York)</title>"), std::string::npos);
    for (const char* caption : {"<center>W</center>", "<center>X ajustada</center>", "<center>Y ajustada</center>",
                                "<center>(Ax+B-y)/e</center>", "<td>Cov AB</td>", "<td>P(Chi2)</td>", "<td>Iteraciones</td>"})
        EXPECT_EQ(Count(report, caption), 1u) << caption;
    // Header rows, then 3 + 3 data rows and 12 result rows, colours alternating per table.
    EXPECT_EQ(Count(report, "<tr bgcolor=\"#effaff\">"), 2u + 2u + 6u);
    EXPECT_EQ(Count(report, "<tr bgcolor=\"#faffef\">"), 1u + 1u + 6u);
    EXPECT_EQ(report.find('.'), std::string::npos);
}

TEST_F(FitReportTest, TypedMarkupInACellIsEscapedAndReExportOverwrites)
{
    Fill(ColumnErrorX, {"<b>&\"", "0.1", "0.1"});
    ASSERT_EQ(Export(FitKind::Simple), 1);
    ASSERT_EQ(Export(FitKind::Simple), 1);  // the second export replaces the first
    std::string report = ReadFile(path);
    EXPECT_NE(report.find("<td>&lt;b&gt;&amp;&quot;</td>"), std::string::npos);
    EXPECT_EQ(Count(report, "<html>"), 1u);
}

TEST_F(FitReportTest, AReportThatCannotBeCreatedReportsFailure)
{
    path = "/nonexistent-folder/report.html";
    EXPECT_EQ(Export(FitKind::Simple), 0);
    EXPECT_EQ(lastError, ENOENT) << "the reason, for the message a window shows";
#ifndef _WIN32
    path = "/dev/full";
    EXPECT_EQ(Export(FitKind::Weighted), 0);
    EXPECT_EQ(lastError, ENOSPC);
#endif
    path = testing::TempDir();
    EXPECT_EQ(Export(FitKind::Simple), 0);
    EXPECT_EQ(lastError, EISDIR);
}

TEST_F(FitReportTest, AReportThatFailsHalfWayLeavesTheEarlierOne)
{
#ifdef _WIN32
    GTEST_SKIP() << "a disk that fills half-way is made with a file size limit, which Windows has not";
#else
    std::vector<std::string> many(300, "123.456789");
    for (int c = 0; c < 4; c++)
        Fill(c, many);
    std::string folder = testing::TempDir() + "report-half-way";
    std::filesystem::remove_all(folder);
    std::filesystem::create_directory(folder);
    path = folder + "/informe.html";
    const std::string earlier = "<html>earlier report</html>";
    std::ofstream(path, std::ios::binary) << earlier;

    // The disk fills half-way: the file size limit stops the write.
    struct rlimit saved {};
    getrlimit(RLIMIT_FSIZE, &saved);
    struct rlimit small = saved;
    small.rlim_cur = 4096;
    auto previous = std::signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &small);
    int result = Export(FitKind::Simple);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previous);

    EXPECT_EQ(result, 0);
    EXPECT_EQ(ReadFile(path), earlier);
    size_t files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        files += entry.is_regular_file() ? 1 : 0;
    EXPECT_EQ(files, 1u) << "the partial report is removed";
    std::filesystem::remove_all(folder);
#endif
}
