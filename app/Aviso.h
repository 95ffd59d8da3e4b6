#pragma once

#include <string>
#include <vector>

#include "toolkit/CBasicWindow.h"

// A small decorated window telling the user what went wrong with a file or why a fit
// cannot be computed: the message over as many lines as it needs and an "Aceptar"
// button, which closes it (as Enter does, the button holding the keyboard).
class Aviso : public CBasicWindow {
public:
    static constexpr int MostLines = 8;

    explicit Aviso(CGApplication* app);
    ~Aviso() override;

    void HandleEvent(CEvent event) override;

    // Creates the window centred on the desktop, sized to the text, and shows it.
    void OpenMessage(const std::string& text);
    // The whole message as given.
    const std::string& GetMessage() const { return message; }

    Variable lines[MostLines];
    Variable acceptButton;

protected:
    // Creates the window centred on the desktop, sized to the text, with a row of
    // buttons under it, left to right; the last one made holds the keyboard.
    void Build(const std::string& text, const char* const captions[], Variable* const buttons[], int count);

private:
    std::vector<std::string> Wrap(const std::string& text, int room);

    std::string message;
};
