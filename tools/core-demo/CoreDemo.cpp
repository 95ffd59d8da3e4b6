// A short tour of the object core for a terminal: strings, numbers, lists and the
// registry that deletes objects when their last reference goes.
#include <cstdio>

#include "core/CApplication.h"
#include "core/CList.h"
#include "core/CString.h"
#include "core/Variable.h"

int main()
{
    SetValidationMode(TrustRegistered);
    auto* app = new CApplication();
    CApplication::Title("Ajustor-2  (Beta 3)");
    {
        Variable row(new CString(app));
        auto* text = row.As<CString>();
        text->SetText("1.5;0.1;3.25;0.2");
        Variable cells(text->Split(';'));
        auto* list = cells.As<CList>();
        std::printf("%s\nrow \"%s\" has %u cells:\n", CApplication::Title(), text->CStr(), list->GetCount());
        for (uint32_t i = 0; i < list->GetCount(); i++) {
            auto* cell = static_cast<CString*>(list->GetAt(i));
            Variable shown(new CString(app));
            shown.As<CString>()->SetNumber(cell->ToNumber(), 32);
            std::printf("  %-6s -> %s\n", cell->CStr(), shown.As<CString>()->CStr());
        }
        std::printf("live objects while the row is held: %zu\n", app->GetObjectCount());
    }
    std::printf("live objects after its release: %zu\n", app->GetObjectCount());
    app->Shutdown();
    delete app;
    return 0;
}
