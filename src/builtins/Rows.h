// Helpers that turn one builtin into one table row.
#pragma once

#include "builtins/FunctionClasses.h"
#include "builtins/Registry.h"

namespace tesmora {

// A builtin of class Class around Routine.
template <class Class, auto Routine>
constexpr BuiltinRow row(const char* name, int category = 0) {
  return {name, category, kClassName<Class>, &makeBuiltin<Class, Routine>};
}

// A builtin of class Class around Routine, which has no side effects: the
// elements of a long matrix argument are computed on several threads.
template <class Class, auto Routine>
constexpr BuiltinRow pureRow(const char* name, int category = 0) {
  return {name, category, kClassName<Class>, &makeSharedOutBuiltin<Class, Routine>};
}

// A builtin whose last argument may be left out: two routines.
template <class Class, auto Short, auto Long>
constexpr BuiltinRow row2(const char* name, int category = 0) {
  return {name, category, kClassName<Class>, &makeBuiltin2<Class, Short, Long>};
}

// A constant value.
template <auto Make>
constexpr BuiltinRow constant(const char* name, const char* className) {
  return {name, 0, className, Make};
}

}  // namespace tesmora
