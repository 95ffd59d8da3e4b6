#include "app/DataFileRows.h"
#include "app/FitProblem.h"
#include "app/FitRows.h"
#include "io/DataFile.h"
#include "tests/app/FitFixture.h"

namespace {
using Cells = Texts;

class FitProblemTest : public FitFixture {
protected:
    FitProblem Check(FitKind kind, const std::vector<Cells>& columns)
    {
        FillAll(columns);
        return CheckFit(Data(), kind);
    }
};

constexpr FitKind Simple = FitKind::Simple;
constexpr FitKind Weighted = FitKind::Weighted;
constexpr FitKind York = FitKind::York;
}  // namespace

// Each reason a fit cannot run, with the message the window shows (Windows-1252).
TEST_F(FitProblemTest, EveryReasonIsToldWithItsRowAndColumn)
{
    const Cells x = {"1", "2", "3"}, y = {"2", "4", "6"}, e = {"0.1", "0.1", "0.1"};
    const struct {
        FitKind kind;
        std::vector<Cells> columns;
        const char* message;
    } cases[] = {
        {Simple, {x, {}, {"2", "2.5.1", "6"}}, "Fila 2, Valores Y: \"2.5.1\" no es un n\xFAmero"},
        {Simple, {{"1e400", "2", "3"}, {}, y}, "Fila 1, Valores X: \"1e400\" no es un n\xFAmero"},
        {Simple, {x, {"0,1", "abc"}, y}, "Fila 2, Errores X: \"abc\" no es un n\xFAmero"},
        {Simple, {x, {}, y, {"", "", "--1"}}, "Fila 3, Errores Y == w: \"--1\" no es un n\xFAmero"},
        {Simple, {x, {}, {"2", "4", "1\r6"}}, "Fila 3, Valores Y: \"1\\x0d6\" no es un n\xFAmero"},
        {Simple, {x, {}, {"2", "4", std::string(50, '7') + "x"}},
         "Fila 3, Valores Y: \"7777777777777777777777777777777777777777...\" no es un n\xFAmero"},
        {Simple, {{"1", "", "3"}, {}, {"2", "", "6"}}, "Fila 2, Valores X: la celda est\xE1 vac\xED" "a"},
        {Simple, {{"1", "2", " "}, {}, y}, "Fila 3, Valores X: la celda est\xE1 vac\xED" "a"},
        {Simple, {x, {}, {"2", "4"}}, "Fila 3, Valores Y: la celda est\xE1 vac\xED" "a"},
        {Simple, {{""}, {""}, {" "}}, "No hay datos"},
        {Simple, {{"2", "2,0", "2"}, {}, y},
         "Hacen falta al menos dos valores de X distintos para ajustar una recta"},
        {Weighted, {{"1"}, {}, {"2"}, {"1"}},
         "Hacen falta al menos dos valores de X distintos para ajustar una recta"},
        {Weighted, {x, {}, y, {"0.1", "", "0.1"}}, "Fila 2, Errores Y == w: la celda est\xE1 vac\xED" "a"},
        {Weighted, {x, {}, y, {"0.1", "0.1"}}, "Fila 3, Errores Y == w: la celda est\xE1 vac\xED" "a"},
        {Weighted, {x, {}, y, {"0.1", "-0,0", "0.1"}},
         "Fila 2, Errores Y == w: el error es 0 y el ajuste ponderado divide por \xE9l"},
        {Weighted, {x, {}, y, {"1e-200", "0.1", "0.1"}},
         "Fila 1, Errores Y == w: el error es tan peque\xF1o o tan grande que su peso 1/(e*e) no se puede calcular"},
        {Simple, {{"1e200", "2e200", "3e200"}, {}, y}, "Los valores son demasiado grandes para calcular el ajuste"},
        {York, {x, {"0.1", "", "0.1"}, y, e}, "Fila 2, Errores X: la celda est\xE1 vac\xED" "a"},
        {York, {x, {"0.1", "0", "0.1"}, y, {"0.1", "-0", "0.1"}},
         "Fila 2, Errores X: este error y el de Y son 0: el ajuste York no puede pesar la fila"},
        {York, {x, {"1e200", "0.1", "0.1"}, y, e},
         "Fila 1, Errores X: el error es tan peque\xF1o o tan grande que su peso 1/(e*e) no se puede calcular"},
        {York, {x, {"1e-200", "0.1", "0.1"}, y, {"1e-200", "0.1", "0.1"}},
         "Fila 1, Errores Y == w: el error es tan peque\xF1o o tan grande que su peso 1/(e*e) no se puede calcular"},
        // Sound fits: empty error cells where the fit does not use them, equal y,
        // negative errors, two rows, trailing empty rows.
        {Simple, {x, {}, y}, ""},
        {Simple, {{"1", "2", ""}, {"", "", ""}, {"5", "5", ""}, {"", "", ""}}, ""},
        {Weighted, {x, {"", "0,2"}, y, {"-0,1", "0.2", " 1E-1 "}}, ""},
        {York, {x, {"0", "-0.1", "0"}, y, {"0.1", "0", "0.1"}}, ""},
    };
    for (const auto& c : cases) {
        FitProblem problem = Check(c.kind, c.columns);
        EXPECT_EQ(FitProblemText(problem), c.message);
        EXPECT_EQ(bool(problem), *c.message != '\0') << c.message;
    }
}

