#include "html/CHTML_Document.h"

#include "core/CList.h"
#include "core/CString.h"
#include "io/CIO.h"

namespace {
constexpr const char* Head =
    "<html><meta Agraiments=\"Lurio Vend&aacute;z i Cormet\"><meta Creator=\"Valkora Document\"><head><title>";
}

CHTML_Document::CHTML_Document(CApplication* app) : CHTML(app)
{
    className = "CHTML_Document";
    created = 1;
}

CHTML_Document::~CHTML_Document()
{
    LeaveRegistry();
    if (created)
        DestroyDocument();
}

int CHTML_Document::Destroy() { return DestroyDocument(); }

// The title goes out verbatim: it is the program's own text.
void CHTML_Document::WriteTo(CIO* stream)
{
    Variable hold;
    hold = stream;
    if (!stream)
        return;
    stream->WriteText(Head);
    if (auto text = title.CheckedAs<CString>())
        stream->WriteText(text);
    stream->WriteText("</title></head><body>");
    if (auto list = elements.CheckedAs<CList>()) {
        for (uint32_t i = 0; i < list->GetCount(); i++)
            if (auto element = dynamic_cast<CHTML*>(list->GetAt(i)))
                element->WriteTo(stream);
    }
    stream->WriteText("</body></html>");
}

int CHTML_Document::DestroyDocument()
{
    elements.Clear();
    title.Clear();
    created = 0;
    return 1;
}
