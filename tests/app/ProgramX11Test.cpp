// The real program on a private X server, driven through the server by xdotool as a
// person would drive it: a data set typed into the four columns, saved, the three fits
// run, their reports and plots with axes exported through the chooser and compared
// byte for byte with what ajustor-fit writes for the saved file, "Nuevo", "Cargar", a
// cell that is no number, the data typed again with decimal commas (the same reports),
// the about window, and the end by the title bar's close button; then loads and saves
// that must not damage data, and a block of 100,000 rows offered by xclip, pasted with
// Control+V and saved whole. Once without a window manager, once under openbox.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "platform/x11/PX11Driver.h"
#include "platform/x11/PXvfbServer.h"

namespace {
namespace fs = std::filesystem;
using namespace std::chrono_literals;

// A top-level window as the X server places it.
struct Place {
    unsigned long id = 0;
    int x = 0, y = 0, width = 0, height = 0;
};

// Points of the main window's client area: its buttons and the first cell of column 1.
struct Point {
    int x, y;
};
constexpr Point New{8 + 74, 8 + 24}, Load{8 + 74, 58 + 24}, SaveAs{8 + 74, 158 + 24}, FirstCell{168 + 50, 24 + 6},
    About{46 + 36, 234 + 36};
const char* const MainTitle = "Ajustor-2  \\(Beta 3\\)";
const char* const SaveAsTitle = "Guardar Datos Como \\.\\.\\.";
const char* const PlotTitle = "Grafica \\(Meramente Orientativa\\)";

std::string Shell(const std::string& command)
{
    std::string out;
    if (std::FILE* pipe = popen(command.c_str(), "r")) {
        char chunk[4096];
        for (size_t n; (n = std::fread(chunk, 1, sizeof chunk, pipe)) > 0;)
            out.append(chunk, n);
        pclose(pipe);
    }
    return out;
}

std::string ReadAll(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// Asks until the answer is yes or the time is up; the last answer.
bool Until(const std::function<bool()>& done, std::chrono::milliseconds timeout = 10s)
{
    for (auto deadline = std::chrono::steady_clock::now() + timeout; std::chrono::steady_clock::now() < deadline;) {
        if (done())
            return true;
        std::this_thread::sleep_for(50ms);
    }
    return done();
}

std::string Count(char n) { return std::string(1, n) + std::string(3, '\0'); }

// The black pixels of a picture, as offsets from their top left.
using Pattern = std::set<std::pair<int, int>>;

Pattern Moved(const Pattern& pattern)
{
    int minX = INT32_MAX, minY = INT32_MAX;
    for (auto [x, y] : pattern) {
        minX = std::min(minX, x);
        minY = std::min(minY, y);
    }
    Pattern moved;
    for (auto [x, y] : pattern)
        moved.insert({x - minX, y - minY});
    return moved;
}

int WidthOf(const Pattern& pattern)
{
    int right = -1;
    for (auto [x, y] : pattern)
        right = std::max(right, x);
    return right + 1;
}

// The rightmost part of a pattern, as wide as `width`.
Pattern RightEnd(const Pattern& pattern, int width)
{
    Pattern end;
    int from = WidthOf(pattern) - width;
    std::copy_if(pattern.begin(), pattern.end(), std::inserter(end, end.end()), [&](auto p) { return p.first >= from; });
    return Moved(end);
}

constexpr uint32_t Separator = 198 | 226 << 8 | 255 << 16;  // between the rows of a column

// A column of a window as the screen shows it, its row height read off the lines
// between the rows.
struct Shown {
    std::vector<uint32_t> pixels;
    int width = 0, rowHeight = 0;

    // The black pixels of a row's text; a line black across nearly all of it is a
    // frame, not text.
    Pattern Row(int row) const
    {
        Pattern found;
        for (int y = row * rowHeight + 1; y < (row + 1) * rowHeight + 1; y++) {
            Pattern line;
            for (int x = 1; x < width - 1; x++)
                if (size_t(y * width + x) < pixels.size() && pixels[size_t(y * width + x)] == 0)
                    line.insert({x, y});
            if (int(line.size()) < (width - 2) * 9 / 10)
                found.insert(line.begin(), line.end());
        }
        return Moved(found);
    }
};

class ProgramX11Test : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override
    {
        if (!server.Start(1024, 768))
            GTEST_SKIP() << "no Xvfb: " << server.GetError();
        if (GetParam() && !server.StartWindowManager("openbox"))
            GTEST_SKIP() << "no window manager: " << server.GetError();
        char pattern[] = "/tmp/ajustor-drive-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        run = pattern;
        data = run / "Dades";
        fs::create_directory(data);
        pictures = fs::path(PICTURE_OUTPUT) / (GetParam() ? "openbox" : "sin-gestor");
        fs::create_directories(pictures);
        ASSERT_NO_FATAL_FAILURE(Start());
        ASSERT_EQ(driver.Open(server.GetDisplayName().c_str()), 1);
        EXPECT_EQ(main.width, 600 + 4);
        EXPECT_GE(titleHeight, 20);
    }

    void TearDown() override
    {
        if (program > 0) {
            kill(program, SIGKILL);
            waitpid(program, nullptr, 0);
        }
        if (!run.empty())
            fs::remove_all(run);
    }

    // Starts the program and waits for its main window.
    void Start()
    {
        program = fork();
        if (program == 0) {
            setenv("DISPLAY", server.GetDisplayName().c_str(), 1);
            setenv("XDG_STATE_HOME", (run / "estado").c_str(), 1);  // its recovery files
            if (chdir(run.c_str()) == 0)
                execl(AJUSTOR_PROGRAM, "ajustor", static_cast<char*>(nullptr));
            _exit(127);
        }
        ASSERT_GT(program, 0);
        main = Find(MainTitle);
        ASSERT_NE(main.id, 0u);
        titleHeight = main.height - 480 - 4;
    }

    std::string Xdo(const std::string& arguments)
    {
        return Shell("DISPLAY=" + server.GetDisplayName() + " xdotool " + arguments + " 2>/dev/null");
    }

    bool Visible(const std::string& title) { return Xdo("search --onlyvisible --name '^" + title + "$'") != ""; }

    // The visible top-level window with this title, waited for. Child windows share
    // their window's title; the top level is the largest.
    Place Find(const std::string& title)
    {
        Place best;
        Until([&] {
            std::istringstream ids(Xdo("search --onlyvisible --name '^" + title + "$'"));
            for (unsigned long id; ids >> id;) {
                Place p{id};
                std::sscanf(Xdo("getwindowgeometry --shell " + std::to_string(id)).c_str(),
                            "WINDOW=%*u X=%d Y=%d WIDTH=%d HEIGHT=%d", &p.x, &p.y, &p.width, &p.height);
                if (p.width * p.height > best.width * best.height)
                    best = p;
            }
            return best.id != 0;
        });
        if (!best.id)
            ADD_FAILURE() << "no window \"" << title << "\"";
        return best;
    }

    // A click on a point of a decorated window's client area: the frame is 2 pixels
    // wide and the title bar `titleHeight` high.
    void Click(const Place& window, int x, int y) { ClickScreen(window.x + 2 + x, window.y + titleHeight + 2 + y); }
    void Click(Point point) { Click(main, point.x, point.y); }

    // A button of a message window's row of buttons.
    void ClickButton(const Place& message, int centreX)
    {
        Click(message, centreX, message.height - titleHeight - 4 - 12 - 13);
    }
    void Accept(const Place& message) { ClickButton(message, (message.width - 4) / 2); }

    // The close button of a decorated window's title bar.
    void Close(const Place& window)
    {
        ClickScreen(window.x + window.width - titleHeight + 2 + 6, window.y + (titleHeight - 2) / 2 - 3 + 5);
    }

    void ClickScreen(int x, int y) { Send("mousemove " + std::to_string(x) + " " + std::to_string(y) + " click 1"); }
    void Type(const std::string& text) { Send("type --delay 15 '" + text + "'"); }
    void Keys(const std::string& keys) { Send("key --delay 15 " + keys); }

    // Sends input, then lets the program take it before the next step.
    void Send(const std::string& arguments)
    {
        Xdo(arguments);
        std::this_thread::sleep_for(120ms);
    }

    // Types rows of four cells as into a spreadsheet: Tab between cells, Enter after
    // the last, which goes on in the first column of the next row.
    void TypeRows(const std::vector<std::vector<std::string>>& rows)
    {
        for (const auto& row : rows)
            for (size_t cell = 0; cell < row.size(); cell++) {
                Type(row[cell]);
                Keys(cell + 1 < row.size() ? "Tab" : "Return");
            }
    }

    Shown Column(const Place& window, int x, int y, int width, int height)
    {
        Shown shown;
        shown.width = width;
        shown.pixels = driver.ScreenPixels(window.x + 2 + x, window.y + titleHeight + 2 + y, width, height);
        std::vector<int> lines;
        for (int row = 0; row < height && size_t(row * width + width / 2) < shown.pixels.size(); row++)
            if (shown.pixels[size_t(row * width + width / 2)] == Separator)
                lines.push_back(row);
        // The current row's highlight hides some lines: the closest two are a row apart.
        for (size_t i = 1; i < lines.size(); i++)
            if (shown.rowHeight == 0 || lines[i] - lines[i - 1] < shown.rowHeight)
                shown.rowHeight = lines[i] - lines[i - 1];
        return shown;
    }

    // The file once it exists and has stopped growing.
    std::string WaitForFile(const fs::path& path)
    {
        std::error_code error;
        uintmax_t size = uintmax_t(-1);
        bool written = Until([&] {
            uintmax_t last = std::exchange(size, fs::exists(path, error) ? fs::file_size(path, error) : uintmax_t(-1));
            return size != uintmax_t(-1) && size == last;
        });
        EXPECT_TRUE(written) << "not written: " << path;
        return ReadAll(path);
    }

    // A picture of the screen once the program has painted (slowly, under the sanitizers).
    void Picture(const std::string& name)
    {
        std::this_thread::sleep_for(600ms);
        Shell("DISPLAY=" + server.GetDisplayName() + " import -window root " + (pictures / (name + ".png")).string() +
              " 2>/dev/null");
    }

    // Opens the chooser of a button, adds `name` to the folder it shows and confirms
    // with "O.k" or, as most people do, with Enter.
    void Choose(const Place& owner, Point button, const std::string& title, const std::string& name,
                bool enter = false)
    {
        Click(owner, button.x, button.y);
        Place chooser = Find(title);
        Type(name);
        if (enter)
            Keys("Return");
        else
            Click(chooser, 209 + 82, 330 + 11);
    }

    // The data set saved as `name` in the data folder, as written.
    std::string Save(const std::string& name)
    {
        Choose(main, SaveAs, SaveAsTitle, "/" + name);
        return WaitForFile(data / name);
    }

    int ExitStatus()
    {
        int status = 0;
        if (!Until([&] { return waitpid(program, &status, WNOHANG) == program; }))
            return -2;
        program = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    // Closed by its title bar, the program ends well.
    void Quit()
    {
        Close(main);
        EXPECT_EQ(ExitStatus(), 0);
    }

    platform::PXvfbServer server;
    platform::PX11Driver driver;
    pid_t program = -1;
    Place main;
    fs::path run, data, pictures;
    int titleHeight = 20;
};

std::string Tool(const std::string& arguments)
{
    return Shell(std::string("ASAN_OPTIONS=\"${ASAN_OPTIONS}${ASAN_OPTIONS:+:}print_suppressions=0\" ") +
                 AJUSTOR_FIT_TOOL + " " + arguments + " 2>&1");
}
}  // namespace

TEST_P(ProgramX11Test, TypeFitExportSaveLoadAndClose)
{
    // Column 1 has the keyboard at start. Tab walks the columns; Enter in the last
    // opens the next row, in the first column again.
    TypeRows({{"1", "0.1", "2", "0.2"}, {"2", "0.1", "4.1", "0.2"}, {"3", "0.1", "5.9", "0.3"}});
    Picture("principal");
    std::string saved = Save("datos.dat");
    EXPECT_EQ(saved, Count(4) + "1;0.1;2;0.2;\n2;0.1;4.1;0.2;\n3;0.1;5.9;0.3;\n;;;;\n");

    // Each fit: its window, the report exported through the chooser, then the result
    // and plot windows closed by their title bars, as they cover the main window.
    // "Ver grafica" stands left of "Exportar HTML"; the plot with axes is exported as
    // PNG or SVG, the same bytes as ajustor-fit --plot.
    struct Fit {
        std::string name;  // of the report, and of the pictures
        Point at;
        const char* title;
        Point html;  // "Exportar HTML"
        const char* options;
        const char* plot;
    } fits[] = {{"simple", {8 + 74, 394 + 19}, "Ajuste Simple", {450 + 82, 296 + 18}, "", ".png"},
                {"ponderado", {8 + 74, 434 + 19}, "Ajuste Ponderado", {650 + 82, 396 + 18}, "--weighted", ".svg"},
                {"york", {8 + 74, 354 + 19}, "Ajuste York", {450 + 82, 296 + 18}, "--york", ".png"}};
    // Both exports of a fit, as written: the report, then the plot.
    auto fitAndExport = [&](const Fit& fit, const std::string& name) {
        Click(fit.at);
        Place result = Find(fit.title);
        Place plot = Find(PlotTitle);
        Picture("ajuste-" + fit.name);
        Choose(result, fit.html, "Exportar HTML \\.\\.\\.", "/" + name + ".html");
        std::string report = WaitForFile(data / (name + ".html"));
        Click(result, fit.html.x - 164 - 8, fit.html.y);  // "Ver grafica"
        Place axes = Find(std::string("Grafica: ") + fit.title);
        EXPECT_EQ(axes.width, 800 + 4);
        Picture("grafica-" + fit.name);
        Choose(axes, {8 + 82, 605 + 18}, "Exportar grafica \\.\\.\\.", "/" + name + fit.plot);
        std::pair<std::string, std::string> exported{report, WaitForFile(data / (name + fit.plot))};
        Close(axes);
        Close(result);  // first: the weighted fit's window covers the plot's close button
        Close(plot);
        return exported;
    };
    std::vector<std::pair<std::string, std::string>> exports;
    for (const Fit& fit : fits) {
        auto [report, plot] = exports.emplace_back(fitAndExport(fit, fit.name));
        fs::path expected = run / ("esperado-" + fit.name + ".html"), expectedPlot = run / ("esperado-" + fit.name + fit.plot);
        Tool(std::string(fit.options) + " --html " + expected.string() + " --plot " + expectedPlot.string() + " " +
             (data / "datos.dat").string());
        EXPECT_EQ(report, ReadAll(expected)) << fit.title;
        EXPECT_NE(report.find("<td>5,9</td>"), std::string::npos);
        EXPECT_EQ(plot, ReadAll(expectedPlot)) << fit.title;
        EXPECT_GT(plot.size(), 1000u);
    }

    // "Nuevo" empties the columns; "Cargar" brings the data set back, as a copy saved
    // under another name shows.
    Click(New);
    Choose(main, Load, "Cargar Datos \\.\\.\\.", "/datos.dat");
    EXPECT_EQ(Save("copia.dat"), saved);

    // A cell that is not a number: a message, and no result window.
    Click(New);
    Type("abc");
    Click(fits[0].at);
    Place message = Find("Aviso");
    Picture("aviso-celda");
    EXPECT_FALSE(Visible("Ajuste Simple")) << "no result window";
    Accept(message);
    EXPECT_FALSE(Visible("Aviso"));

    // Typed again with decimal commas, as a Spanish student types: the same reports and
    // plots, byte for byte.
    Click(New);
    TypeRows({{"1", "0,1", "2", "0,2"}, {"2", "0,1", "4,1", "0,2"}, {"3", "0,1", "5,9", "0,3"}});
    for (size_t k = 0; k < std::size(fits); k++)
        EXPECT_EQ(fitAndExport(fits[k], "comas-" + fits[k].name), exports[k]) << fits[k].title;

    // A slope of about 1.2E-05 with an error of about 5E-08: too wide for the "Valores"
    // column with all their digits, they show their exponents there ("A" is row 9,
    // "Error A" row 11), as the same texts typed into a column look.
    Click(New);
    Click(FirstCell);
    TypeRows({{"20", "0", "1.0002", "0.0001"}, {"30", "0", "1.00032", "0.0001"}, {"40", "0", "1.00044", "0.0001"},
              {"50", "0", "1.000565", "0.0001"}, {"60", "0", "1.00068", "0.0001"}, {"70", "0", "1.0008", "0.0001"}});
    Click(fits[0].at);
    Place result = Find("Ajuste Simple");
    Place plot = Find(PlotTitle);
    Picture("ajuste-pendiente-pequena");
    Shown values = Column(result, 550, 22, 101, 272);
    ASSERT_GT(values.rowHeight, 0);
    Close(result);
    Close(plot);
    Click(New);
    Click(FirstCell);
    TypeRows({{"E-05"}, {"E-08"}});
    Shown typed;
    auto same = [&](int k) { return RightEnd(values.Row(k == 0 ? 9 : 11), WidthOf(typed.Row(k))) == typed.Row(k); };
    // Read again until the program has painted the rows typed and taken its caret on.
    Until([&] {
        typed = Column(main, 168, 24, 101, 448);
        typed.rowHeight = values.rowHeight;  // three rows show too few lines; the font is the same
        return same(0) && same(1);
    }, 5s);
    for (int k = 0; k < 2; k++) {
        Pattern exponent = typed.Row(k);
        Pattern value = values.Row(k == 0 ? 9 : 11);
        ASSERT_GT(WidthOf(exponent), 0);
        EXPECT_EQ(RightEnd(value, WidthOf(exponent)), exponent) << (k == 0 ? "A" : "Error A");
        EXPECT_LT(WidthOf(value) + 2, 101 - 6);  // clear of the column's right edge
    }

    Click(About);
    EXPECT_EQ(Find("Programa Realizado por :").width, 320 + 4);
    Picture("acerca-de");
    Quit();
}

// Typed rows survive a "Cargar" of an HTML report, and "Guardar Como" onto another
// existing file leaves it as it was until "Sí". Names are confirmed with Enter in the
// chooser, as most people do.
TEST_P(ProgramX11Test, NoLoadOrSaveDamagesData)
{
    const std::string typed = Count(3) + "1;0.1;2;0.2;\n2;0.1;4.1;0.2;\n;;;;\n";
    const std::string old = Count(1) + "9;;9;;\n";
    std::ofstream(data / "informe.html") << "<!DOCTYPE html>\n<html><body><p>1,5</p></body></html>\n";
    std::ofstream(data / "otro.dat", std::ios::binary) << old;
    TypeRows({{"1", "0.1", "2", "0.2"}, {"2", "0.1", "4.1", "0.2"}});
    Choose(main, Load, "Cargar Datos \\.\\.\\.", "/informe.html", true);
    Place refused = Find("Aviso");
    Picture("cargar-informe");
    Accept(refused);
    Choose(main, SaveAs, SaveAsTitle, "/copia.dat", true);
    EXPECT_EQ(WaitForFile(data / "copia.dat"), typed) << "the typed rows stayed";

    Choose(main, SaveAs, SaveAsTitle, "/otro.dat", true);
    Place question = Find("Aviso");
    Picture("reemplazar");
    std::this_thread::sleep_for(500ms);
    EXPECT_EQ(ReadAll(data / "otro.dat"), old) << "nothing written before the answer";
    ClickButton(question, (question.width - 4 - (2 * 110 + 16)) / 2 + 55);  // "Sí"
    EXPECT_TRUE(Until([&] { return ReadAll(data / "otro.dat") == typed; })) << ReadAll(data / "otro.dat");
    Quit();
}

// A block of 100,000 rows offered by xclip (an INCR transfer) arrives whole.
TEST_P(ProgramX11Test, AHundredThousandPastedRowsAreSavedWhole)
{
    std::string block, rows;
    char row[64];
    for (int i = 0; i < 100000; i++) {
        int n = std::snprintf(row, sizeof row, "%06d.5\t0.1%d\t%06d.25\t0.%d\n", i, i % 10, 3 * i % 1000000, i % 7 + 1);
        block.append(row, size_t(n));
        std::replace(row, row + n - 1, '\t', ';');
        rows.append(row, size_t(n - 1)).append(";\n");
    }
    ASSERT_EQ(block.size(), 2800000u);
    fs::path offered = run / "bloque.txt";
    std::ofstream(offered, std::ios::binary) << block;
    pid_t xclip = fork();
    if (xclip == 0) {
        setenv("DISPLAY", server.GetDisplayName().c_str(), 1);
        execlp("xclip", "xclip", "-quiet", "-selection", "clipboard", "-i", offered.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    ASSERT_GT(xclip, 0);
    ASSERT_TRUE(Until([&] {
        return Shell("DISPLAY=" + server.GetDisplayName() + " xclip -o -selection clipboard -t TARGETS 2>/dev/null")
                   .find("UTF8_STRING") != std::string::npos;
    }, 5s)) << "xclip does not offer the block: is it installed?";

    Keys("ctrl+v");  // column 1 has the keyboard at start
    std::string saved = Save("bloque.dat");
    kill(xclip, SIGTERM);
    waitpid(xclip, nullptr, 0);
    EXPECT_EQ(saved.size(), 4 + rows.size());
    EXPECT_TRUE(saved == std::string("\xA0\x86\x01\0", 4) + rows) << "the saved rows differ from the block";
    Quit();
}

INSTANTIATE_TEST_SUITE_P(WithAndWithoutWindowManager, ProgramX11Test, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "openbox" : "sinGestor"; });

// Nothing typed is lost: "Nuevo" and Escape are taken back with Control+Z, rows typed
// are back after a kill -9, and SIGTERM ends the program cleanly with them kept.
using ProgramRecoveryX11Test = ProgramX11Test;

TEST_P(ProgramRecoveryX11Test, UndoAndTheRecoveryFileKeepTheRows)
{
    const std::string typed = Count(3) + "1;0.1;2;0.2;\n2;0.1;4.1;0.2;\n;;;;\n";
    TypeRows({{"1", "0.1", "2", "0.2"}, {"2", "0.1", "4.1", "0.2"}});
    Click(New);
    Keys("ctrl+z");
    EXPECT_EQ(Save("deshecho.dat"), typed);

    Click(FirstCell);
    Keys("Escape");
    EXPECT_EQ(Save("sin-fila.dat"), Count(2) + "2;0.1;4.1;0.2;\n;;;;\n");
    Click(FirstCell);
    Keys("ctrl+z");
    EXPECT_EQ(Save("fila.dat"), typed);

    // The recovery files as they stand, one after another.
    auto recovery = [&] {
        std::string all;
        std::error_code error;
        for (const auto& entry : fs::directory_iterator(run / "estado" / "ajustor", error))
            if (entry.path().extension() == ".dat")
                all += ReadAll(entry.path());
        return all;
    };
    // Killed once the rows are in the recovery file: the next start shows them, with a
    // message.
    Click(New);
    Click(FirstCell);
    TypeRows({{"5", "0.5", "6", "0.6"}});
    Type("7");
    ASSERT_TRUE(Until([&] { return recovery().find("5;0.5;6;0.6;\n7;;;;\n") != std::string::npos; }))
        << "no recovery file";
    kill(program, SIGKILL);
    waitpid(program, nullptr, 0);
    ASSERT_NO_FATAL_FAILURE(Start());
    Find("Aviso");
    Keys("Return");  // "Aceptar" holds the keyboard
    EXPECT_FALSE(Visible("Aviso"));
    EXPECT_EQ(Save("recuperado.dat"), Count(2) + "5;0.5;6;0.6;\n7;;;;\n");

    // SIGTERM: status 0, the unsaved rows kept in the recovery file, alone.
    Click(FirstCell);
    Keys("Home");
    Type("8");
    kill(program, SIGTERM);
    EXPECT_EQ(ExitStatus(), 0);
    EXPECT_EQ(std::distance(fs::directory_iterator(run / "estado" / "ajustor"), {}), 1);
    EXPECT_NE(recovery().find("85;0.5;6;0.6;\n7;;;;\n"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(WithoutWindowManager, ProgramRecoveryX11Test, ::testing::Values(false),
                         [](const auto&) { return "sinGestor"; });
