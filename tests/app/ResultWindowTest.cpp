#include "app/Acercade.h"
#include "app/Basicad.h"
#include "app/FitReport.h"
#include "app/Grafica.h"
#include "app/CYorkWindow.h"
#include "app/FitResult.h"
#include "app/Ponderat.h"
#include "app/Pregunta.h"
#include "app/SimpleFit.h"
#include "app/WeightedFit.h"
#include "graphics/CCanvas.h"
#include "io/CLineColumn.h"
#include "tests/app/AppWindowFixture.h"
#include "toolkit/CButton.h"
#include "toolkit/CScroller.h"

using platform::VK_TAB;

namespace {
using Lines = std::vector<std::string>;

// The example of the plot: the fitted line runs from corner to corner.
const std::vector<Lines> Example = {{"1", "2", "3"}, {"0.1", "0.1", "0.1"}, {"2", "4", "6"}, {"0.2", "0.2", "0.2"}};

// What a fit finds for a data set, as the windows must show it, and the report written
// from that, without any window: what the windows must show and export.
class Reference {
public:
    Reference(CApplication* app, const std::vector<Lines>& cells, FitKind kind)
    {
        for (int k = 0; k < 4; k++) {
            auto* column = new CLineColumn(app);
            held.emplace_back(column);
            data[k] = column;
            for (const std::string& cell : cells[k])
                column->AddLine(cell.c_str());
            column->DeleteFirstLine();
        }
        CDataColumn* const columns[4] = {data[0], data[1], data[2], data[3]};
        fit = RunFit(kind, columns);
    }

    // Columns in the window's order: the auxiliary ones, "Incognitas", "Valores".
    Lines Column(size_t i) const
    {
        Lines lines;
        if (i < fit.perRow.size()) {
            for (double value : fit.perRow[i])
                lines.push_back(FitNumberText(value));
            return lines;
        }
        for (const NamedResult& named : fit.named)
            lines.push_back(i == fit.perRow.size() ? std::string(named.name) : FitNumberText(named.value));
        return lines;
    }

    std::string Report(CApplication* app, const std::string& path) const
    {
        CList* cells[4];
        for (int k = 0; k < 4; k++)
            cells[k] = data[k]->GetLines();
        Variable target(new CString(app));
        target.As<CString>()->SetText(path.c_str());
        EXPECT_EQ(WriteFitReport(app, target.As<CString>(), fit, cells), 1);
        return AppWindowTest::ReadFile(path);
    }

private:
    CLineColumn* data[4] = {};
    FitResult fit;
    std::vector<Variable> held;
};

uint32_t Green(CGApplication* app) { return app->packColour(0, 128, 18); }
}  // namespace

class ResultWindowTest : public AppWindowTest {
protected:
    CBasicWindow* Result() const { return Main()->resultWindow.CheckedAs<CBasicWindow>(); }

    std::string Export(const Variable& button, const Variable& chooser, const std::string& name)
    {
        Click(button);
        auto* dialog = chooser.CheckedAs<CFileChooser>();
        EXPECT_NE(dialog, nullptr);
        if (!dialog)
            return {};
        EXPECT_EQ(Title(dialog), "Exportar HTML ...");
        Answer(dialog, name);
        return ReadFile(Join(dades, name));
    }
};

