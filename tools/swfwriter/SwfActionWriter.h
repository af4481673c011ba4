// Builds the body of a DoAction tag: GetURL, Push and raw action records.
// The player turns a GetURL's target into a text command, and a block that
// pushes "fscommand:" into a command made of the block's last pushed string.
#pragma once

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace swfwriter {

class ActionWriter {
public:
    using PushValue = std::variant<std::string, float>;

    // A GetURL record; the player keeps only `target`.
    ActionWriter& getURL(const std::string& url, const std::string& target);
    // One Push record holding all `values` in order (the player looks only
    // at the first).
    ActionWriter& push(const std::vector<PushValue>& values);
    // The usual fscommand sequence: Push "fscommand:", Push `command`,
    // GetURL2.
    ActionWriter& fscommand(const std::string& command);
    // Any record: codes from 0x80 carry a length and `payload`.
    ActionWriter& raw(uint8_t code, const std::vector<uint8_t>& payload = {});

    // The records followed by the end action.
    std::vector<uint8_t> bytes() const;

private:
    std::vector<uint8_t> records_;
};

} // namespace swfwriter