// The place of the cell is what the main window marks; the tool prints plain ASCII.
TEST_F(FitProblemTest, TheCellAtFaultAndThePlainText)
{
    FitProblem problem = Check(Weighted, {{"1", "2", "3"}, {}, {"2", "4", "6"}, {"1", "1", "x"}});
    EXPECT_EQ(problem.kind, FitProblem::NotANumber);
    EXPECT_EQ(problem.row, 2u);
    EXPECT_EQ(problem.column, 3);
    EXPECT_EQ(FitProblemText(problem, true), "fila 3, Errores Y == w: \"x\" no es un numero");
    problem = Check(Weighted, {{"1", "2", "3"}, {}, {"2", "4", "6"}, {"1", "0", "1"}});
    EXPECT_EQ(FitProblemText(problem, true), "fila 2, Errores Y == w: el error es 0 y el ajuste ponderado divide por el");
    EXPECT_EQ(FitProblemText(Check(Simple, {}), true), "no hay datos");
    EXPECT_EQ(Check(Simple, {{"1", "1"}, {}, {"1", "2"}}).column, -1) << "no cell is at fault";

    // Rows read from elsewhere (the tool's plain text) pass the same checks.
    FitRows rows(true);
    rows.Add(1, 2, 0.5);
    rows.Add(2, 3, 0);
    problem = CheckFitRows(rows, Weighted);
    EXPECT_EQ(problem.kind, FitProblem::ZeroError);
    EXPECT_EQ(problem.row, 1u);
    EXPECT_FALSE(CheckFitRows(rows, Simple)) << "the simple fit does not weigh its rows";
    EXPECT_EQ(CheckFitRows(FitRows(false), Simple).kind, FitProblem::NoData);
}

// A data file read record by record into the row store gives the rows, and the cell at
// fault, of loading it into columns and reading those.
TEST_F(FitProblemTest, RecordsIntoTheStoreAreTheRowsOfTheColumns)
{
    const std::string ok = "1;0.1;2.5;0.2;\n2;0.1;4,1;0.3;\n3;;6.2;0.25;\n";
    const std::string records[] = {
        ok, ok + ";;;;\n \t; ;\xA0;;\n", ok + ";;;;\n4;x;1;1;\n", "1\t;0.1;2;0.2;\n\t2 ;0.1;\t4\t;0.3;\r\n",
        ok + "4;0.1;2\t5;0.3;\n", ok + "4;1e400;2;0.3;\n", ok + "4;0.1;2;;\n", ok + "4;0.1;2;0;\n",
        ok + ";0.1;2;0.3;\n", "1;;2\n2;0.1;4.5\n3\n", ok + "5;0.1;9;0.2;", ok + "5;0.1;9;0.2;junk;\n", "",
    };
    // Each fit, with the errors its rows hold alone and with both (for the plot).
    const struct {
        FitKind kind;
        bool errors, errorX;
    } stores[] = {{Simple, false, false}, {Simple, true, true}, {Weighted, true, false}, {Weighted, true, true},
                  {York, true, true}};
    for (const auto& [kind, errors, errorX] : stores) {
        for (const std::string& body : records) {
            std::string file = std::string("\x14\0\0\0", 4) + body;
            uint32_t loaded = ReadDataSet(Memory(file), Data());
            FitRows expected(errors, errorX), got(errors, errorX);
            FitProblem problem = ReadFitRows(Data(), kind, expected);
            DataFileRows read = ReadDataFileRows(Memory(file), kind, got, 1u << 20);
            if (!problem || problem.kind == FitProblem::NoData) {
                EXPECT_EQ(read.records, loaded) << body;  // a cell at fault ends the reading
            }
            EXPECT_FALSE(read.cut);
            EXPECT_EQ(FitProblemText(read.problem), FitProblemText(problem)) << body;
            EXPECT_EQ(PointsOf(got), PointsOf(expected)) << body;
        }
    }
    // A record beyond the bound ends the reading, cut; a cell at fault ends it before.
    for (const char* first : {"1;;2;;\n", "x;;;;\n"}) {
        std::string file = std::string("\x03\0\0\0", 4) + first + std::string(40, '1') + ";\n1;;2;;\n";
        FitRows rows(false);
        DataFileRows read = ReadDataFileRows(Memory(file), Simple, rows, 40);
        EXPECT_EQ(read.cut, first[0] == '1');
        EXPECT_EQ(read.records, first[0] == '1' ? 2u : 1u);
    }
}
