#ifndef _WIN32
#include <sys/resource.h>
#endif

#include <cerrno>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <utility>

#include "tests/app/FitFixture.h"

namespace {
size_t Count(const std::string& text, const std::string& what)
{
    size_t n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        n++;
    return n;
}

class FitReportTest : public FitFixture {
protected:
    void SetUp() override
    {
        FitFixture::SetUp();
        FillAll({{"1", "2.5", "3"}, {"0.1", "0.1", "0.1"}, {"2", "4.25", "6.5"}, {"0.2", "0.2", "0.5"}});
        path = testing::TempDir() + "report_" + testing::UnitTest::GetInstance()->current_test_info()->name();
    }

    int Export(FitKind kind)
    {
        lastError = 0;
        return ExportReport(app, path, RunFit(kind, Data()), data, &lastError);
    }
    std::string path;
    int lastError = 0;
};
}  // namespace

// Each fit's report: the checked file where there is one, one line, decimal commas,
// then header rows, 3 + 3 data rows and the result rows, colours alternating per table.
TEST_F(FitReportTest, EachFitsReportIsItsCheckedFile)
{
    const struct {
        FitKind kind;
        const char* checked;
        size_t blue, green;
        std::vector<std::string> captions;
    } cases[] = {
        {FitKind::Simple, "simple_report.html", 2 + 2 + 7, 1 + 1 + 7, {"<title>Ajustora-2 (Ajuste Simple)</title>"}},
        {FitKind::Weighted, "weighted_report.html", 2 + 2 + 8, 1 + 1 + 7, {}},
        {FitKind::York, nullptr, 2 + 2 + 6, 1 + 1 + 6,
         {"<title>Ajustora-2 (Ajuste York)</title>", "<center>W</center>", "<center>X ajustada</center>",
          "<center>Y ajustada</center>", "<center>(Ax+B-y)/e</center>", "<td>Cov AB</td>", "<td>P(Chi2)</td>",
          "<td>Iteraciones</td>"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.kind));
        ASSERT_EQ(Export(c.kind), 1);
        std::string report = ReadBytes(path);
        if (c.checked) {
            EXPECT_EQ(report, ReadBytes(std::string(APP_TEST_DATA "/") + c.checked));
        }
        EXPECT_EQ(report.find('\n'), std::string::npos);
        EXPECT_EQ(report.find('.'), std::string::npos) << "every point became a comma";
        EXPECT_EQ(Count(report, "<tr bgcolor=\"#faf5f0\">"), 3u);
        EXPECT_EQ(Count(report, "<tr bgcolor=\"#effaff\">"), c.blue);
        EXPECT_EQ(Count(report, "<tr bgcolor=\"#faffef\">"), c.green);
        for (const std::string& caption : c.captions)
            EXPECT_EQ(Count(report, caption), 1u) << caption;
    }
}

// Markup typed in a cell stays text; a second export replaces the first; a report that
// cannot be created says why, for the message a window shows.
TEST_F(FitReportTest, MarkupIsEscapedAndFailuresGiveTheirReason)
{
    Fill(ColumnErrorX, {"<b>&\"", "0.1", "0.1"});
    ASSERT_EQ(Export(FitKind::Simple), 1);
    ASSERT_EQ(Export(FitKind::Simple), 1);
    std::string report = ReadBytes(path);
    EXPECT_NE(report.find("<td>&lt;b&gt;&amp;&quot;</td>"), std::string::npos);
    EXPECT_EQ(Count(report, "<html>"), 1u);

    const std::pair<std::string, int> failures[] = {
        {"/nonexistent-folder/report.html", ENOENT},
#ifndef _WIN32
        {"/dev/full", ENOSPC},
#endif
        {testing::TempDir(), EISDIR},
    };
    for (const auto& [where, error] : failures) {
        path = where;
        EXPECT_EQ(Export(FitKind::Weighted), 0) << where;
        EXPECT_EQ(lastError, error) << where;
    }
}

TEST_F(FitReportTest, AReportThatFailsHalfWayLeavesTheEarlierOne)
{
#ifdef _WIN32
    GTEST_SKIP() << "a disk that fills half-way is made with a file size limit, which Windows has not";
#else
    FillAll(std::vector<Texts>(4, Texts(300, "123.456789")));
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
    EXPECT_EQ(ReadBytes(path), earlier);
    auto files = std::distance(std::filesystem::directory_iterator(folder), std::filesystem::directory_iterator());
    EXPECT_EQ(files, 1) << "the partial report is removed";
    std::filesystem::remove_all(folder);
#endif
}
