// Functions and laws written by the user. Both keep their expression text
// and evaluate it at every call, binding the parameters as the newest names
// of the variable table. The definition (name, text, parameters) never
// changes once made, so copies of a function value share it.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "interp/VariableTable.h"
#include "values/CLaw.h"
#include "values/Function.h"

namespace tesmora {
class VariableTable;
namespace compiled {
struct CompiledBody;
}

struct Parameter {
  std::string name;
  int type = 2;  // the declared type code: scalar, matrix, supermatrix, ...
};

struct Definition {
  Definition(std::string name, std::string body, std::vector<Parameter> parameters);
  std::string name;  // the name it was defined under
  std::string body;
  std::vector<Parameter> parameters;
  // Every parameter is declared a number.
  bool takesNumbers = true;
  // The body read once, made at the first call; null when the body is one
  // the compiled form leaves to the text path.
  const compiled::CompiledBody* compiledBody() const {
    return compileTried_ ? compiled_.get() : compileFirst();
  }
  // The index slots of the parameters' names in `table`, found once per
  // table.
  int* const* parameterSlots(VariableTable& table) const {
    return slotsTable_ == table.id() ? slots_.data() : findSlots(table);
  }

 private:
  const compiled::CompiledBody* compileFirst() const;
  int* const* findSlots(VariableTable& table) const;
  mutable std::vector<int*> slots_;
  mutable std::uint64_t slotsTable_ = 0;
  mutable std::shared_ptr<const compiled::CompiledBody> compiled_;
  mutable bool compileTried_ = false;
};
using SharedDefinition = std::shared_ptr<const Definition>;

class CSFuncU final : public CSFunc {
 public:
  explicit CSFuncU(SharedDefinition definition)
      : definition_(std::move(definition)) {}

  ValuePtr copy() const override { return std::make_unique<CSFuncU>(definition_); }
  // Function values are copied and dropped at every pass of iff and the
  // like: freed blocks are kept for reuse.
  static void* operator new(std::size_t size);
  static void operator delete(void* block, std::size_t size);
  int argCount() const override {
    return static_cast<int>(definition_->parameters.size());
  }
  int argType(int index) const override {
    return definition_->parameters[index].type;
  }
  double invoke(int count, Args args) override;
  double eval1(double x) override;
  double eval2(double x, double y) override;
  CSFuncU* asUserFunction() override { return this; }

  // The call the compiled form makes when the arguments are numbers, one
  // for each parameter, and every parameter is declared a number: what
  // the generic call does then, without boxing the numbers. `asCopy`
  // titles the call as a copy of this value would be (see evaluateBody):
  // iff hands its choice over uncopied.
  bool takesNumbers(int count) const {
    return definition_->takesNumbers &&
           count == static_cast<int>(definition_->parameters.size());
  }
  double invokeOnNumbers(const double* numbers, bool asCopy);
  const Definition& definition() const { return *definition_; }

 private:
  SharedDefinition definition_;
};

class CLawUser final : public CLaw {
 public:
  explicit CLawUser(SharedDefinition definition)
      : definition_(std::move(definition)) {}
  ValuePtr copy() const override { return std::make_unique<CLawUser>(definition_); }
  double draw() const override;

 private:
  SharedDefinition definition_;
};

// What a function's body must give.
inline constexpr const char* kNotANumberMessage = "Значение функции должно быть скаляром";

// The name a call of `callee` is titled with (see evaluateBody).
inline const char* callTitle(const Definition& definition, const MatObject& callee) {
  return callee.variableName && !callee.isOrphan() ? callee.variableName
                                                   : definition.name.c_str();
}

// Evaluates a stored expression text as the body of a call of `callee`
// and returns its value, which must be a number (else `notANumber`). The
// call is named after the variable holding the value, or, for a value no
// variable holds (one chosen by iff), after the name it was defined under.
double evaluateBody(const Definition& definition, const MatObject& callee,
                    const char* notANumber);

}  // namespace tesmora
