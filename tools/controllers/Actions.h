#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace orvalin::swfgen {

// The ActionScript 1/2 byte codes the controllers use.
enum class Op : std::uint8_t {
    Play = 0x06,
    Stop = 0x07,
    Subtract = 0x0B,
    And = 0x10,
    Or = 0x11,
    Not = 0x12,
    Pop = 0x17,
    GetVariable = 0x1C,
    SetVariable = 0x1D,
    CallFunction = 0x3D,
    NewObject = 0x40,
    Add2 = 0x47,
    Less2 = 0x48,
    Equals2 = 0x49,
    GetMember = 0x4E,
    SetMember = 0x4F,
    CallMethod = 0x52,
};

// A value for ActionPush: a string, a 32-bit integer or a boolean.
class PushValue {
public:
    PushValue(const char* text) : kind_(Kind::String), text_(text) {}
    PushValue(std::string text) : kind_(Kind::String), text_(std::move(text)) {}
    PushValue(std::int32_t number) : kind_(Kind::Integer), number_(number) {}
    PushValue(bool) = delete; // use boolean(): a stray bool is more likely a mistake
    static PushValue boolean(bool value);

    void encode(std::vector<std::uint8_t>& out) const;

private:
    enum class Kind { String, Integer, Boolean };
    PushValue(Kind kind, std::int32_t number) : kind_(kind), number_(number) {}

    Kind kind_;
    std::string text_;
    std::int32_t number_ = 0;
};

// Assembles action records; jumps and branches go to labels, resolved when
// the bytes are taken.
class Actions {
public:
    struct Label {
        int id = -1;
    };

    Actions& op(Op code);
    Actions& push(std::initializer_list<PushValue> values);

    Label newLabel();
    Actions& bind(Label label);
    Actions& jump(Label label);
    // Pops a value and jumps when it is true.
    Actions& branchIfTrue(Label label);

    // A function of the given parameters; with an empty name the function
    // object is pushed, otherwise it is stored under that name.
    Actions& defineFunction(std::string_view name, const std::vector<std::string>& parameters,
                            const Actions& body);

    // The records without an end flag; throws std::logic_error for a label
    // that was never bound or a jump too far.
    std::vector<std::uint8_t> bytes() const;

private:
    void record(std::uint8_t code, const std::vector<std::uint8_t>& payload);
    void branch(std::uint8_t code, Label label);

    struct Fixup {
        std::size_t offsetField = 0;
        int label = -1;
    };
    std::vector<std::uint8_t> code_;
    std::vector<std::int64_t> labels_; // byte position, -1 until bound
    std::vector<Fixup> fixups_;
};

} // namespace orvalin::swfgen
