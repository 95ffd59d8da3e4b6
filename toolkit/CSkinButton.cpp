#include "toolkit/CSkinButton.h"

#include "graphics/CBCell.h"
#include "graphics/CCanvas.h"

namespace {
// The face for each state: index bit 0 = hover, bit 1 = focused, bit 2 = pressed.
Variable CSkinButton::* const Faces[8] = {
    &CSkinButton::skinNormal,  &CSkinButton::skinHover,        &CSkinButton::skinFocused,
    &CSkinButton::skinFocusedHover, &CSkinButton::skinPressed, &CSkinButton::skinPressed,
    &CSkinButton::skinPressed, &CSkinButton::skinPressed,
};
}  // namespace

CSkinButton::CSkinButton(CGApplication* app) : CButton(app) { className = "CSkinButton"; }

CSkinButton::~CSkinButton() { LeaveRegistry(); }

void CSkinButton::Draw()
{
    CCanvas* surface = GetCanvas();
    if (!surface)
        return;
    CopyParentBackground();
    uint32_t state = (hover ? 1 : 0) | (focused ? 2 : 0) | (pressed ? 4 : 0);
    if (auto* face = (this->*Faces[state]).CheckedAs<CBCell>())
        surface->DrawCell(face, (width - face->GetWidth()) >> 1, (height - face->GetHeight()) >> 1);
    DrawCaptionAndIcon();
}

void CSkinButton::SetSkinNormal(CBCell* cell) { skinNormal = cell; }
void CSkinButton::SetSkinHover(CBCell* cell) { skinHover = cell; }
void CSkinButton::SetSkinPressed(CBCell* cell) { skinPressed = cell; }
void CSkinButton::SetSkinFocused(CBCell* cell) { skinFocused = cell; }
void CSkinButton::SetSkinFocusedHover(CBCell* cell) { skinFocusedHover = cell; }
