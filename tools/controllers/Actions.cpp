#include "Actions.h"

#include <limits>
#include <stdexcept>

namespace orvalin::swfgen {
namespace {

constexpr std::uint8_t kPush = 0x96;
constexpr std::uint8_t kJump = 0x99;
constexpr std::uint8_t kDefineFunction = 0x9B;
constexpr std::uint8_t kIf = 0x9D;

void appendUi16(std::vector<std::uint8_t>& out, std::size_t value)
{
    if (value > 0xFFFF)
        throw std::logic_error("action record too long");
    out.push_back(static_cast<std::uint8_t>(value));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void appendString(std::vector<std::uint8_t>& out, std::string_view text)
{
    out.insert(out.end(), text.begin(), text.end());
    out.push_back(0);
}

} // namespace

PushValue PushValue::boolean(bool value)
{
    return PushValue(Kind::Boolean, value ? 1 : 0);
}

void PushValue::encode(std::vector<std::uint8_t>& out) const
{
    switch (kind_) {
    case Kind::String:
        out.push_back(0);
        appendString(out, text_);
        break;
    case Kind::Integer: {
        out.push_back(7);
        const auto bits = static_cast<std::uint32_t>(number_);
        for (int shift = 0; shift < 32; shift += 8)
            out.push_back(static_cast<std::uint8_t>(bits >> shift));
        break;
    }
    case Kind::Boolean:
        out.push_back(5);
        out.push_back(static_cast<std::uint8_t>(number_));
        break;
    }
}

Actions& Actions::op(Op code)
{
    code_.push_back(static_cast<std::uint8_t>(code));
    return *this;
}

Actions& Actions::push(std::initializer_list<PushValue> values)
{
    std::vector<std::uint8_t> payload;
    for (const auto& value : values)
        value.encode(payload);
    record(kPush, payload);
    return *this;
}

Actions::Label Actions::newLabel()
{
    labels_.push_back(-1);
    return Label{static_cast<int>(labels_.size() - 1)};
}

Actions& Actions::bind(Label label)
{
    labels_.at(static_cast<std::size_t>(label.id)) = static_cast<std::int64_t>(code_.size());
    return *this;
}

Actions& Actions::jump(Label label)
{
    branch(kJump, label);
    return *this;
}

Actions& Actions::branchIfTrue(Label label)
{
    branch(kIf, label);
    return *this;
}

Actions& Actions::defineFunction(std::string_view name, const std::vector<std::string>& parameters,
                                 const Actions& body)
{
    const auto bodyBytes = body.bytes();
    std::vector<std::uint8_t> payload;
    appendString(payload, name);
    appendUi16(payload, parameters.size());
    for (const auto& parameter : parameters)
        appendString(payload, parameter);
    appendUi16(payload, bodyBytes.size());
    record(kDefineFunction, payload);
    code_.insert(code_.end(), bodyBytes.begin(), bodyBytes.end());
    return *this;
}

std::vector<std::uint8_t> Actions::bytes() const
{
    auto out = code_;
    for (const auto& fixup : fixups_) {
        const auto target = labels_.at(static_cast<std::size_t>(fixup.label));
        if (target < 0)
            throw std::logic_error("jump to a label that was never bound");
        // Offsets count from the end of the branch record.
        const auto offset = target - static_cast<std::int64_t>(fixup.offsetField + 2);
        if (offset < std::numeric_limits<std::int16_t>::min() ||
            offset > std::numeric_limits<std::int16_t>::max())
            throw std::logic_error("jump too far");
        const auto bits = static_cast<std::uint16_t>(static_cast<std::int16_t>(offset));
        out[fixup.offsetField] = static_cast<std::uint8_t>(bits);
        out[fixup.offsetField + 1] = static_cast<std::uint8_t>(bits >> 8);
    }
    return out;
}

void Actions::record(std::uint8_t code, const std::vector<std::uint8_t>& payload)
{
    code_.push_back(code);
    appendUi16(code_, payload.size());
    code_.insert(code_.end(), payload.begin(), payload.end());
}

void Actions::branch(std::uint8_t code, Label label)
{
    record(code, {0, 0});
    fixups_.push_back({code_.size() - 2, label.id});
}

} // namespace orvalin::swfgen
