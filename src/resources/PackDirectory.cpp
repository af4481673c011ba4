#include "resources/PackDirectory.h"

const PackEntry* PackDirectory::find(const char* name) const
{
    if (!name)
        return nullptr;
    auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; };
    for (int i = 0; i < count; ++i) {
        const char* a = entries[i].name;
        const char* b = name;
        while (*a && lower(*a) == lower(*b)) {
            ++a;
            ++b;
        }
        if (*a == '\0' && *b == '\0')
            return &entries[i];
    }
    return nullptr;
}
