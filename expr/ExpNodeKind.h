#pragma once

#include <cstdint>

// What a node of an expression tree is. The parser builds exactly these.
enum class ExpNodeKind : std::uint8_t {
    Number,       // a literal, read once by the parser
    Variable,     // a name without an argument list
    Infix,        // + - * / ^ between a left and a right operand
    Sign,         // a '+' or '-' in front of its operand (the right child)
    Parenthesis,  // '(' around its content (the left child)
    Call,         // a name and its arguments in parentheses
};