TEST_F(ResultWindowTest, SimpleFitShowsExactlyTheFitsLinesAndThePlot)
{
    CMainw* main = Start();
    TypeColumns(Example);
    ASSERT_EQ(LinesOf(Column(0)), (Lines{"1", "2", "3", ""})) << "Enter leaves an empty last row";
    Click(main->simpleButton);
    auto* window = main->resultWindow.CheckedAs<Basicad>();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(Title(window), "Ajuste Simple");
    platform::PPoint corner = FrameCorner(window);
    EXPECT_EQ(corner.x, 64);
    EXPECT_EQ(corner.y, 64);
    EXPECT_EQ(window->width, Basicad::Width);

    Reference expected(app, Example, FitKind::Simple);
    const Variable* columns[] = {&window->productXY, &window->productXX, &window->productYY,
                                 &window->residuals,  &window->names,     &window->values};
    for (int i = 0; i < 6; i++)
        EXPECT_EQ(LinesOf(columns[i]->As<CTextEdit>()), expected.Column(i)) << i;
    Lines values = LinesOf(window->values.As<CTextEdit>());
    EXPECT_EQ(values[0], "3") << "the empty last row is no data";
    EXPECT_EQ(values[9], "2");
    EXPECT_EQ(window->productXY.As<CTextEdit>()->x, 8);
    EXPECT_EQ(window->productXX.As<CTextEdit>()->x, 108);
    EXPECT_EQ(window->secondScroller.As<CScroller>()->x, 651);

    auto* plot = window->plotWindow.CheckedAs<CBasicWindow>();
    ASSERT_NE(plot, nullptr);
    EXPECT_TRUE(plot->visible);
    EXPECT_EQ(Title(plot), "Grafica (Meramente Orientativa)");
    EXPECT_EQ(plot->width, 805);
    EXPECT_EQ(plot->height, 604);
    PSurface* surface = plot->GetCanvas()->GetSurface();
    EXPECT_EQ(surface->GetPixel(0, 600), Green(app)) << "the line starts at (0, 600)";
    EXPECT_EQ(surface->GetPixel(400, 300), Green(app));
    EXPECT_EQ(surface->GetPixel(800, 0), Green(app)) << "and ends at (800, 0)";
    EXPECT_EQ(surface->GetPixel(600, 600), app->packColour(255, 255, 255));
}

TEST_F(ResultWindowTest, WeightedFitShowsItsColumnsAndTabStaysInItsRing)
{
    CMainw* main = Start();
    TypeColumns(Example);
    Click(main->weightedButton);
    auto* window = main->resultWindow.CheckedAs<Ponderat>();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(Title(window), "Ajuste Ponderado");
    EXPECT_EQ(window->width, Ponderat::Width);
    EXPECT_EQ(window->height, Ponderat::Height);
    Reference expected(app, Example, FitKind::Weighted);
    const Variable* columns[] = {&window->weights,   &window->weightedXY, &window->weightedXX, &window->weightedX,
                                 &window->weightedY, &window->residuals,  &window->names,      &window->values};
    for (int i = 0; i < 8; i++)
        EXPECT_EQ(LinesOf(columns[i]->As<CTextEdit>()), expected.Column(i)) << i;
    EXPECT_EQ(LinesOf(window->values.As<CTextEdit>())[0], "3");
    EXPECT_EQ(LinesOf(window->values.As<CTextEdit>())[10], "2") << "no NaN from the empty last row";
    EXPECT_EQ(window->residuals.As<CTextEdit>()->x, 508);

    // Tab in "Incognitas" goes to the second scroller, which hands on to "Valores",
    // and back: never into the auxiliary columns.
    auto* names = window->names.As<CTextEdit>();
    auto* values = window->values.As<CTextEdit>();
    ClickAt(names, 20, names->rowHeight * 2 + 2);
    ASSERT_EQ(app->activeWindow, names->GetEditor());
    EXPECT_EQ(names->nextFocus.Get(), window->secondScroller.Get());
    Key(VK_TAB, 9);
    EXPECT_EQ(app->activeWindow, values->GetEditor());
    Key(VK_TAB, 9);
    EXPECT_EQ(app->activeWindow, names->GetEditor());
    EXPECT_EQ(window->residuals.As<CTextEdit>()->nextFocus.Get(), window->firstScroller.Get());
    EXPECT_EQ(window->firstScroller.As<CScroller>()->nextFocus.Get(), window->weights.Get());
}

