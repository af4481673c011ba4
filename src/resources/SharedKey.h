// SharedKey: the name of a shared object of the registry together with the
// type of what is registered under it. Keys are declared once, as constants
// (see effects/SharedKeys.h), so a misspelt name or a wrong type is a compile
// error at the fetching site instead of a null or a bad cast at run time.
#pragma once

template <class T>
struct SharedKey {
    const char* name;
};
