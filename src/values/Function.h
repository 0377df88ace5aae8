// Callable values: the two families with descriptors (scalar functions,
// CSFunc, returning a number; object functions, COFunction, returning any
// value) and the plain Function base of the strictly checked builtins.
//
// A function's name, printed by argument errors, is the name of the
// variable holding it: the registry's entry for a builtin, the user's
// variable for a copy. A temporary function has no name.
#pragma once

#include "values/MatObject.h"

namespace tesmora {

class CSFuncU;

// The shared descriptor of the two families: how many arguments of which
// type codes a function takes (kNotSuperType = anything but a super-matrix).
class Described {
 public:
  virtual ~Described() = default;
  virtual int argCount() const = 0;  // fixed count, or -1 when it varies
  virtual int maxArgs() const { return argCount(); }
  virtual int minArgs() const { return argCount(); }
  virtual int argType(int index) const = 0;

  // The name argument errors print when the function is not held by a
  // variable: set only for the static operator objects.
  const char* fixedName = nullptr;
};

// Scalar functions: builtins of the SF_ classes, user functions, and
// numeric matrices (a function of their indices).
// Cheap numeric elements are many: substitution looks for a Stop every
// so many elements.
inline constexpr int kElementsPerPoll = 256;

class CSFunc : public MatObject, public Described {
 public:
  explicit CSFunc(int typeCode = kSFuncType) : MatObject(typeCode) {}

  // Checks and converts the arguments, substituting matrices,
  // super-matrices and discrete laws element by element.
  ValuePtr call(int count, Args args) override;

  // Runs the routine on arguments that match the descriptor exactly.
  virtual double invoke(int count, Args args) = 0;
  // Fast paths for numeric algorithms that take a function argument.
  virtual double eval1(double x);
  virtual double eval2(double x, double y);
  // A function the user wrote (builtins/UserFunction.h), which the
  // compiled form may call without boxing its arguments; else null.
  virtual CSFuncU* asUserFunction() { return nullptr; }
};

// The Function family (type code 6).
class Function : public MatObject {
 public:
  explicit Function(int typeCode = kFunctionType) : MatObject(typeCode) {}
};

// Object functions with descriptors: the FunctionO_ classes with generic
// calls, and super-matrices (indexed through the same protocol).
class COFunction : public Function, public Described {
 public:
  explicit COFunction(int typeCode = kFunctionType) : Function(typeCode) {}
  ValuePtr call(int count, Args args) override;
  virtual ValuePtr invoke(int count, Args args) = 0;
};

// The method-call flag: 1 while x.name(...) is being called, so argument
// errors count the receiver as argument 0. Set at every call: inline.
inline int gMethodCallFlag = 0;
inline int& methodCallFlag() { return gMethodCallFlag; }

[[noreturn]] void throwArgTypeError(const MatObject& function, int index,
                                    int count, bool ofElement);

}  // namespace tesmora