// The York fit's window: its columns and results as the fit finds them, the plot, the
// export; a row whose two errors are 0 is told and marked instead.
TEST_F(ResultWindowTest, YorkFitShowsItsColumnsPlotAndReport)
{
    CMainw* main = Start();
    auto* button = main->yorkButton.CheckedAs<CButton>();
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->x, 8);
    EXPECT_EQ(button->y, 354);
    const std::vector<Lines> data = {{"1", "2", "3", "4"}, {"0.1", "0", "0.2", "0.1"}, {"2.1", "3.9", "6.2", "7.8"},
                                     {"0.2", "0.2", "0.3", "0.2"}};
    TypeColumns(data);
    Click(main->yorkButton);
    auto* window = main->resultWindow.CheckedAs<CYorkWindow>();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(Title(window), "Ajuste York");
    EXPECT_EQ(window->width, CYorkWindow::Width);
    Reference expected(app, data, FitKind::York);
    const Variable* columns[] = {&window->weights,   &window->adjustedX, &window->adjustedY,
                                 &window->residuals, &window->names,     &window->values};
    for (int i = 0; i < 6; i++)
        EXPECT_EQ(LinesOf(columns[i]->As<CTextEdit>()), expected.Column(i)) << i;
    EXPECT_EQ(LinesOf(window->names.As<CTextEdit>()),
              (Lines{"N", "A", "B", "Error A", "Error B", "Cov AB", "Chi2", "Chi2/(N-2)", "P(Chi2)",
                     "Error A escalado", "Error B escalado", "Iteraciones"}));
    EXPECT_EQ(window->residuals.As<CTextEdit>()->nextFocus.Get(), window->firstScroller.Get());
    EXPECT_EQ(Title(PlotOf(window)), "Grafica (Meramente Orientativa)");
    EXPECT_EQ(Message(window->messageWindow), nullptr) << "the slope settled";
    std::string report = expected.Report(app, Join(root, "york.html"));
    EXPECT_EQ(Export(window->exportButton, window->chooser, "york.html"), report);
    EXPECT_NE(report.find("<title>Ajustora-2 (Ajuste York)</title>"), std::string::npos);
    CloseResult();

    Click(main->newButton);
    TypeColumns({{"1", "2", "3", "4"}, {"0.1", "0", "0.2", "0.1"}, {"2.1", "3.9", "6.2", "7.8"},
                 {"0.2", "0", "0.3", "0.2"}});
    Click(main->yorkButton);
    auto* message = Message(main->messageWindow);
    ASSERT_NE(message, nullptr);
    EXPECT_EQ(message->GetMessage(), "Fila 2, Errores X: este error y el de Y son 0: el ajuste York no puede pesar la fila");
    EXPECT_EQ(Column(1)->GetMarkedLine(), 1);
    EXPECT_EQ(Result(), window) << "no new window";
}

TEST_F(ResultWindowTest, ExportWritesTheReportOfTheDataTheFitUsed)
{
    CMainw* main = Start();
    TypeColumns(Example);
    Click(main->simpleButton);
    auto* simple = main->resultWindow.CheckedAs<Basicad>();
    ASSERT_NE(simple, nullptr);
    Variable holdSimple(simple);
    std::string expectedSimple = Reference(app, Example, FitKind::Simple).Report(app, Join(root, "simple.html"));
    EXPECT_EQ(Export(simple->exportButton, simple->chooser, "simple.html"), expectedSimple);

    CloseResult();
    Click(main->weightedButton);
    auto* weighted = main->resultWindow.CheckedAs<Ponderat>();
    ASSERT_NE(weighted, nullptr);
    std::string expectedWeighted =
        Reference(app, Example, FitKind::Weighted).Report(app, Join(root, "ponderado.html"));

    // The data change after the fit: the report still shows the data of its results.
    // (Closed windows are shown again here as a person would drag them aside.)
    CloseResult();
    ClickAt(Column(0), 20, Column(0)->rowHeight / 2);
    Type("9\n");
    ASSERT_NE(LinesOf(Column(0))[0], "1");
    Click(main->newButton);
    weighted->Show();
    Pump();
    EXPECT_EQ(Export(weighted->exportButton, weighted->chooser, "ponderado.html"), expectedWeighted);
    CloseByTitleBar(weighted);
    simple->Show();
    Pump();
    EXPECT_EQ(Export(simple->exportButton, simple->chooser, "simple2.html"), expectedSimple)
        << "an earlier result window held elsewhere keeps working";
    CloseByTitleBar(simple);
    weighted->Show();
    Pump();

    // Exporting over an existing file asks first: nothing is written until "Sí".
    WriteFile(Join(dades, "ponderado.html"), "viejo");
    for (bool replace : {false, true}) {
        EXPECT_EQ(Export(weighted->exportButton, weighted->chooser, "ponderado.html"), "viejo");
        auto* question = weighted->question.CheckedAs<Pregunta>();
        ASSERT_NE(question, nullptr);
        EXPECT_EQ(question->GetMessage(), "\xBFReemplazar \xABponderado.html\xBB?");
        Click(replace ? question->yesButton : question->noButton);
        EXPECT_EQ(ReadFile(Join(dades, "ponderado.html")), replace ? expectedWeighted : "viejo");
    }
    EXPECT_EQ(Message(weighted->messageWindow), nullptr);
}

