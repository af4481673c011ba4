// glint: the program's Linux entry. Takes out the program's own "--" options,
// then hands the show's switches to the show's entry.
#include "shell/ProgramOptions.h"
#include "shell/ShowMain.h"

#include <cstdio>

int main(int argc, char** argv)
{
    shell::ProgramOptions options;
    shell::OptionsOutcome outcome = shell::parseProgramOptions(argc, argv, options, stdout, stderr);
    if (!outcome.run)
        return outcome.exitStatus;
    return shell::showMain(options);
}
