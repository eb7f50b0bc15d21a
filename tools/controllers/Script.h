#pragma once

#include "Actions.h"

#include <functional>
#include <string>
#include <vector>

namespace orvalin::swfgen::script {

// A small expression layer over the assembler, so that the controller's
// logic reads as statements rather than stack traffic. An expression leaves
// exactly one value on the stack.
using Expr = std::function<void(Actions&)>;
using Block = std::function<void(Actions&)>;

Expr text(std::string value);
Expr number(std::int32_t value);
Expr boolean(bool value);
Expr variable(std::string name);
Expr member(Expr object, std::string name);
Expr callMethod(Expr object, std::string method, std::vector<Expr> arguments);
Expr newObject(std::string className);
Expr add(Expr left, Expr right);
Expr subtract(Expr left, Expr right);
Expr equals(Expr left, Expr right);
Expr less(Expr left, Expr right);
Expr both(Expr left, Expr right);
Expr either(Expr left, Expr right);
Expr negate(Expr value);

void setVariable(Actions& actions, std::string name, Expr value);
void setMember(Actions& actions, Expr object, std::string name, Expr value);
// Calls a method for its effect, dropping its result.
void invoke(Actions& actions, Expr object, std::string method, std::vector<Expr> arguments);
void callFunction(Actions& actions, std::string name);
void when(Actions& actions, Expr condition, Block then, Block otherwise = {});
// A named function without parameters, stored where it is defined.
void function(Actions& actions, std::string name, Block body);

} // namespace orvalin::swfgen::script
