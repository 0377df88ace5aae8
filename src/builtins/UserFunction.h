// Functions and laws written by the user. Both keep a copy of their
// expression text and evaluate it anew at every call, binding the
// parameters as the newest names of the variable table.
#pragma once

#include <string>
#include <vector>

#include "values/CLaw.h"
#include "values/Function.h"

namespace tesmora {

struct Parameter {
  std::string name;
  int type = 2;  // the declared type code: scalar, matrix, supermatrix, ...
};

class CSFuncU final : public CSFunc {
 public:
  CSFuncU(std::string body, std::vector<Parameter> parameters)
      : body_(std::move(body)), parameters_(std::move(parameters)) {}

  ValuePtr copy() const override {
    return std::make_unique<CSFuncU>(body_, parameters_);
  }
  int argCount() const override { return static_cast<int>(parameters_.size()); }
  int argType(int index) const override { return parameters_[index].type; }
  double invoke(int count, Args args) override;
  double eval1(double x) override;
  double eval2(double x, double y) override;

 private:
  std::string body_;
  std::vector<Parameter> parameters_;
};

class CLawUser final : public CLaw {
 public:
  explicit CLawUser(std::string body) : body_(std::move(body)) {}
  ValuePtr copy() const override { return std::make_unique<CLawUser>(body_); }
  double draw() const override;

 private:
  std::string body_;
};

// Evaluates a stored expression text as the body of a call named `name`
// and returns its value, which must be a number (else `notANumber`).
double evaluateBody(const std::string& body, const char* name,
                    const char* notANumber);

}  // namespace tesmora
