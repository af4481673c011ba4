// Reading a script's XML into a ScriptTimeline: effects with their start,
// end, initial assignments and var keys, and the timed events with their
// commands. Times in the file are ticks (256 to the beat) or bar:beat:tick
// positions with four beats to the bar.
//
// Bad content never stops the load: unknown elements and attributes are
// ignored, an effect of an unknown type is skipped with everything inside
// it, and a parse error keeps what was read before it.
#pragma once

#include <cstddef>
#include <cstdint>

class ScriptTimeline;

// Loads the script file at `path` into `timeline`; false when it cannot be opened.
bool readScriptFile(ScriptTimeline& timeline, const char* path);
// Loads a script held in memory; parse errors name it `source`.
void readScriptBytes(ScriptTimeline& timeline, const uint8_t* data, size_t size, const char* source);

// A bar:beat:tick position in beats: 1:1:1 is 0, 2:1:1 is 4, 1:2:129 is 1.5.
// Missing parts count as 1.
float barBeatTickToBeats(const char* text);
