#include "swfwriter/SwfActionWriter.h"

#include <cassert>
#include <cstring>

namespace swfwriter {

namespace {
enum : uint8_t { actionGetURL = 0x83, actionPush = 0x96, actionGetURL2 = 0x9A };

void appendString(std::vector<uint8_t>& out, const std::string& s)
{
    out.insert(out.end(), s.begin(), s.end());
    out.push_back(0);
}
} // namespace

ActionWriter& ActionWriter::getURL(const std::string& url, const std::string& target)
{
    std::vector<uint8_t> payload;
    appendString(payload, url);
    appendString(payload, target);
    return raw(actionGetURL, payload);
}

ActionWriter& ActionWriter::push(const std::vector<PushValue>& values)
{
    std::vector<uint8_t> payload;
    for (const PushValue& value : values) {
        if (const std::string* s = std::get_if<std::string>(&value)) {
            payload.push_back(0);
            appendString(payload, *s);
        } else {
            float f = std::get<float>(value);
            uint32_t bits;
            std::memcpy(&bits, &f, sizeof bits);
            payload.push_back(1);
            for (int i = 0; i < 4; ++i)
                payload.push_back(static_cast<uint8_t>(bits >> (8 * i)));
        }
    }
    return raw(actionPush, payload);
}

ActionWriter& ActionWriter::fscommand(const std::string& command)
{
    push({std::string("fscommand:")});
    push({command});
    return raw(actionGetURL2, {0});
}

ActionWriter& ActionWriter::raw(uint8_t code, const std::vector<uint8_t>& payload)
{
    records_.push_back(code);
    if (code < 0x80) {
        assert(payload.empty() && "actions below 0x80 have no payload");
        return *this;
    }
    assert(payload.size() <= 0xFFFF);
    records_.push_back(static_cast<uint8_t>(payload.size()));
    records_.push_back(static_cast<uint8_t>(payload.size() >> 8));
    records_.insert(records_.end(), payload.begin(), payload.end());
    return *this;
}

std::vector<uint8_t> ActionWriter::bytes() const
{
    std::vector<uint8_t> out = records_;
    out.push_back(0);
    return out;
}

} // namespace swfwriter
