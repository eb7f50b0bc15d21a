#include "Script.h"

namespace orvalin::swfgen::script {
namespace {

Expr binary(Expr left, Expr right, Op code)
{
    return [=](Actions& a) {
        left(a);
        right(a);
        a.op(code);
    };
}

void pushArguments(Actions& a, const std::vector<Expr>& arguments)
{
    // Arguments go on the stack last first, then their count.
    for (auto argument = arguments.rbegin(); argument != arguments.rend(); ++argument)
        (*argument)(a);
    a.push({static_cast<std::int32_t>(arguments.size())});
}

} // namespace

Expr text(std::string value)
{
    return [=](Actions& a) { a.push({value}); };
}

Expr number(std::int32_t value)
{
    return [=](Actions& a) { a.push({value}); };
}

Expr boolean(bool value)
{
    return [=](Actions& a) { a.push({PushValue::boolean(value)}); };
}

Expr variable(std::string name)
{
    return [=](Actions& a) { a.push({name}).op(Op::GetVariable); };
}

Expr member(Expr object, std::string name)
{
    return [=](Actions& a) {
        object(a);
        a.push({name}).op(Op::GetMember);
    };
}

Expr callMethod(Expr object, std::string method, std::vector<Expr> arguments)
{
    return [=](Actions& a) {
        pushArguments(a, arguments);
        object(a);
        a.push({method}).op(Op::CallMethod);
    };
}

Expr newObject(std::string className)
{
    return [=](Actions& a) { a.push({0, className}).op(Op::NewObject); };
}

Expr add(Expr left, Expr right) { return binary(left, right, Op::Add2); }
Expr subtract(Expr left, Expr right) { return binary(left, right, Op::Subtract); }
Expr equals(Expr left, Expr right) { return binary(left, right, Op::Equals2); }
Expr less(Expr left, Expr right) { return binary(left, right, Op::Less2); }
Expr both(Expr left, Expr right) { return binary(left, right, Op::And); }
Expr either(Expr left, Expr right) { return binary(left, right, Op::Or); }

Expr negate(Expr value)
{
    return [=](Actions& a) {
        value(a);
        a.op(Op::Not);
    };
}

void setVariable(Actions& actions, std::string name, Expr value)
{
    actions.push({name});
    value(actions);
    actions.op(Op::SetVariable);
}

void setMember(Actions& actions, Expr object, std::string name, Expr value)
{
    object(actions);
    actions.push({name});
    value(actions);
    actions.op(Op::SetMember);
}

void invoke(Actions& actions, Expr object, std::string method, std::vector<Expr> arguments)
{
    callMethod(object, method, arguments)(actions);
    actions.op(Op::Pop);
}

void callFunction(Actions& actions, std::string name)
{
    actions.push({0, name}).op(Op::CallFunction).op(Op::Pop);
}

void when(Actions& actions, Expr condition, Block then, Block otherwise)
{
    const auto skip = actions.newLabel();
    const auto end = actions.newLabel();
    negate(condition)(actions);
    actions.branchIfTrue(skip);
    then(actions);
    if (otherwise)
        actions.jump(end);
    actions.bind(skip);
    if (otherwise)
        otherwise(actions);
    actions.bind(end);
}

void function(Actions& actions, std::string name, Block body)
{
    Actions code;
    body(code);
    actions.defineFunction(name, {}, code);
}

} // namespace orvalin::swfgen::script
