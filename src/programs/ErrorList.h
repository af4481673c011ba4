// The program-text compiler's error list: at most 32 messages, owned by the
// list, read as a null-terminated array of C strings. Messages beyond the
// 32nd are dropped without a word.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <vector>

namespace programs {

class ErrorList {
public:
    static constexpr size_t capacity = 32;

    ErrorList();
    ErrorList(const ErrorList&) = delete;
    ErrorList& operator=(const ErrorList&) = delete;

    void clear();
    void add(std::string message);
    // printf-style; the text is not cut short.
    void addf(const char* format, ...) __attribute__((format(printf, 2, 3)));
    void addAll(const std::vector<std::string>& messages);

    size_t size() const { return messages_.size(); }
    const std::string& operator[](size_t i) const { return messages_[i]; }
    // The messages followed by a null entry; valid until the list changes.
    const char* const* entries() const { return pointers_.data(); }

private:
    void relink();

    std::vector<std::string> messages_;
    std::array<const char*, capacity + 1> pointers_{};
};

// printf into a std::string of any length.
std::string formatMessage(const char* format, ...) __attribute__((format(printf, 1, 2)));

// "error on line %d: %s", formatted into 256 characters as the compilers
// record their parse errors.
std::string lineError(int line, const std::string& what);

} // namespace programs
