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
#include "tests/app/FitFixture.h"
#include "toolkit/CButton.h"
#include "toolkit/CScroller.h"

using platform::VK_TAB;

namespace {
using Lines = std::vector<std::string>;

// The example of the plot: the fitted line runs from corner to corner.
const std::vector<Lines> Example = {{"1", "2", "3"}, {"0.1", "0.1", "0.1"}, {"2", "4", "6"}, {"0.2", "0.2", "0.2"}};

// What a fit finds for a data set and the report written from that, without any
// window: what the windows must show and export.
class Reference {
public:
    Reference(CApplication* app, const std::vector<Lines>& cells, FitKind kind) : app(app)
    {
        for (int k = 0; k < 4; k++) {
            held.emplace_back(data[k] = new CLineColumn(app));
            FillColumn(data[k], cells[k]);
        }
        CDataColumn* const columns[4] = {data[0], data[1], data[2], data[3]};
        fit = RunFit(kind, columns);
        shown = ShownColumns(fit);
    }

    std::string Report(const std::string& path) const
    {
        EXPECT_EQ(ExportReport(app, path, fit, data), 1);
        return AppWindowTest::ReadFile(path);
    }

    std::vector<Lines> shown;  // the auxiliary columns, "Incognitas", "Valores"

private:
    CApplication* app;
    CLineColumn* data[4] = {};
    FitResult fit;
    std::vector<Variable> held;
};

uint32_t Green(CGApplication* app) { return app->packColour(0, 128, 18); }
}  // namespace

class ResultWindowTest : public AppWindowTest {
protected:
    CBasicWindow* Result() const { return Main()->resultWindow.CheckedAs<CBasicWindow>(); }

    // The columns of a result window, in their order, as the fit finds them.
    void ExpectShown(const std::vector<const Variable*>& columns, const Reference& expected)
    {
        ASSERT_EQ(columns.size(), expected.shown.size());
        for (size_t i = 0; i < columns.size(); i++)
            EXPECT_EQ(LinesOf(columns[i]->As<CTextEdit>()), expected.shown[i]) << i;
    }

    std::string Export(const Variable& button, const Variable& chooser, const std::string& name,
                       const char* title = "Exportar HTML ...")
    {
        Click(button);
        auto* dialog = chooser.CheckedAs<CFileChooser>();
        EXPECT_NE(dialog, nullptr);
        if (!dialog)
            return {};
        EXPECT_EQ(Title(dialog), title);
        Answer(dialog, name);
        return ReadFile(Join(dades, name));
    }
};