TEST_F(ResultWindowTest, AFailedExportIsToldAndAReplacedWindowClosesCleanly)
{
    CMainw* main = Start();
    TypeColumns(Example);
    Click(main->simpleButton);
    auto* window = main->resultWindow.CheckedAs<Basicad>();
    Click(window->exportButton);
    Answer(window->chooser.CheckedAs<CFileChooser>(), Join("falta", "informe.html"));
    auto* message = Message(window->messageWindow);
    ASSERT_NE(message, nullptr);
    EXPECT_EQ(message->GetMessage(),
              "No se pudo exportar \xAB" + Join(Join(dades, "falta"), "informe.html") +
                  "\xBB: No existe el archivo o el directorio");

    // A new fit replaces the window, its plot and its open chooser.
    Click(message->acceptButton);
    Click(window->exportButton);
    CloseByTitleBar(PlotOf(window));
    platform::PHandle handles[] = {window->handle, window->plotWindow.As<CWindow>()->handle,
                                   window->chooser.As<CWindow>()->handle};
    Click(main->weightedButton);
    for (platform::PHandle handle : handles)
        EXPECT_FALSE(desktop.IsWindow(handle));
    EXPECT_TRUE(Result()->visible);
}

// "Ver grafica" opens the plot with axes in a window of its own, once; its button
// exports it through the chooser, PNG or SVG by the name's ending.
TEST_F(ResultWindowTest, ThePlotWithAxesOpensFromTheResultWindowAndExports)
{
    CMainw* main = Start();
    TypeColumns(Example);
    Click(main->weightedButton);
    auto* result = main->resultWindow.CheckedAs<Ponderat>();
    ASSERT_NE(result, nullptr);
    Click(result->plotButton);
    auto* plot = result->labPlotWindow.CheckedAs<Grafica>();
    ASSERT_NE(plot, nullptr);
    EXPECT_TRUE(plot->visible);
    EXPECT_EQ(Title(plot), "Grafica: Ajuste Ponderado");
    EXPECT_EQ(plot->width, Grafica::Width);
    PSurface* surface = plot->GetCanvas()->GetSurface();
    EXPECT_EQ(surface->GetPixel(Grafica::AreaWidth - 1, 1), app->packColour(255, 255, 255));

    auto exportAs = [&](const std::string& name) {
        Click(plot->exportButton);
        auto* dialog = plot->chooser.CheckedAs<CFileChooser>();
        EXPECT_NE(dialog, nullptr);
        EXPECT_EQ(Title(dialog), "Exportar grafica ...");
        Answer(dialog, name);
        return ReadFile(Join(dades, name));
    };
    EXPECT_EQ(exportAs("recta.png").substr(0, 8), "\x89PNG\r\n\x1A\n");
    std::string svg = exportAs("recta.svg");
    EXPECT_EQ(svg.rfind("<?xml", 0), 0u);
    EXPECT_NE(svg.find(">Ajuste Ponderado</text>"), std::string::npos);
    EXPECT_NE(svg.find(">A = 2,00 \xC2\xB1 0,14</text>"), std::string::npos) << svg.substr(0, 3000);
    exportAs(Join("falta", "recta.png"));
    auto* message = Message(plot->messageWindow);
    ASSERT_NE(message, nullptr);
    EXPECT_EQ(message->GetMessage(), "No se pudo exportar \xAB" + Join(Join(dades, "falta"), "recta.png") +
                                         "\xBB: No existe el archivo o el directorio");
    Click(message->acceptButton);

    // Closed and asked for again: the same window comes back.
    CloseByTitleBar(plot);
    Click(result->plotButton);
    EXPECT_EQ(result->labPlotWindow.Get(), plot);
    EXPECT_TRUE(plot->visible);
}

