// The directory table the pack commands read a pack through: the one compiled
// into the program, or a table source named with --table FILE.
#pragma once

#include "glint-tool/ToolCommand.h"
#include "pack/PackTable.h"

namespace tool {

struct PackTableChoice {
    Args positional;       // the arguments other than --table FILE
    PackTable fromFile;    // rows read from FILE
    PackDirectory directory;
};

// Splits off --table FILE and loads the table. False, with a message on
// standard error, when the option lacks its file or the file is unusable.
bool choosePackTable(const Args& args, PackTableChoice& choice);

} // namespace tool
