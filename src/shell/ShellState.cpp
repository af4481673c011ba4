#include "shell/ShellState.h"

namespace shell {

ShellState& shellState()
{
    static ShellState state;
    return state;
}

} // namespace shell
