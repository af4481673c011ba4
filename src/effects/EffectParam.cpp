#include "effects/EffectParam.h"

#include <cctype>
#include <cstdlib>
#include <cstring>

int EffectParam::set(const char* text) const
{
    if (type != storage)
        return 1;
    switch (type) {
    case paramInt:
        *static_cast<int*>(target) = std::atoi(text);
        return 0;
    case paramFloat:
        *static_cast<float*>(target) = static_cast<float>(std::atof(text));
        return 0;
    case paramArray3:
        return parseNumberList(text, static_cast<float*>(target), 3) ? 0 : 1;
    case paramArray4:
        return parseNumberList(text, static_cast<float*>(target), 4) ? 0 : 1;
    case paramString:
        *static_cast<std::string*>(target) = text;
        return 0;
    default:
        return 1;
    }
}

int paramTypeFromKeyword(const char* keyword)
{
    static const char* const keywords[] = {"int", "float", "array3", "array4", "string"};
    for (int type = paramInt; type <= paramString; ++type)
        if (std::strcmp(keyword, keywords[type]) == 0)
            return type;
    return paramNone;
}

bool parseNumberList(const char* text, float* target, int count)
{
    // Each parse gathers its own token: nothing carries over from a previous list.
    std::string token;
    int stored = 0;
    for (const char* c = text; *c != '\0' && *c != ';'; ++c) {
        if (std::isspace(static_cast<unsigned char>(*c)))
            continue;
        if (*c != ',') {
            token += *c;
            continue;
        }
        target[stored++] = static_cast<float>(std::atof(token.c_str()));
        token.clear();
        if (stored == count)
            return true;
    }
    target[stored++] = static_cast<float>(std::atof(token.c_str()));
    return stored == count;
}
