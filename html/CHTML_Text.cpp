#include "html/CHTML_Text.h"

#include "core/CString.h"
#include "io/CIO.h"

CHTML_Text::CHTML_Text(CApplication* app) : CHTML(app)
{
    className = "CHTML_Text";
    created = 1;
}

CHTML_Text::~CHTML_Text()
{
    LeaveRegistry();
    if (created)
        DestroyText();
}

int CHTML_Text::Destroy() { return DestroyText(); }

void CHTML_Text::WriteTo(CIO* stream)
{
    Variable hold;
    hold = stream;
    if (!stream)
        return;
    if (auto string = text.CheckedAs<CString>())
        stream->WriteText(string);
    stream->WriteText("<sp>");
}

int CHTML_Text::DestroyText()
{
    text.Clear();
    created = 0;
    return 1;
}
