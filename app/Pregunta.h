#pragma once

#include <string>

#include "app/Aviso.h"

// A question in the style of the message window: the text and the buttons "Sí" and
// "No". The answer goes to the window that asked as EV_RESULT, `key` 1 for "Sí" and 0
// for "No", `source` the question; closing it by its title bar answers nothing. "No"
// holds the keyboard: Enter never replaces a file by accident.
class Pregunta : public Aviso {
public:
    explicit Pregunta(CGApplication* app);
    ~Pregunta() override;

    void HandleEvent(CEvent event) override;

    // Creates the window centred on the desktop and shows it.
    void OpenQuestion(const std::string& text, CWComponent* asker);

    Variable yesButton;
    Variable noButton;

private:
    void Answer(int32_t key);

    // Not held: the asker keeps its question, and a reference back would keep both.
    CWComponent* owner = nullptr;
};
