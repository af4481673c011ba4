#include "shell/AuthorKeys.h"

#include "sequencer/Demo.h"

#include <cmath>

namespace shell {

namespace {

struct AuthorKey {
    int virtualKey;
    AuthorAction action;
};

const AuthorKey authorKeys[] = {
    {'P', AuthorAction::Pause},        {37, AuthorAction::BeatBack},      {39, AuthorAction::BeatForward},
    {33, AuthorAction::PreviousScene}, {34, AuthorAction::NextScene},     {36, AuthorAction::SceneStart},
    {'L', AuthorAction::ToggleLine},
};

// Beats count from the show's start; every scene starts on a whole beat, so
// whole show beats are whole beats of the scene too. The small margin keeps
// a time a rounding step short of a beat from counting as before it.
void stepBeat(Demo& demo, int direction)
{
    const float beat = demo.beatAt(demo.authorShowTime());
    const float rounded = std::round(beat);
    const float whole = std::fabs(beat - rounded) < 1e-3f ? rounded
                        : direction > 0                   ? std::floor(beat)
                                                          : std::ceil(beat);
    demo.seek(demo.timeOfBeat(whole + static_cast<float>(direction)));
}

void stepScene(Demo& demo, int step)
{
    const int index = demo.sceneAt(demo.authorShowTime()) + step;
    if (index >= 0 && index < static_cast<int>(demo.scenes.size()))
        demo.seek(demo.scenes[static_cast<size_t>(index)]->start);
}

} // namespace

const char authorKeysHelp[] =
    "  P          pause and resume (music and picture together)\n"
    "  Left/Right one beat back / forward (to whole beats)\n"
    "  PgUp/PgDn  previous / next scene\n"
    "  Home       back to the start of the scene\n"
    "  L          on-screen line: scene, beat in the scene, show time, fps\n";

AuthorAction authorActionOf(int virtualKey)
{
    for (const AuthorKey& key : authorKeys)
        if (key.virtualKey == virtualKey)
            return key.action;
    return AuthorAction::None;
}

void applyAuthorAction(Demo& demo, AuthorAction action)
{
    switch (action) {
    case AuthorAction::Pause: demo.setPaused(!demo.paused()); break;
    case AuthorAction::BeatBack: stepBeat(demo, -1); break;
    case AuthorAction::BeatForward: stepBeat(demo, 1); break;
    case AuthorAction::PreviousScene: stepScene(demo, -1); break;
    case AuthorAction::NextScene: stepScene(demo, 1); break;
    case AuthorAction::SceneStart: stepScene(demo, 0); break;
    case AuthorAction::ToggleLine:
    case AuthorAction::None: break;
    }
}

} // namespace shell
