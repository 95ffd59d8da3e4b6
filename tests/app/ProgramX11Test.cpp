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
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include <set>
#include <utility>

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

std::string Shell(const std::string& command)
{
    std::string out;
    if (std::FILE* pipe = popen(command.c_str(), "r")) {
        char chunk[4096];
        size_t n;
        while ((n = std::fread(chunk, 1, sizeof chunk, pipe)) > 0)
            out.append(chunk, n);
        pclose(pipe);
    }
    return out;
}

constexpr uint32_t Separator = 198 | 226 << 8 | 255 << 16;  // between the rows of a column

// The black pixels of a rectangle of a picture, as offsets from their top left; a
// line black across nearly all of it is a frame, not text.
using Pattern = std::set<std::pair<int, int>>;

Pattern BlackIn(const std::vector<uint32_t>& pixels, int pitch, int left, int top, int right, int bottom)
{
    Pattern found;
    for (int y = top; y < bottom; y++) {
        Pattern line;
        for (int x = left; x < right; x++)
            if (size_t(y * pitch + x) < pixels.size() && pixels[size_t(y * pitch + x)] == 0)
                line.insert({x, y});
        if (int(line.size()) < (right - left) * 9 / 10)
            found.insert(line.begin(), line.end());
    }
    Pattern moved;
    int minX = INT32_MAX, minY = INT32_MAX;
    for (auto [x, y] : found) {
        minX = std::min(minX, x);
        minY = std::min(minY, y);
    }
    for (auto [x, y] : found)
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
    int minY = INT32_MAX;
    for (auto [x, y] : pattern)
        if (x >= from)
            minY = std::min(minY, y);
    for (auto [x, y] : pattern)
        if (x >= from)
            end.insert({x - from, y - minY});
    return end;
}