// Each window shows exactly the lines of its fit, the empty last row that Enter leaves
// being no data, and exports the report of the data the fit used even once the data
// changed; an earlier window held elsewhere keeps working; exporting over an existing
// file asks first and writes nothing until "Sí".
TEST_F(ResultWindowTest, SimpleAndWeightedFitsShowTheirLinesAndExportTheirData)
{
    CMainw* main = Start();
    TypeColumns(Example);
    ASSERT_EQ(LinesOf(Column(0)), (Lines{"1", "2", "3", ""}));
    Click(main->simpleButton);
    auto* simple = main->resultWindow.CheckedAs<Basicad>();
    ASSERT_NE(simple, nullptr);
    Variable holdSimple(simple);
    EXPECT_EQ(Title(simple), "Ajuste Simple");
    platform::PPoint corner = FrameCorner(simple);
    EXPECT_EQ(corner.x, 64);
    EXPECT_EQ(corner.y, 64);
    Reference simpleFit(app, Example, FitKind::Simple);
    ExpectShown({&simple->productXY, &simple->productXX, &simple->productYY, &simple->residuals, &simple->names,
                 &simple->values},
                simpleFit);
    EXPECT_EQ(LinesOf(simple->values.As<CTextEdit>())[0], "3");
    EXPECT_EQ(LinesOf(simple->values.As<CTextEdit>())[9], "2");
    EXPECT_EQ(simple->productXY.As<CTextEdit>()->x, 8);
    EXPECT_EQ(simple->productXX.As<CTextEdit>()->x, 108);
    EXPECT_EQ(simple->secondScroller.As<CScroller>()->x, 651);

    auto* plot = simple->plotWindow.CheckedAs<CBasicWindow>();
    ASSERT_NE(plot, nullptr);
    EXPECT_TRUE(plot->visible);
    EXPECT_EQ(Title(plot), "Grafica (Meramente Orientativa)");
    EXPECT_EQ(plot->width, 805);
    EXPECT_EQ(plot->height, 604);
    PSurface* surface = plot->GetCanvas()->GetSurface();
    EXPECT_EQ(surface->GetPixel(0, 600), Green(app)) << "the fitted line from corner";
    EXPECT_EQ(surface->GetPixel(800, 0), Green(app)) << "to corner";
    std::string simpleReport = simpleFit.Report(Join(root, "simple.html"));
    EXPECT_EQ(Export(simple->exportButton, simple->chooser, "simple.html"), simpleReport);
    CloseResult();

    Click(main->weightedButton);
    auto* weighted = main->resultWindow.CheckedAs<Ponderat>();
    ASSERT_NE(weighted, nullptr);
    EXPECT_EQ(Title(weighted), "Ajuste Ponderado");
    Reference weightedFit(app, Example, FitKind::Weighted);
    ExpectShown({&weighted->weights, &weighted->weightedXY, &weighted->weightedXX, &weighted->weightedX,
                 &weighted->weightedY, &weighted->residuals, &weighted->names, &weighted->values},
                weightedFit);
    EXPECT_EQ(LinesOf(weighted->values.As<CTextEdit>())[0], "3");
    EXPECT_EQ(LinesOf(weighted->values.As<CTextEdit>())[10], "2") << "no NaN from the empty last row";
    EXPECT_EQ(weighted->residuals.As<CTextEdit>()->x, 508);

    // Tab in "Incognitas" goes to the second scroller, which hands on to "Valores",
    // and back: never into the auxiliary columns.
    auto* names = weighted->names.As<CTextEdit>();
    ClickAt(names, 20, names->rowHeight * 2 + 2);
    ASSERT_EQ(app->activeWindow, names->GetEditor());
    EXPECT_EQ(names->nextFocus.Get(), weighted->secondScroller.Get());
    Key(VK_TAB, 9);
    EXPECT_EQ(app->activeWindow, weighted->values.As<CTextEdit>()->GetEditor());
    Key(VK_TAB, 9);
    EXPECT_EQ(app->activeWindow, names->GetEditor());
    EXPECT_EQ(weighted->residuals.As<CTextEdit>()->nextFocus.Get(), weighted->firstScroller.Get());
    EXPECT_EQ(weighted->firstScroller.As<CScroller>()->nextFocus.Get(), weighted->weights.Get());

    // The data change after the fit; closed windows are shown again as a person drags
    // them aside.
    std::string weightedReport = weightedFit.Report(Join(root, "ponderado.html"));
    CloseResult();
    ClickAt(Column(0), 20, Column(0)->rowHeight / 2);
    Type("9\n");
    ASSERT_NE(LinesOf(Column(0))[0], "1");
    Click(main->newButton);
    for (CBasicWindow* w : {static_cast<CBasicWindow*>(weighted), static_cast<CBasicWindow*>(simple)}) {
        w->Show();
        Pump();
        if (w == simple)
            EXPECT_EQ(Export(simple->exportButton, simple->chooser, "simple2.html"), simpleReport);
        else
            EXPECT_EQ(Export(weighted->exportButton, weighted->chooser, "ponderado.html"), weightedReport);
        CloseByTitleBar(w);
    }
    weighted->Show();
    Pump();
    WriteFile(Join(dades, "ponderado.html"), "viejo");
    for (bool replace : {false, true}) {
        EXPECT_EQ(Export(weighted->exportButton, weighted->chooser, "ponderado.html"), "viejo");
        auto* question = weighted->question.CheckedAs<Pregunta>();
        ASSERT_NE(question, nullptr);
        EXPECT_EQ(question->GetMessage(), "\xBFReemplazar \xABponderado.html\xBB?");
        Click(replace ? question->yesButton : question->noButton);
        EXPECT_EQ(ReadFile(Join(dades, "ponderado.html")), replace ? weightedReport : "viejo");
    }
    EXPECT_EQ(Message(weighted->messageWindow), nullptr);
}

