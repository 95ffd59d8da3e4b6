#include "app/Aviso.h"

#include <algorithm>

#include "graphics/CFont.h"
#include "toolkit/CButton.h"
#include "toolkit/CGApplication.h"
#include "toolkit/CLabel.h"

namespace {
constexpr int Margin = 16;
constexpr int LineHeight = 18;
constexpr int LeastWidth = 320;
constexpr int MostTextWidth = 560;
constexpr int ButtonWidth = 110;
constexpr int ButtonHeight = 26;
constexpr int ButtonGap = 16;

// The bytes of `text` from `from` that fit in `room` pixels, at least one.
size_t FittingBytes(CFont* font, const std::string& text, size_t from, int room)
{
    size_t n = 1;
    while (from + n < text.size() && font->TextWidth(text.data() + from, uint32_t(n + 1)) <= room)
        n++;
    return n;
}
}  // namespace

Aviso::Aviso(CGApplication* app) : CBasicWindow(app) { className = "Aviso"; }

Aviso::~Aviso() { LeaveRegistry(); }

void Aviso::HandleEvent(CEvent event)
{
    if (alive && event.type == EV_CLICK && event.source == acceptButton.Get() && acceptButton)
        Hide();
    CBasicWindow::HandleEvent(event);
}

void Aviso::OpenMessage(const std::string& text)
{
    const char* const captions[] = {"Aceptar"};
    Variable* const buttons[] = {&acceptButton};
    Build(text, captions, buttons, 1);
    Show();
}

void Aviso::Build(const std::string& text, const char* const captions[], Variable* const buttons[], int count)
{
    CGApplication* app = GetApplication();
    message = text;
    Variable font(new CFont(app));
    font.As<CFont>()->SetDefault();
    int textWidth = std::min(font.As<CFont>()->TextWidth(text.c_str(), uint32_t(text.size())), MostTextWidth);
    std::vector<std::string> shown = Wrap(text, MostTextWidth);
    int buttonsWidth = count * ButtonWidth + (count - 1) * ButtonGap;
    int w = std::max({LeastWidth, textWidth + 2 * Margin + 4, buttonsWidth + 2 * Margin});
    int h = Margin + int(shown.size()) * LineHeight + 12 + ButtonHeight + 12;
    CEvent desktop = app->GetDesktopSize();
    Create((desktop.x - w) >> 1, (desktop.y - h) >> 1, w, h, nullptr, "Aviso", 252, 242, 202);
    for (size_t i = 0; i < shown.size(); i++) {
        auto* label = new CLabel(app);
        lines[i] = label;
        label->Create(Margin, Margin + int(i) * LineHeight, w - 2 * Margin, LineHeight, this, nullptr, 255, 236, 192);
        label->textStyle = 0;
        label->SetText(shown[i].c_str());
        label->Show();
    }
    // Made last, the last button is the active component: Enter presses it.
    int x = (w - buttonsWidth) >> 1;
    for (int i = 0; i < count; i++, x += ButtonWidth + ButtonGap) {
        auto* button = new CButton(app);
        *buttons[i] = button;
        button->Create(x, h - 12 - ButtonHeight, ButtonWidth, ButtonHeight, this, nullptr, 255, 236, 192);
        button->SetCaption(captions[i]);
        button->Show();
    }
}

// Breaks the text at blanks into lines that fit; a word wider than a line (a long
// path) is cut where the line ends. What does not fit in the last line is dropped.
std::vector<std::string> Aviso::Wrap(const std::string& text, int room)
{
    Variable holder(new CFont(application));
    auto* font = holder.As<CFont>();
    font->SetDefault();
    std::vector<std::string> out;
    size_t at = 0;
    while (at < text.size() && int(out.size()) < MostLines) {
        size_t n = FittingBytes(font, text, at, room);
        if (at + n < text.size()) {
            size_t blank = text.rfind(' ', at + n);
            if (blank != std::string::npos && blank > at)
                n = blank - at;
        }
        out.push_back(text.substr(at, n));
        at += n;
        while (at < text.size() && text[at] == ' ')
            at++;
    }
    if (out.empty())
        out.emplace_back();
    return out;
}
