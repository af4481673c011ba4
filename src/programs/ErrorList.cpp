#include "programs/ErrorList.h"

#include <cstdarg>
#include <cstdio>

namespace programs {

namespace {
std::string vformat(const char* format, va_list args)
{
    va_list copy;
    va_copy(copy, args);
    int n = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    if (n <= 0)
        return {};
    std::string text(static_cast<size_t>(n) + 1, '\0');
    std::vsnprintf(text.data(), text.size(), format, args);
    text.resize(static_cast<size_t>(n));
    return text;
}
}

ErrorList::ErrorList() { relink(); }

void ErrorList::clear()
{
    messages_.clear();
    relink();
}

void ErrorList::add(std::string message)
{
    if (messages_.size() >= capacity)
        return;
    messages_.push_back(std::move(message));
    relink();
}

void ErrorList::addf(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    std::string text = vformat(format, args);
    va_end(args);
    add(std::move(text));
}

void ErrorList::addAll(const std::vector<std::string>& messages)
{
    for (const std::string& m : messages)
        add(m);
}

void ErrorList::relink()
{
    pointers_.fill(nullptr);
    for (size_t i = 0; i < messages_.size(); ++i)
        pointers_[i] = messages_[i].c_str();
}

std::string formatMessage(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    std::string text = vformat(format, args);
    va_end(args);
    return text;
}

std::string lineError(int line, const std::string& what)
{
    char buffer[256];
    std::snprintf(buffer, sizeof buffer, "error on line %d: %s", line, what.c_str());
    return buffer;
}

} // namespace programs