std::string ReadAll(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

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
        Start();
        ASSERT_EQ(driver.Open(server.GetDisplayName().c_str()), 1);
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
    }

    std::string Xdo(const std::string& arguments)
    {
        return Shell("DISPLAY=" + server.GetDisplayName() + " xdotool " + arguments + " 2>/dev/null");
    }

    // The visible top-level window with this title, waited for. Child windows share
    // their window's title; the top level is the largest.
    Place Find(const std::string& title)
    {
        for (auto deadline = std::chrono::steady_clock::now() + 10s; std::chrono::steady_clock::now() < deadline;) {
            Place best;
            std::istringstream ids(Xdo("search --onlyvisible --name '^" + title + "$'"));
            for (unsigned long id; ids >> id;) {
                Place p = PlaceOf(id);
                if (p.width * p.height > best.width * best.height)
                    best = p;
            }
            if (best.id)
                return best;
            std::this_thread::sleep_for(50ms);
        }
        ADD_FAILURE() << "no window \"" << title << "\"";
        return {};
    }

    Place PlaceOf(unsigned long id)
    {
        Place p;
        p.id = id;
        std::istringstream lines(Xdo("getwindowgeometry --shell " + std::to_string(id)));
        for (std::string line; std::getline(lines, line);) {
            auto value = [&](const char* key) { return line.rfind(key, 0) == 0 ? std::atoi(line.c_str() + std::strlen(key)) : -1; };
            if (int v = value("X="); v >= 0) p.x = v;
            if (int v = value("Y="); v >= 0) p.y = v;
            if (int v = value("WIDTH="); v >= 0) p.width = v;
            if (int v = value("HEIGHT="); v >= 0) p.height = v;
        }
        return p;
    }

    // A click on a point of a decorated window's client area: the frame is 2 pixels
    // wide and the title bar `titleHeight` high.
    void Click(const Place& window, int x, int y)
    {
        Xdo("mousemove " + std::to_string(window.x + 2 + x) + " " + std::to_string(window.y + titleHeight + 2 + y) +
            " click 1");
        Settle();
    }

    // The close button of a decorated window's title bar.
    void Close(const Place& window)
    {
        int x = window.x + window.width - titleHeight + 2 + 6;
        int y = window.y + (titleHeight - 2) / 2 - 3 + 5;
        Xdo("mousemove " + std::to_string(x) + " " + std::to_string(y) + " click 1");
        Settle();
    }

    void Type(const std::string& text)
    {
        Xdo("type --delay 15 '" + text + "'");
        Settle();
    }

    void Keys(const std::string& keys)
    {
        Xdo("key --delay 15 " + keys);
        Settle();
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

    // A column of a window as the screen shows it, its row height read off the lines
    // between the rows.
    struct Shown {
        std::vector<uint32_t> pixels;
        int width = 0, height = 0, rowHeight = 0;
        // The black pixels of a row's text.
        Pattern Row(int row) const { return BlackIn(pixels, width, 1, row * rowHeight + 1, width - 1, (row + 1) * rowHeight + 1); }
    };
    Shown Column(const Place& window, int x, int y, int width, int height)
    {
        Shown shown;
        shown.width = width;
        shown.height = height;
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

    // Lets the program take what was sent before the next step.
    static void Settle() { std::this_thread::sleep_for(120ms); }

    // The file once it exists and has stopped growing.
    std::string WaitForFile(const fs::path& path)
    {
        for (auto deadline = std::chrono::steady_clock::now() + 10s; std::chrono::steady_clock::now() < deadline;) {
            std::error_code error;
            if (fs::exists(path, error)) {
                std::this_thread::sleep_for(100ms);
                return ReadAll(path);
            }
            std::this_thread::sleep_for(50ms);
        }
        ADD_FAILURE() << "not written: " << path;
        return {};
    }

    // A picture of the screen once the program has painted (slowly, under the sanitizers).
    void Picture(const std::string& name)
    {
        std::this_thread::sleep_for(600ms);
        Shell("DISPLAY=" + server.GetDisplayName() + " import -window root " + (pictures / (name + ".png")).string() +
            " 2>/dev/null");
    }

    // Opens the chooser of a button, adds `name` to the folder it shows and confirms.
    void Choose(const Place& owner, int x, int y, const std::string& title, const std::string& name)
    {
        Click(owner, x, y);
        Place chooser = Find(title);
        Type(name);
        Click(chooser, 209 + 82, 330 + 11);  // "O.k"
    }

    int ExitStatus()
    {
        for (auto deadline = std::chrono::steady_clock::now() + 10s; std::chrono::steady_clock::now() < deadline;) {
            int status = 0;
            if (waitpid(program, &status, WNOHANG) == program) {
                program = -1;
                return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
            }
            std::this_thread::sleep_for(50ms);
        }
        return -2;
    }

    platform::PXvfbServer server;
    platform::PX11Driver driver;
    pid_t program = -1;
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
    Place main = Find("Ajustor-2  \\(Beta 3\\)");
    ASSERT_NE(main.id, 0u);
    EXPECT_EQ(main.width, 600 + 4);
    titleHeight = main.height - 480 - 4;
    EXPECT_GE(titleHeight, 20);

    // Column 1 has the keyboard at start. Tab walks the columns; Enter in the last
    // opens the next row, in the first column again.
    TypeRows({{"1", "0.1", "2", "0.2"}, {"2", "0.1", "4.1", "0.2"}, {"3", "0.1", "5.9", "0.3"}});
    Picture("principal");
    std::map<std::string, std::string> plots;
    Choose(main, 8 + 74, 158 + 24, "Guardar Datos Como \\.\\.\\.", "/datos.dat");
    std::string saved = WaitForFile(data / "datos.dat");
    EXPECT_EQ(saved, std::string("\x04\0\0\0", 4) + "1;0.1;2;0.2;\n2;0.1;4.1;0.2;\n3;0.1;5.9;0.3;\n;;;;\n");

    // Each fit: its window, the report exported through the chooser, then the result
    // and plot windows closed by their title bars, as they cover the main window.
    // "Ver grafica" stands left of "Exportar HTML"; the plot with axes is exported as
    // PNG or SVG, the same bytes as ajustor-fit --plot.
    struct Fit {
        const char* button;
        int x, y;
        const char* title;
        int exportX, exportY;
        const char* report;
        const char* options;
        const char* plot;
    } fits[] = {{"simple", 8 + 74, 394 + 19, "Ajuste Simple", 450 + 82, 296 + 18, "simple.html", "", ".png"},
                {"ponderado", 8 + 74, 434 + 19, "Ajuste Ponderado", 650 + 82, 396 + 18, "ponderado.html", "--weighted",
                 ".svg"},
                {"york", 8 + 74, 354 + 19, "Ajuste York", 450 + 82, 296 + 18, "york.html", "--york", ".png"}};
    auto fitAndExport = [&](const Fit& fit, const std::string& report) {
        Click(main, fit.x, fit.y);
        Place result = Find(fit.title);
        Place plot = Find("Grafica \\(Meramente Orientativa\\)");
        Picture(std::string("ajuste-") + fit.button);
        Choose(result, fit.exportX, fit.exportY, "Exportar HTML \\.\\.\\.", "/" + report);
        std::string written = WaitForFile(data / report);
        Click(result, fit.exportX - 164 - 8, fit.exportY);  // "Ver grafica"
        Place axes = Find(std::string("Grafica: ") + fit.title);
        EXPECT_EQ(axes.width, 800 + 4);
        Picture(std::string("grafica-") + fit.button);
        std::string name = report.substr(0, report.find('.')) + fit.plot;
        Choose(axes, 8 + 82, 605 + 18, "Exportar grafica \\.\\.\\.", "/" + name);
        plots[fit.button] = WaitForFile(data / name);
        Close(axes);
        Close(result);  // first: the weighted fit's window covers the plot's close button
        Close(plot);
        return written;
    };
    for (const Fit& fit : fits) {
        std::string written = fitAndExport(fit, fit.report);
        fs::path expected = run / (std::string("esperado-") + fit.report);
        fs::path expectedPlot = run / (std::string("esperado-") + fit.button + fit.plot);
        Tool(std::string(fit.options) + " --html " + expected.string() + " --plot " + expectedPlot.string() + " " +
             (data / "datos.dat").string());
        EXPECT_EQ(written, ReadAll(expected)) << fit.title;
        EXPECT_NE(written.find("<td>5,9</td>"), std::string::npos);
        EXPECT_EQ(plots[fit.button], ReadAll(expectedPlot)) << fit.title;
        EXPECT_GT(plots[fit.button].size(), 1000u);
    }

    // "Nuevo" empties the columns; "Cargar" brings the data set back, as a copy saved
    // under another name shows.
    Click(main, 8 + 74, 8 + 24);
    Choose(main, 8 + 74, 58 + 24, "Cargar Datos \\.\\.\\.", "/datos.dat");
    Choose(main, 8 + 74, 158 + 24, "Guardar Datos Como \\.\\.\\.", "/copia.dat");
    EXPECT_EQ(WaitForFile(data / "copia.dat"), saved);

    // A cell that is not a number: a message, and no result window.
    Click(main, 8 + 74, 8 + 24);
    Type("abc");
    Click(main, fits[0].x, fits[0].y);
    Place message = Find("Aviso");
    Picture("aviso-celda");
    EXPECT_EQ(Xdo("search --onlyvisible --name '^Ajuste Simple$'"), "") << "no result window";
    Click(message, (message.width - 4) / 2, message.height - titleHeight - 4 - 12 - 13);  // "Aceptar"
    EXPECT_EQ(Xdo("search --onlyvisible --name '^Aviso$'"), "");

    // Typed again with decimal commas, as a Spanish student types: the same reports,
    // byte for byte.
    Click(main, 8 + 74, 8 + 24);
    TypeRows({{"1", "0,1", "2", "0,2"}, {"2", "0,1", "4,1", "0,2"}, {"3", "0,1", "5,9", "0,3"}});
    for (const Fit& fit : fits)
        EXPECT_EQ(fitAndExport(fit, std::string("comas-") + fit.report), ReadAll(data / fit.report)) << fit.title;

    // A slope of about 1.2E-05 with an error of about 5E-08: too wide for the "Valores"
    // column with all their digits, they show their exponents there ("A" is row 9,
    // "Error A" row 11), as the same texts typed into a column look.
    Click(main, 8 + 74, 8 + 24);  // "Nuevo"
    Click(main, 168 + 50, 24 + 6);
    TypeRows({{"20", "0", "1.0002", "0.0001"}, {"30", "0", "1.00032", "0.0001"}, {"40", "0", "1.00044", "0.0001"},
              {"50", "0", "1.000565", "0.0001"}, {"60", "0", "1.00068", "0.0001"}, {"70", "0", "1.0008", "0.0001"}});
    Click(main, 8 + 74, 394 + 19);  // "Ajuste Simple"
    Place result = Find("Ajuste Simple");
    Place plot = Find("Grafica \\(Meramente Orientativa\\)");
    Picture("ajuste-pendiente-pequena");
    Shown values = Column(result, 550, 22, 101, 272);
    ASSERT_GT(values.rowHeight, 0);
    Close(result);
    Close(plot);
    Click(main, 8 + 74, 8 + 24);
    Click(main, 168 + 50, 24 + 6);
    TypeRows({{"E-05"}, {"E-08"}});
    Shown typed = Column(main, 168, 24, 101, 448);
    typed.rowHeight = values.rowHeight;  // three rows show too few lines; the font is the same
    for (int k = 0; k < 2; k++) {
        Pattern exponent = typed.Row(k);
        Pattern value = values.Row(k == 0 ? 9 : 11);
        ASSERT_GT(WidthOf(exponent), 0);
        EXPECT_EQ(RightEnd(value, WidthOf(exponent)), exponent) << (k == 0 ? "A" : "Error A");
        EXPECT_LT(WidthOf(value) + 2, 101 - 6);  // clear of the column's right edge
    }

    Click(main, 46 + 36, 234 + 36);
    Place about = Find("Programa Realizado por :");
    EXPECT_EQ(about.width, 320 + 4);
    Picture("acerca-de");

    Close(main);
    EXPECT_EQ(ExitStatus(), 0);
}

// Typed rows survive a "Cargar" of an HTML report, and "Guardar Como" onto another
// existing file leaves it as it was until "Sí". Names are confirmed with Enter in the
// chooser, as most people do.
TEST_P(ProgramX11Test, NoLoadOrSaveDamagesData)
{
    Place main = Find("Ajustor-2  \\(Beta 3\\)");
    ASSERT_NE(main.id, 0u);
    titleHeight = main.height - 480 - 4;
    const std::string typed = std::string("\x03\0\0\0", 4) + "1;0.1;2;0.2;\n2;0.1;4.1;0.2;\n;;;;\n";
    const std::string old = std::string("\x01\0\0\0", 4) + "9;;9;;\n";
    {
        std::ofstream(data / "informe.html") << "<!DOCTYPE html>\n<html><body><p>1,5</p></body></html>\n";
        std::ofstream(data / "otro.dat", std::ios::binary) << old;
    }
    TypeRows({{"1", "0.1", "2", "0.2"}, {"2", "0.1", "4.1", "0.2"}});
    auto confirm = [&](int buttonY, const std::string& title, const std::string& name) {
        Click(main, 8 + 74, buttonY);
        Find(title);
        Type(name);
        Keys("Return");
    };
    auto clickButton = [&](const Place& window, int centreX) {
        Click(window, centreX, window.height - titleHeight - 4 - 12 - 13);
    };

    confirm(58 + 24, "Cargar Datos \\.\\.\\.", "/informe.html");
    Place refused = Find("Aviso");
    Picture("cargar-informe");
    clickButton(refused, (refused.width - 4) / 2);  // "Aceptar"
    confirm(158 + 24, "Guardar Datos Como \\.\\.\\.", "/copia.dat");
    EXPECT_EQ(WaitForFile(data / "copia.dat"), typed) << "the typed rows stayed";

    confirm(158 + 24, "Guardar Datos Como \\.\\.\\.", "/otro.dat");
    Place question = Find("Aviso");
    Picture("reemplazar");
    std::this_thread::sleep_for(500ms);
    EXPECT_EQ(ReadAll(data / "otro.dat"), old) << "nothing written before the answer";
    int buttons = (question.width - 4 - (2 * 110 + 16)) / 2;
    clickButton(question, buttons + 55);  // "Sí"
    std::this_thread::sleep_for(500ms);
    EXPECT_EQ(ReadAll(data / "otro.dat"), typed);

    Close(main);
    EXPECT_EQ(ExitStatus(), 0);
}

// A block of 100,000 rows offered by xclip (an INCR transfer) arrives whole.
TEST_P(ProgramX11Test, AHundredThousandPastedRowsAreSavedWhole)
{
    Place main = Find("Ajustor-2  \\(Beta 3\\)");
    ASSERT_NE(main.id, 0u);
    titleHeight = main.height - 480 - 4;
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
    std::string display = "DISPLAY=" + server.GetDisplayName() + " ";
    pid_t xclip = fork();
    if (xclip == 0) {
        setenv("DISPLAY", server.GetDisplayName().c_str(), 1);
        execlp("xclip", "xclip", "-quiet", "-selection", "clipboard", "-i", offered.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    ASSERT_GT(xclip, 0);
    bool offering = false;
    for (int attempt = 0; attempt < 100 && !offering; attempt++) {
        offering = Shell(display + "xclip -o -selection clipboard -t TARGETS 2>/dev/null").find("UTF8_STRING") !=
                   std::string::npos;
        std::this_thread::sleep_for(50ms);
    }
    ASSERT_TRUE(offering) << "xclip does not offer the block: is it installed?";

    // Column 1 has the keyboard at start.
    Keys("ctrl+v");
    Choose(main, 8 + 74, 158 + 24, "Guardar Datos Como \\.\\.\\.", "/bloque.dat");
    std::string saved = WaitForFile(data / "bloque.dat");
    kill(xclip, SIGTERM);
    waitpid(xclip, nullptr, 0);
    EXPECT_EQ(saved.size(), 4 + rows.size());
    EXPECT_TRUE(saved == std::string("\xA0\x86\x01\0", 4) + rows) << "the saved rows differ from the block";
    Close(main);
    EXPECT_EQ(ExitStatus(), 0);
}

INSTANTIATE_TEST_SUITE_P(WithAndWithoutWindowManager, ProgramX11Test, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "openbox" : "sinGestor"; });

// Nothing typed is lost: "Nuevo" and Escape are taken back with Control+Z, rows typed
// are back after a kill -9, and SIGTERM ends the program cleanly with them kept.
using ProgramRecoveryX11Test = ProgramX11Test;

TEST_P(ProgramRecoveryX11Test, UndoAndTheRecoveryFileKeepTheRows)
{
    Place main = Find("Ajustor-2  \\(Beta 3\\)");
    ASSERT_NE(main.id, 0u);
    titleHeight = main.height - 480 - 4;
    auto count = [](char n) { return std::string(1, n) + std::string(3, '\0'); };
    const char* saveAs = "Guardar Datos Como \\.\\.\\.";
    TypeRows({{"1", "0.1", "2", "0.2"}, {"2", "0.1", "4.1", "0.2"}});
    const std::string typed = count(3) + "1;0.1;2;0.2;\n2;0.1;4.1;0.2;\n;;;;\n";
    Click(main, 8 + 74, 8 + 24);  // "Nuevo"
    Keys("ctrl+z");
    Choose(main, 8 + 74, 158 + 24, saveAs, "/deshecho.dat");
    EXPECT_EQ(WaitForFile(data / "deshecho.dat"), typed);

    Click(main, 168 + 50, 24 + 6);
    Keys("Escape");
    Choose(main, 8 + 74, 158 + 24, saveAs, "/sin-fila.dat");
    EXPECT_EQ(WaitForFile(data / "sin-fila.dat"), count(2) + "2;0.1;4.1;0.2;\n;;;;\n");
    Click(main, 168 + 50, 24 + 6);
    Keys("ctrl+z");
    Choose(main, 8 + 74, 158 + 24, saveAs, "/fila.dat");
    EXPECT_EQ(WaitForFile(data / "fila.dat"), typed);

    // Killed 3 s after typing: the next start shows the rows, with a message.
    Click(main, 8 + 74, 8 + 24);
    Click(main, 168 + 50, 24 + 6);
    TypeRows({{"5", "0.5", "6", "0.6"}});
    Type("7");
    std::this_thread::sleep_for(3s);
    kill(program, SIGKILL);
    waitpid(program, nullptr, 0);
    Start();
    main = Find("Ajustor-2  \\(Beta 3\\)");
    Find("Aviso");
    Keys("Return");  // "Aceptar" holds the keyboard
    EXPECT_EQ(Xdo("search --onlyvisible --name '^Aviso$'"), "");
    Choose(main, 8 + 74, 158 + 24, saveAs, "/recuperado.dat");
    EXPECT_EQ(WaitForFile(data / "recuperado.dat"), count(2) + "5;0.5;6;0.6;\n7;;;;\n");

    // SIGTERM: status 0, the unsaved rows kept in the recovery file.
    Click(main, 168 + 50, 24 + 6);
    Keys("Home");
    Type("8");
    kill(program, SIGTERM);
    EXPECT_EQ(ExitStatus(), 0);
    std::vector<fs::path> kept;
    for (const auto& entry : fs::directory_iterator(run / "estado" / "ajustor"))
        kept.push_back(entry.path());
    ASSERT_EQ(kept.size(), 1u);
    EXPECT_NE(ReadAll(kept[0]).find("85;0.5;6;0.6;\n7;;;;\n"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(WithoutWindowManager, ProgramRecoveryX11Test, ::testing::Values(false),
                         [](const auto&) { return "sinGestor"; });
