// Fixed limits of the interpreter. Each bounds one structure and raises
// its own message when exceeded; both sides are tested.
#pragma once

namespace tesmora {

// Values on the value stack ("переполнение стека").
inline constexpr int kValueStackSize = 8000;
// Names in the variable table, builtins included ("слишком много переменных").
inline constexpr int kVariableTableSize = 1000;
// Open brackets during the pre-check ("слишком большая глубина скобок").
inline constexpr int kMaxBracketDepth = 1000;
// Bytes of each token buffer, NUL included: a string constant holds at most
// 198 characters ("Слишком большая строковая константа").
inline constexpr int kTokenBufferSize = 200;
// Bytes of a function or law body, NUL included.
inline constexpr int kDefinitionBufferSize = 2000;
// Parameters of a user function ("Слишком много аргументов в определении функции").
inline constexpr int kMaxParameters = 10;
// Items of one matrix literal ("Слишком много матричных элементов").
inline constexpr int kMaxLiteralItems = 1000;
// Elements of a matrix unless setmaxdim says otherwise, and setmaxdim's cap.
inline constexpr int kDefaultMaxElements = 100000;
inline constexpr int kMaxElementsCap = 10000000;
// Bytes of display text, NUL included ("слишком большой объем печати").
inline constexpr int kDisplayBufferSize = 8000;
// Nested calls of functions and laws that bind no names. Calls with
// parameters stop at the variable table first; this bound catches endless
// recursion that binds nothing, before the native stack runs out.
inline constexpr int kMaxCallDepth = 2000;
// Seconds a run may take before the long-run question.
inline constexpr double kDefaultTimeLimit = 10.0;

}  // namespace tesmora