// A fit that cannot be computed opens no window: the message says why, and the cell at
// fault is marked and takes the keyboard until it is corrected.
TEST_F(ResultWindowTest, AFitThatCannotRunIsToldAndItsCellMarked)
{
    CMainw* main = Start();
    auto expectMessage = [&](const std::string& text) {
        auto* message = Message(main->messageWindow);
        ASSERT_NE(message, nullptr) << text;
        EXPECT_TRUE(message->visible);
        EXPECT_EQ(message->GetMessage(), text);
        Key(platform::VK_RETURN, 13);
        EXPECT_FALSE(message->visible);
    };
    Click(main->simpleButton);
    expectMessage("No hay datos");
    EXPECT_EQ(Result(), nullptr);

    TypeColumns({{"1", "2", "3"}, {}, {"2", "abc", "6"}});
    Click(main->simpleButton);
    expectMessage("Fila 2, Valores Y: \"abc\" no es un n\xFAmero");
    EXPECT_EQ(Result(), nullptr);
    EXPECT_EQ(Column(2)->GetMarkedLine(), 1);
    EXPECT_EQ(Column(2)->GetCurrentRow(), 1u);
    ClickAt(Column(2), 20, Column(2)->rowHeight + 2);
    EXPECT_EQ(app->activeWindow, Column(2)->GetEditor());
    Key(platform::VK_END);
    for (int i = 0; i < 3; i++)
        Key(platform::VK_BACK, 8);
    EXPECT_EQ(Column(2)->GetMarkedLine(), -1) << "corrected";
    Type("4");
    Click(main->simpleButton);
    ASSERT_NE(Result(), nullptr);
    EXPECT_EQ(LinesOf(main->resultWindow.As<Basicad>()->values.As<CTextEdit>())[9], "2");
    CBasicWindow* simple = Result();
    CloseResult();

    // The weighted fit needs every error of y; the last result window stays.
    Click(main->weightedButton);
    expectMessage("Fila 1, Errores Y == w: la celda est\xE1 vac\xED" "a");
    EXPECT_EQ(Column(3)->GetMarkedLine(), 0);
    EXPECT_EQ(Result(), simple);
}

// Pictures of every window for a person to look at, under the build folder.
TEST_F(ResultWindowTest, WritesPicturesOfEveryWindow)
{
    std::string folder = InBuild(WINDOW_PICTURES);
    std::filesystem::create_directories(folder_paths::FsPath(folder));
    CMainw* main = Start();
    TypeColumns(Example);
    SavePicture(main, Join(folder, "principal.png"));
    Click(main->simpleButton);
    auto* simple = main->resultWindow.CheckedAs<Basicad>();
    SavePicture(simple, Join(folder, "ajuste-simple.png"));
    CloseResult();
    // The plot alone, as a person sees it once the result window is out of the way.
    auto* plot = simple->plotWindow.As<CBasicWindow>();
    plot->Show();
    Pump();
    SavePicture(plot, Join(folder, "grafica.png"));
    CloseByTitleBar(plot);
    Click(main->weightedButton);
    SavePicture(Result(), Join(folder, "ajuste-ponderado.png"));
    auto* weighted = main->resultWindow.CheckedAs<Ponderat>();
    Click(weighted->plotButton);
    SavePicture(weighted->labPlotWindow.As<CBasicWindow>(), Join(folder, "grafica-con-ejes.png"));
    CloseByTitleBar(weighted->labPlotWindow.As<CBasicWindow>());
    CloseResult();
    Click(main->yorkButton);
    SavePicture(Result(), Join(folder, "ajuste-york.png"));
    CloseResult();
    Click(main->infoButton);
    SavePicture(main->aboutWindow.As<CBasicWindow>(), Join(folder, "acerca-de.png"));
    Click(main->saveAsButton);
    SavePicture(Chooser(), Join(folder, "guardar.png"));
    Answer(Chooser(), Join("falta", "datos.dat"));
    SavePicture(main->messageWindow.As<CBasicWindow>(), Join(folder, "aviso.png"));
}
