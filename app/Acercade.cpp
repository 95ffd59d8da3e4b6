#include "app/Acercade.h"

#include <cstring>
#include <vector>

#include "graphics/CBCell.h"
#include "graphics/ImageReaders.h"
#include "io/CMemIO.h"
#include "toolkit/CGApplication.h"
#include "toolkit/CLabel.h"
#include "graphics/BuiltinPictures.h"

Acercade::Acercade(CGApplication* app) : CBasicWindow(app) { className = "Acercade"; }

Acercade::~Acercade() { LeaveRegistry(); }

void Acercade::HandleEvent(CEvent event)
{
    if (!alive) {
        CBasicWindow::HandleEvent(event);
        return;
    }
    if (event.source == application && event.type == EV_CREATE) {
        // The background is drawn first; the label copies it.
        CBasicWindow::HandleEvent(event);
        Build();
        event.type = EV_NONE;
    }
    CBasicWindow::HandleEvent(event);
}

void Acercade::Build()
{
    CGApplication* app = GetApplication();
    // The reader gets a copy of its own, so the program's block is never written.
    std::vector<unsigned char> copy(BuiltinAboutPicture, BuiltinAboutPicture + sizeof BuiltinAboutPicture);
    Variable stream(new CMemIO(app));
    stream.As<CMemIO>()->OpenBlock(copy.data(), uint32_t(copy.size()));
    // A cell, as the label draws its image as a cell; without a mask it is opaque.
    Variable picture(new CBCell(app));
    picture.As<CBCell>()->Reset();
    LoadIes(picture.As<CBCell>(), stream.As<CMemIO>());
    auto* credit = new CLabel(app);
    label = credit;
    credit->Create(8, 8, width - 16, 136, this, nullptr, 255, 236, 192);
    credit->SetText("Lurio Vendaz i Cormet");
    credit->SetImage(picture.As<CBCell>());
    credit->Show();
}
