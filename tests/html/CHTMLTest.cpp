#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/CApplication.h"
#include "core/CList.h"
#include "core/CString.h"
#include "core/Variable.h"
#include "html/CHTML_Document.h"
#include "html/CHTML_Table.h"
#include "html/CHTML_Text.h"
#include "io/CIO.h"

// The report through the comma filter into a file is checked byte for byte in
// tests/app/FitReportTest.cpp; here each element's own markup.
namespace {
const std::string Head =
    "<html><meta Agraiments=\"Lurio Vend&aacute;z i Cormet\"><meta Creator=\"Valkora Document\"><head><title>";
const std::string TableOpen = "<center><table border=\"0\" cellpadding=\"1\" cellspacing=\"1\" bgcolor=\"#000000\">";
const std::string TableEnd = "</table></center>";
const std::string HeaderRow = "<tr bgcolor=\"#faf5f0\">";
const std::string Even = "<tr bgcolor=\"#effaff\">";
const std::string Odd = "<tr bgcolor=\"#faffef\">";

// A stream that keeps what is written to it.
class CStringIO : public CIO {
public:
    explicit CStringIO(CApplication* app) : CIO(app) {}
    int Write(const void* buffer, uint32_t size, uint32_t count) override
    {
        text.append(static_cast<const char*>(buffer), uint64_t(size) * count);
        return static_cast<int>(count);
    }
    std::string text;
};

class CHTMLTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetValidationMode(TrustRegistered);
        app = new CApplication();
        out = new CStringIO(app);
    }
    void TearDown() override
    {
        out.Clear();
        app->Shutdown();
        delete app;
    }

    CString* Text(const std::string& text)
    {
        auto* s = new CString(app);
        s->SetText(text.data(), static_cast<uint32_t>(text.size()));
        return s;
    }
    CList* List(const std::vector<std::string>& items)
    {
        auto* list = new CList(app);
        list->Create();
        for (const auto& item : items)
            list->Add(Text(item));
        return list;
    }
    // A table whose column list holds the given columns.
    Variable Table(const std::vector<std::vector<std::string>>& columns, int hasHeader)
    {
        Variable table(new CHTML_Table(app));
        auto* t = table.As<CHTML_Table>();
        t->columns = List({});
        for (const auto& column : columns)
            t->columns.As<CList>()->Add(List(column));
        t->hasHeader = hasHeader;
        return table;
    }
    std::string Written(const Variable& element)
    {
        auto* stream = out.As<CStringIO>();
        stream->text.clear();
        element.As<CHTML>()->WriteTo(stream);
        return stream->text;
    }

    CApplication* app = nullptr;
    Variable out;
};
}  // namespace

TEST_F(CHTMLTest, DocumentAndTableWriteTheirMarkupAndCellsCannotInjectAny)
{
    Variable document(new CHTML_Document(app));
    auto* d = document.As<CHTML_Document>();
    EXPECT_EQ(Written(document), Head + "</title></head><body></body></html>");  // no title, no elements
    d->title = Text("Ajustora-2 (Ajuste Simple)");
    d->elements = List({});
    EXPECT_EQ(Written(document), Head + "Ajustora-2 (Ajuste Simple)</title></head><body></body></html>");

    auto* heading = new CHTML_Text(app);
    heading->text = Text("<H2>C&aacute;lculos Auxiliares para el C&oacute;mputo :</H2>");
    d->elements.As<CList>()->Add(heading);
    d->elements.As<CList>()->Add(new CHTML_Text(app));
    std::string once = Written(document);
    EXPECT_EQ(once, Head + "Ajustora-2 (Ajuste Simple)</title></head><body>"
                           "<H2>C&aacute;lculos Auxiliares para el C&oacute;mputo :</H2><sp><sp></body></html>")
        << "headings and the title are the program's markup: verbatim";
    EXPECT_EQ(Written(document), once) << "writing does not consume the tree";

    // Tables: a header row, then rows alternating in colour.
    Variable table = Table({{"A", "B"}, {"1", "2"}, {"3", "4"}}, 1);
    EXPECT_EQ(Written(table), TableOpen + HeaderRow +
                                  "<td><b><center>A</center></b></td><td><b><center>B</center></b></td></tr>" +
                                  Even + "<td>1</td><td>3</td></tr>" + Odd + "<td>2</td><td>4</td></tr>" + TableEnd);
    table.As<CHTML_Table>()->hasHeader = 0;
    EXPECT_EQ(Written(table), TableOpen + Even + "<td>A</td><td>1</td><td>3</td></tr>" + Odd +
                                  "<td>B</td><td>2</td><td>4</td></tr>" + TableEnd);
    EXPECT_EQ(Written(Table({{}, {}}, 1)), TableOpen + HeaderRow + "</tr>" + TableEnd);
    EXPECT_EQ(Written(Variable(new CHTML_Table(app))), TableOpen + TableEnd);

    // Three rows from the first data column; the short column gives an empty cell and
    // the header keeps its own number of cells.
    EXPECT_EQ(Written(Table({{"X"}, {"1", "2", "3"}, {"a", "b"}}, 1)),
              TableOpen + HeaderRow + "<td><b><center>X</center></b></td></tr>" + Even + "<td>1</td><td>a</td></tr>" +
                  Odd + "<td>2</td><td>b</td></tr>" + Even + "<td>3</td><td></td></tr>" + TableEnd);

    // Markup in a cell stays text; numbers are unaffected.
    EXPECT_EQ(Written(Table({{"<b>"}, {"<script>alert(\"x\")</script>", "a&b", "1.5E-3"}}, 1)),
              TableOpen + HeaderRow + "<td><b><center>&lt;b&gt;</center></b></td></tr>" + Even +
                  "<td>&lt;script&gt;alert(&quot;x&quot;)&lt;/script&gt;</td></tr>" + Odd + "<td>a&amp;b</td></tr>" +
                  Even + "<td>1.5E-3</td></tr>" + TableEnd);

    // A column the program still holds outlives the table that showed it.
    Variable column(List({"1"}));
    table = Table({}, 1);
    table.As<CHTML_Table>()->columns.As<CList>()->Add(column.Get());
    table.Clear();
    EXPECT_EQ(column.As<CList>()->GetCount(), 1u);
    EXPECT_TRUE(app->IsAlive(column.Get()));
}