// The York fit's window: its columns and results as the fit finds them, the plot, the
// export; a row whose two errors are 0 is told and marked instead.
TEST_F(ResultWindowTest, YorkFitShowsItsColumnsPlotAndReport)
{
    CMainw* main = Start();
    std::vector<Lines> data = {{"1", "2", "3", "4"}, {"0.1", "0", "0.2", "0.1"}, {"2.1", "3.9", "6.2", "7.8"},
                               {"0.2", "0.2", "0.3", "0.2"}};
    TypeColumns(data);
    Click(main->yorkButton);
    auto* window = main->resultWindow.CheckedAs<CYorkWindow>();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(Title(window), "Ajuste York");
    Reference expected(app, data, FitKind::York);
    ExpectShown({&window->weights, &window->adjustedX, &window->adjustedY, &window->residuals, &window->names,
                 &window->values},
                expected);
    EXPECT_EQ(LinesOf(window->names.As<CTextEdit>()),
              (Lines{"N", "A", "B", "Error A", "Error B", "Cov AB", "Chi2", "Chi2/(N-2)", "P(Chi2)",
                     "Error A escalado", "Error B escalado", "Iteraciones"}));
    EXPECT_EQ(window->residuals.As<CTextEdit>()->nextFocus.Get(), window->firstScroller.Get());
    EXPECT_EQ(Title(PlotOf(window)), "Grafica (Meramente Orientativa)");
    EXPECT_EQ(Message(window->messageWindow), nullptr) << "the slope settled";
    std::string report = expected.Report(Join(root, "york.html"));
    EXPECT_EQ(Export(window->exportButton, window->chooser, "york.html"), report);
    EXPECT_NE(report.find("<title>Ajustora-2 (Ajuste York)</title>"), std::string::npos);
    CloseResult();

    Click(main->newButton);
    data[3][1] = "0";
    TypeColumns(data);
    Click(main->yorkButton);
    ExpectMessage(main->messageWindow,
                  "Fila 2, Errores X: este error y el de Y son 0: el ajuste York no puede pesar la fila");
    EXPECT_EQ(Column(1)->GetMarkedLine(), 1);
    EXPECT_EQ(Result(), window) << "no new window";
}

// A failed export is told; a new fit replaces the window, its plot and its open
// chooser. "Ver grafica" opens the plot with axes in a window of its own, once; its
// button exports it through the chooser, PNG or SVG by the name's ending.
TEST_F(ResultWindowTest, FailedExportsReplacedWindowsAndThePlotWithAxes)
{
    CMainw* main = Start();
    TypeColumns(Example);
    Click(main->simpleButton);
    auto* window = main->resultWindow.CheckedAs<Basicad>();
    ASSERT_NE(window, nullptr);
    const std::string missing = Join(Join(dades, "falta"), "informe.html");
    Export(window->exportButton, window->chooser, Join("falta", "informe.html"));
    ExpectMessage(window->messageWindow,
                  "No se pudo exportar \xAB" + missing + "\xBB: No existe el archivo o el directorio");
    Click(window->exportButton);
    CloseByTitleBar(PlotOf(window));
    platform::PHandle handles[] = {window->handle, window->plotWindow.As<CWindow>()->handle,
                                   window->chooser.As<CWindow>()->handle};
    Click(main->weightedButton);
    for (platform::PHandle handle : handles)
        EXPECT_FALSE(desktop.IsWindow(handle));
    auto* result = main->resultWindow.CheckedAs<Ponderat>();
    ASSERT_NE(result, nullptr);
    EXPECT_TRUE(result->visible);

    Click(result->plotButton);
    auto* plot = result->labPlotWindow.CheckedAs<Grafica>();
    ASSERT_NE(plot, nullptr);
    EXPECT_TRUE(plot->visible);
    EXPECT_EQ(Title(plot), "Grafica: Ajuste Ponderado");
    PSurface* surface = plot->GetCanvas()->GetSurface();
    EXPECT_EQ(surface->GetPixel(Grafica::AreaWidth - 1, 1), app->packColour(255, 255, 255));
    const char* title = "Exportar grafica ...";
    EXPECT_EQ(Export(plot->exportButton, plot->chooser, "recta.png", title).substr(0, 8), "\x89PNG\r\n\x1A\n");
    std::string svg = Export(plot->exportButton, plot->chooser, "recta.svg", title);
    EXPECT_EQ(svg.rfind("<?xml", 0), 0u);
    EXPECT_NE(svg.find(">Ajuste Ponderado</text>"), std::string::npos);
    EXPECT_NE(svg.find(">A = 2,00 \xC2\xB1 0,14</text>"), std::string::npos) << svg.substr(0, 3000);
    Export(plot->exportButton, plot->chooser, Join("falta", "recta.png"), title);
    ExpectMessage(plot->messageWindow, "No se pudo exportar \xAB" + Join(Join(dades, "falta"), "recta.png") +
                                           "\xBB: No existe el archivo o el directorio");

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
    Click(main->simpleButton);
    ExpectMessage(main->messageWindow, "No hay datos");
    EXPECT_EQ(Result(), nullptr);

    TypeColumns({{"1", "2", "3"}, {}, {"2", "abc", "6"}});
    Click(main->simpleButton);
    ExpectMessage(main->messageWindow, "Fila 2, Valores Y: \"abc\" no es un n\xFAmero");
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
    ExpectMessage(main->messageWindow, "Fila 1, Errores Y == w: la celda est\xE1 vac\xED" "a");
    EXPECT_EQ(Column(3)->GetMarkedLine(), 0);
    EXPECT_EQ(Result(), simple);
}
