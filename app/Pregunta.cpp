#include "app/Pregunta.h"

#include "toolkit/CGApplication.h"

Pregunta::Pregunta(CGApplication* app) : Aviso(app) { className = "Pregunta"; }

Pregunta::~Pregunta() { LeaveRegistry(); }

void Pregunta::HandleEvent(CEvent event)
{
    if (alive && event.type == EV_CLICK && event.source && visible) {
        if (event.source == yesButton.Get())
            Answer(1);
        else if (event.source == noButton.Get())
            Answer(0);
    }
    Aviso::HandleEvent(event);
}

void Pregunta::OpenQuestion(const std::string& text, CWComponent* asker)
{
    owner = asker;
    const char* const captions[] = {"S\xED", "No"};
    Variable* const buttons[] = {&yesButton, &noButton};
    Build(text, captions, buttons, 2);
    Show();
}

// The asker may drop its question while it hears the answer: the question then goes
// once this event is through.
void Pregunta::Answer(int32_t key)
{
    Variable self;
    if (references > 0)
        self = this;
    Hide();
    CEvent result;
    result.type = EV_RESULT;
    result.key = key;
    result.source = this;
    if (owner && GetApplication()->IsAlive(owner))
        GetApplication()->SendEvent(owner, result);
}
