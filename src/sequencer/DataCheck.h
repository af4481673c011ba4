// Checks a data file with the reader of its kind before a scene is built
// again on it (author mode): a file that an editor left half written, or
// that no longer reads, must not replace a scene that works.
//
// Kinds by name: ".cfg" settings (every line a comment or "key = value"),
// ".xml", ".xsl" and ".script" (well-formed XML, as Expat reads it), ".swf"
// (the SWF reader takes it whole), ".3ds" (lib3ds reads it), ".jpg" and
// ".png" (they decode), ".vp", ".vpc" and ".rcp" program texts (the
// compiler of their language accepts them). Any other file only has to be
// readable.
#pragma once

#include <string>

// True when the file at `path` reads; otherwise false with the reader's
// message (without the path) in `message`.
bool checkDataFile(const std::string& path, std::string& message);
