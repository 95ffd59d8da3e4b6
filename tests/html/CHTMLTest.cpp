#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "core/CApplication.h"
#include "core/CList.h"
#include "core/CString.h"
#include "core/Variable.h"
#include "html/CHTML_Document.h"
#include "html/CHTML_Table.h"
#include "html/CHTML_Text.h"
#include "io/CCommaFilterIO.h"
#include "io/CFile.h"
#include "io/CIO.h"
#include "tests/common/TempFolder.h"

namespace {
const std::string Head =
    "<html><meta Agraiments=\"Lurio Vend&aacute;z i Cormet\"><meta Creator=\"Valkora Document\"><head><title>";
const std::string TableOpen = "<center><table border=\"0\" cellpadding=\"1\" cellspacing=\"1\" bgcolor=\"#000000\">";
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
        auto s = new CString(app);
        s->SetText(text.data(), static_cast<uint32_t>(text.size()));
        return s;
    }
    CList* List(const std::vector<std::string>& items)
    {
        auto list = new CList(app);
        list->Create();
        for (const auto& item : items)
            list->Add(Text(item));
        return list;
    }
    // A table whose column list holds the given columns.
    Variable Table(const std::vector<std::vector<std::string>>& columns, int hasHeader)
    {
        Variable table(new CHTML_Table(app));
        auto list = new CList(app);
        table.As<CHTML_Table>()->columns = list;
        list->Create();
        for (const auto& column : columns)
            list->Add(List(column));
        table.As<CHTML_Table>()->hasHeader = hasHeader;
        return table;
    }
    std::string Written(const Variable& element)
    {
        Stream()->text.clear();
        element.As<CHTML>()->WriteTo(Stream());
        return Stream()->text;
    }
    CStringIO* Stream() { return out.As<CStringIO>(); }

    CApplication* app = nullptr;
    Variable out;
};
}  // namespace

TEST_F(CHTMLTest, DocumentWritesItsHeadElementsAndEnd)
{
    Variable document(new CHTML_Document(app));
    auto d = document.As<CHTML_Document>();
    d->title = Text("Ajustora-2 (Ajuste Simple)");
    auto elements = new CList(app);
    d->elements = elements;
    elements->Create();
    EXPECT_EQ(Written(document), Head + "Ajustora-2 (Ajuste Simple)</title></head><body></body></html>");

    auto heading = new CHTML_Text(app);
    heading->text = Text("<H2>C&aacute;lculos Auxiliares para el C&oacute;mputo :</H2>");
    elements->Add(heading);
    auto empty = new CHTML_Text(app);
    elements->Add(empty);
    std::string once = Written(document);
    EXPECT_EQ(once, Head + "Ajustora-2 (Ajuste Simple)</title></head><body>"
                           "<H2>C&aacute;lculos Auxiliares para el C&oacute;mputo :</H2><sp><sp></body></html>")
        << "headings and the title are the program's markup: verbatim";
    EXPECT_EQ(Written(document), once) << "writing does not consume the tree";

    Variable untitled(new CHTML_Document(app));
    EXPECT_EQ(Written(untitled), Head + "</title></head><body></body></html>");
}

TEST_F(CHTMLTest, TableRowsFollowTheFirstDataColumnAndCellsCannotInjectMarkup)
{
    Variable table = Table({{"A", "B"}, {"1", "2"}, {"3", "4"}}, 1);
    EXPECT_EQ(Written(table), TableOpen + HeaderRow +
                                  "<td><b><center>A</center></b></td><td><b><center>B</center></b></td></tr>" +
                                  Even + "<td>1</td><td>3</td></tr>" + Odd + "<td>2</td><td>4</td></tr>" +
                                  "</table></center>");

    table.As<CHTML_Table>()->hasHeader = 0;
    EXPECT_EQ(Written(table), TableOpen + Even + "<td>A</td><td>1</td><td>3</td></tr>" + Odd +
                                  "<td>B</td><td>2</td><td>4</td></tr></table></center>");

    EXPECT_EQ(Written(Table({{}, {}}, 1)), TableOpen + HeaderRow + "</tr></table></center>");
    Variable bare(new CHTML_Table(app));
    EXPECT_EQ(Written(bare), TableOpen + "</table></center>");

    // Three rows from the first data column; the short column gives an empty cell and
    // the header keeps its own number of cells.
    table = Table({{"X"}, {"1", "2", "3"}, {"a", "b"}}, 1);
    std::string rows = Written(table).substr(TableOpen.size());
    EXPECT_EQ(rows, HeaderRow + "<td><b><center>X</center></b></td></tr>" + Even + "<td>1</td><td>a</td></tr>" +
                        Odd + "<td>2</td><td>b</td></tr>" + Even + "<td>3</td><td></td></tr></table></center>");

    table = Table({{"<b>"}, {"<script>alert(\"x\")</script>", "a&b", "1.5E-3"}}, 1);
    std::string html = Written(table);
    EXPECT_NE(html.find("<td><b><center>&lt;b&gt;</center></b></td>"), std::string::npos);
    EXPECT_NE(html.find("<td>&lt;script&gt;alert(&quot;x&quot;)&lt;/script&gt;</td>"), std::string::npos);
    EXPECT_NE(html.find("<td>a&amp;b</td>"), std::string::npos);
    EXPECT_NE(html.find("<td>1.5E-3</td>"), std::string::npos) << "numbers unaffected";
    EXPECT_EQ(html.find("<script"), std::string::npos);
}

TEST_F(CHTMLTest, ReportThroughTheCommaFilterIntoAFile)
{
    std::string folder = MakeTempFolder("ajustor-html");
    ASSERT_FALSE(folder.empty());
    std::string name = folder + "/informe.html";
    {
        Variable file(new CFile(app));
        file.As<CFile>()->OpenWrite(name.c_str());
        Variable filter(new CCommaFilterIO(app));
        filter.As<CCommaFilterIO>()->inner = file.Get();
        Variable document(new CHTML_Document(app));
        auto d = document.As<CHTML_Document>();
        d->title = Text("T");
        d->elements = List({});
        d->elements.As<CList>()->Add(Table({{"Valor"}, {"0.5", "3,5"}}, 1).Get());
        d->WriteTo(filter.As<CIO>());
    }  // releasing the file closes it
    std::ifstream in(name, std::ios::binary);
    std::string html((std::istreambuf_iterator<char>(in)), {});
    in.close();
    std::filesystem::remove_all(folder);
    EXPECT_NE(html.find("<td>0,5</td>"), std::string::npos);
    EXPECT_NE(html.find("<td>3,5</td>"), std::string::npos);
    EXPECT_EQ(html.find('\n'), std::string::npos) << "one line, no line break";
    EXPECT_EQ(html.substr(0, Head.size()), Head);
}

TEST_F(CHTMLTest, ASharedColumnOutlivesTheTableThatShowedIt)
{
    Variable table(new CHTML_Table(app));
    Variable column(List({"1"}));
    table.As<CHTML_Table>()->columns = List({});
    table.As<CHTML_Table>()->columns.As<CList>()->Add(column.Get());
    table.Clear();
    EXPECT_EQ(column.As<CList>()->GetCount(), 1u);
    EXPECT_TRUE(app->IsAlive(column.Get()));
}
