// The classes of builtin functions, named by their signature: SF_ plus
// letters for functions returning a number, FunctionO_ plus letters for
// functions returning any value. The letters list the arguments:
//   D number, M matrix, Str string, L law, F scalar function,
//   Sup super-matrix, N any value but a super-matrix, O any value.
// A builtin is one object of its class around one routine taking the
// converted arguments; the class does the checking:
//   * SF_ classes (scalar functions) and the FunctionO_ classes derived from
//     COFunction check through the generic call, which also applies them
//     element by element to matrices, tables and (SF_) discrete laws;
//   * the other FunctionO_ classes check strictly, with no substitution;
//   * COFunc and Subroutine routines get the raw arguments and check them
//     themselves.
#pragma once

#include <string>
#include <tuple>
#include <type_traits>
#include <utility>

#include "interp/Cancellation.h"
#include "interp/Errors.h"
#include "values/CLaw.h"
#include "values/Function.h"
#include "values/Matrix.h"
#include "values/ParallelLoop.h"
#include "values/Scalar.h"
#include "values/SuperMatrix.h"

namespace tesmora {

// Arguments of the kinds N (anything but a super-matrix) and O (anything).
struct NValue {
  MatObject& value;
};
struct OValue {
  MatObject& value;
};

// How each routine parameter type is checked and converted.
template <class T>
struct ArgKind;
template <>
struct ArgKind<double> {
  static constexpr int code = kScalarType;
  static double get(MatObject& v) { return numberOf(v); }
};
template <>
struct ArgKind<const Matrix&> {
  static constexpr int code = kMatrixType;
  static const Matrix& get(MatObject& v) { return asMatrix(v); }
};
template <>
struct ArgKind<const std::string&> {
  static constexpr int code = kStringType;
  static const std::string& get(MatObject& v) { return static_cast<String&>(v).text; }
};
template <>
struct ArgKind<const CLaw&> {
  static constexpr int code = kLawType;
  static const CLaw& get(MatObject& v) { return static_cast<CLaw&>(v); }
};
template <>
struct ArgKind<CSFunc&> {
  static constexpr int code = kSFuncType;
  static CSFunc& get(MatObject& v) { return dynamic_cast<CSFunc&>(v); }
};
template <>
struct ArgKind<const CSuperMatrix&> {
  static constexpr int code = kSuperType;
  static const CSuperMatrix& get(MatObject& v) { return asSuper(v); }
};
template <>
struct ArgKind<NValue> {
  static constexpr int code = kNotSuperType;
  static NValue get(MatObject& v) { return {v}; }
};
// O accepts anything; its code is only used by the strict check.
inline constexpr int kAnyValue = 0;
template <>
struct ArgKind<OValue> {
  static constexpr int code = kAnyValue;
  static OValue get(MatObject& v) { return {v}; }
};

template <class... A>
inline constexpr int kArgCodes[] = {ArgKind<A>::code..., -1};

// SF_ classes: a routine of fixed arguments returning a number.
template <class... A>
class SFn final : public CSFunc {
 public:
  using Routine = double (*)(A...);
  explicit SFn(Routine routine) : routine_(routine) {}
  ValuePtr copy() const override {
    auto twin = std::make_unique<SFn>(routine_);
    twin->sharesOutElements_ = sharesOutElements_;
    return twin;
  }
  int argCount() const override { return sizeof...(A); }
  int argType(int index) const override { return kArgCodes<A...>[index]; }
  double invoke(int, Args args) override {
    return apply(args, std::index_sequence_for<A...>{});
  }
  // A routine of one number given a numeric matrix, or of a law and a
  // number given a law and a numeric matrix, runs straight on the
  // elements: what the generic substitution does, without boxing each
  // element into a number and calling back through invoke.
  ValuePtr call(int count, Args args) override {
    if constexpr (kOneNumber) {
      if (count == 1 && args[0]->typeCode == kMatrixType) {
        return mapElements(asMatrix(*args[0]), sharesOutElements_,
                           [this](double x) { return routine_(x); });
      }
    }
    if constexpr (kLawAndNumber) {
      if (count == 2 && args[0]->typeCode == kLawType && args[1]->typeCode == kMatrixType) {
        const CLaw& law = static_cast<const CLaw&>(*args[0]);
        return mapElements(asMatrix(*args[1]),
                           sharesOutElements_ && law.methodsSafeFromThreads(),
                           [this, &law](double x) { return routine_(law, x); });
      }
    }
    return CSFunc::call(count, args);
  }
  double eval1(double x) override {
    if constexpr (kOneNumber) return routine_(x);
    else return CSFunc::eval1(x);
  }
  double eval2(double x, double y) override {
    if constexpr (std::is_same_v<Routine, double (*)(double, double)>) return routine_(x, y);
    else return CSFunc::eval2(x, y);
  }

  // For routines without side effects: the elements of a long matrix are
  // shared out between threads (values/ParallelLoop.h).
  void shareOutElements() { sharesOutElements_ = true; }

 private:
  static constexpr bool kOneNumber = std::is_same_v<Routine, double (*)(double)>;
  static constexpr bool kLawAndNumber = std::is_same_v<Routine, double (*)(const CLaw&, double)>;

  template <std::size_t... I>
  double apply(Args args, std::index_sequence<I...>) {
    return routine_(ArgKind<A>::get(*args[I])...);
  }
  template <class Each>
  static ValuePtr mapElements(const Matrix& source, bool shared, Each each) {
    auto result = Matrix::createForOverwrite(source.rows(), source.cols());
    const double* from = source.data();
    double* to = result->data();
    const int count = source.count();
    if (shared) {
      forEachBlock(count, [&](int begin, int end) {
        for (int k = begin; k < end; ++k) to[k] = each(from[k]);
      });
      return result;
    }
    for (int k = 0; k < count; ++k) {
      if (k % kElementsPerPoll == 0) pollStop();
      to[k] = each(from[k]);
    }
    return result;
  }
  Routine routine_;
  bool sharesOutElements_ = false;
};

// The short routine of a class whose last argument may be left out.
template <class... A>
struct ShortRoutine;
template <class A0, class A1>
struct ShortRoutine<A0, A1> {
  using type = double (*)(A0);
};
template <class A0, class A1, class A2>
struct ShortRoutine<A0, A1, A2> {
  using type = double (*)(A0, A1);
};

// SF_N_D, SF_MD_D: the last number may be left out; a short routine
// serves the call without it and a long routine the call with it.
template <class... A>
class SFnOptional final : public CSFunc {
 public:
  using Long = double (*)(A...);
  using Short = typename ShortRoutine<A...>::type;
  SFnOptional(Short shortRoutine, Long longRoutine)
      : short_(shortRoutine), long_(longRoutine) {}
  ValuePtr copy() const override { return std::make_unique<SFnOptional>(short_, long_); }
  int argCount() const override { return -1; }
  int maxArgs() const override { return sizeof...(A); }
  int minArgs() const override { return sizeof...(A) - 1; }
  int argType(int index) const override { return kArgCodes<A...>[index]; }
  double invoke(int count, Args args) override {
    if (count == static_cast<int>(sizeof...(A))) {
      return applyLong(args, std::index_sequence_for<A...>{});
    }
    return applyShort(args, std::make_index_sequence<sizeof...(A) - 1>{});
  }

 private:
  template <std::size_t... I>
  double applyLong(Args args, std::index_sequence<I...>) {
    return long_(ArgKind<A>::get(*args[I])...);
  }
  template <std::size_t... I>
  double applyShort(Args args, std::index_sequence<I...>) {
    return short_(ArgKind<std::tuple_element_t<I, std::tuple<A...>>>::get(*args[I])...);
  }
  Short short_;
  Long long_;
};

// SF_DD0: two numbers, the second 0 when left out.
class SFnDefaultZero final : public CSFunc {
 public:
  using Routine = double (*)(double, double);
  explicit SFnDefaultZero(Routine routine) : routine_(routine) {}
  ValuePtr copy() const override { return std::make_unique<SFnDefaultZero>(routine_); }
  int argCount() const override { return -1; }
  int maxArgs() const override { return 2; }
  int minArgs() const override { return 1; }
  int argType(int) const override { return kScalarType; }
  double invoke(int count, Args args) override {
    return routine_(numberOf(*args[0]), count == 2 ? numberOf(*args[1]) : 0);
  }
  double eval1(double x) override { return routine_(x, 0); }
  double eval2(double x, double y) override { return routine_(x, y); }

 private:
  Routine routine_;
};

// FunctionO_ classes with descriptors: generic calls, results of any kind.
template <class... A>
class OFn final : public COFunction {
 public:
  using Routine = ValuePtr (*)(A...);
  explicit OFn(Routine routine) : routine_(routine) {}
  ValuePtr copy() const override { return std::make_unique<OFn>(routine_); }
  int argCount() const override { return sizeof...(A); }
  int argType(int index) const override { return kArgCodes<A...>[index]; }
  ValuePtr invoke(int, Args args) override {
    return apply(args, std::index_sequence_for<A...>{});
  }

 private:
  template <std::size_t... I>
  ValuePtr apply(Args args, std::index_sequence<I...>) {
    return routine_(ArgKind<A>::get(*args[I])...);
  }
  Routine routine_;
};

// FunctionO_Str_D: a string and an optional number.
class OFnStrOptional final : public COFunction {
 public:
  using Short = ValuePtr (*)(const std::string&);
  using Long = ValuePtr (*)(const std::string&, double);
  OFnStrOptional(Short shortRoutine, Long longRoutine)
      : short_(shortRoutine), long_(longRoutine) {}
  ValuePtr copy() const override { return std::make_unique<OFnStrOptional>(short_, long_); }
  int argCount() const override { return -1; }
  int maxArgs() const override { return 2; }
  int minArgs() const override { return 1; }
  int argType(int index) const override { return index == 0 ? kStringType : kScalarType; }
  ValuePtr invoke(int count, Args args) override {
    const auto& text = static_cast<String&>(*args[0]).text;
    return count == 1 ? short_(text) : long_(text, numberOf(*args[1]));
  }

 private:
  Short short_;
  Long long_;
};

// Strictly checked FunctionO_ classes: the count must be exact and every
// argument of its kind, else "несоответствие типа аргумента" — or, for the
// law methods (TypedErrors), an argument-type error naming the argument.
template <bool TypedErrors, class... A>
class StrictFn final : public Function {
 public:
  using Routine = ValuePtr (*)(A...);
  explicit StrictFn(Routine routine) : routine_(routine) {}
  ValuePtr copy() const override { return std::make_unique<StrictFn>(routine_); }
  ValuePtr call(int count, Args args) override {
    constexpr int expected = sizeof...(A);
    if (count < expected) raise("слишком мало аргументов");
    if (count > expected) raise("слишком много аргументов");
    for (int i = 0; i < expected; ++i) {
      const int code = kArgCodes<A...>[i];
      const int actual = args[i]->typeCode;
      const bool ok = code == kAnyValue || actual == code ||
                      (code == kNotSuperType && actual != kSuperType);
      if (ok) continue;
      if constexpr (TypedErrors) throwArgTypeError(*this, i, count, false);
      else raise("несоответствие типа аргумента");
    }
    return apply(args, std::index_sequence_for<A...>{});
  }

 private:
  template <std::size_t... I>
  ValuePtr apply(Args args, std::index_sequence<I...>) {
    return routine_(ArgKind<A>::get(*args[I])...);
  }
  Routine routine_;
};

// COFunc: any arguments, checked by the routine itself.
class COFunc final : public Function {
 public:
  using Routine = ValuePtr (*)(int count, Args args);
  explicit COFunc(Routine routine) : routine_(routine) {}
  ValuePtr copy() const override { return std::make_unique<COFunc>(routine_); }
  ValuePtr call(int count, Args args) override { return routine_(count, args); }

 private:
  Routine routine_;
};

// Subroutine: like COFunc, returning nothing.
class Subroutine final : public Function {
 public:
  using Routine = void (*)(int count, Args args);
  explicit Subroutine(Routine routine) : routine_(routine) {}
  ValuePtr copy() const override { return std::make_unique<Subroutine>(routine_); }
  ValuePtr call(int count, Args args) override {
    routine_(count, args);
    return std::make_unique<Void>();
  }

 private:
  Routine routine_;
};

using Str = const std::string&;
using M = const Matrix&;
using L = const CLaw&;
using Sup = const CSuperMatrix&;
using F = CSFunc&;

using SF_ = SFn<>;
using SF_D = SFn<double>;
using SF_DD = SFn<double, double>;
using SF_DDD = SFn<double, double, double>;
using SF_DDDDD = SFn<double, double, double, double, double>;
using SF_M = SFn<M>;
using SF_N = SFn<NValue>;
using SF_MD = SFn<M, double>;
using SF_MDD = SFn<M, double, double>;
using SF_MM = SFn<M, M>;
using SF_Str = SFn<Str>;
using SF_StrD = SFn<Str, double>;
using SF_StrStr = SFn<Str, Str>;
using SF_SupStr = SFn<Sup, Str>;
using SF_LD = SFn<L, double>;
using SF_LDD = SFn<L, double, double>;
using SF_FDDD = SFn<F, double, double, double>;
using SF_FDDDD = SFn<F, double, double, double, double>;
using SF_DD0 = SFnDefaultZero;
using SF_N_D = SFnOptional<NValue, double>;
using SF_MD_D = SFnOptional<M, double, double>;

using FunctionO_D = OFn<double>;
using FunctionO_DD = OFn<double, double>;
using FunctionO_Str = OFn<Str>;
using FunctionO_StrD = OFn<Str, double>;
using FunctionO_StrDD = OFn<Str, double, double>;
using FunctionO_StrStr = OFn<Str, Str>;
using FunctionO_StrStrD = OFn<Str, Str, double>;
using FunctionO_StrStrStr = OFn<Str, Str, Str>;
using FunctionO_StrStrStrStr = OFn<Str, Str, Str, Str>;
using FunctionO_DDStrStr = OFn<double, double, Str, Str>;
using FunctionO_M = OFn<M>;
using FunctionO_MStr = OFn<M, Str>;
using FunctionO_SupM = OFn<Sup, M>;
using FunctionO_SupStr = OFn<Sup, Str>;
using FunctionO_Str_D = OFnStrOptional;

using FunctionO_ = StrictFn<false>;
using FunctionO_DDD = StrictFn<false, double, double, double>;
using FunctionO_DOO = StrictFn<false, double, OValue, OValue>;
using FunctionO_LD = StrictFn<true, L, double>;
using FunctionO_LDD = StrictFn<true, L, double, double>;
using FunctionO_LDDD = StrictFn<true, L, double, double, double>;
using FunctionO_LMD = StrictFn<false, L, M, double>;
using FunctionO_MD = StrictFn<false, M, double>;
using FunctionO_MDD = StrictFn<false, M, double, double>;
using FunctionO_MM = StrictFn<false, M, M>;
using FunctionO_MMD = StrictFn<false, M, M, double>;
using FunctionO_MMM = StrictFn<false, M, M, M>;
using FunctionO_MO = StrictFn<false, M, OValue>;
using FunctionO_SupO = StrictFn<false, Sup, OValue>;
using FunctionO_Super = StrictFn<false, Sup>;

}  // namespace tesmora

namespace tesmora {

// The class names, as the registry lists them.
template <class C>
inline constexpr const char* kClassName = "";
#define TESMORA_CLASS_NAME(C) \
  template <>                 \
  inline constexpr const char* kClassName<C> = #C;
TESMORA_CLASS_NAME(SF_)
TESMORA_CLASS_NAME(SF_D)
TESMORA_CLASS_NAME(SF_DD)
TESMORA_CLASS_NAME(SF_DDD)
TESMORA_CLASS_NAME(SF_DDDDD)
TESMORA_CLASS_NAME(SF_M)
TESMORA_CLASS_NAME(SF_N)
TESMORA_CLASS_NAME(SF_MD)
TESMORA_CLASS_NAME(SF_MDD)
TESMORA_CLASS_NAME(SF_MM)
TESMORA_CLASS_NAME(SF_Str)
TESMORA_CLASS_NAME(SF_StrD)
TESMORA_CLASS_NAME(SF_StrStr)
TESMORA_CLASS_NAME(SF_SupStr)
TESMORA_CLASS_NAME(SF_LD)
TESMORA_CLASS_NAME(SF_LDD)
TESMORA_CLASS_NAME(SF_FDDD)
TESMORA_CLASS_NAME(SF_FDDDD)
TESMORA_CLASS_NAME(SF_DD0)
TESMORA_CLASS_NAME(SF_N_D)
TESMORA_CLASS_NAME(SF_MD_D)
TESMORA_CLASS_NAME(FunctionO_D)
TESMORA_CLASS_NAME(FunctionO_DD)
TESMORA_CLASS_NAME(FunctionO_Str)
TESMORA_CLASS_NAME(FunctionO_StrD)
TESMORA_CLASS_NAME(FunctionO_StrDD)
TESMORA_CLASS_NAME(FunctionO_StrStr)
TESMORA_CLASS_NAME(FunctionO_StrStrD)
TESMORA_CLASS_NAME(FunctionO_StrStrStr)
TESMORA_CLASS_NAME(FunctionO_StrStrStrStr)
TESMORA_CLASS_NAME(FunctionO_DDStrStr)
TESMORA_CLASS_NAME(FunctionO_M)
TESMORA_CLASS_NAME(FunctionO_MStr)
TESMORA_CLASS_NAME(FunctionO_SupM)
TESMORA_CLASS_NAME(FunctionO_SupStr)
TESMORA_CLASS_NAME(FunctionO_Str_D)
TESMORA_CLASS_NAME(FunctionO_)
TESMORA_CLASS_NAME(FunctionO_DDD)
TESMORA_CLASS_NAME(FunctionO_DOO)
TESMORA_CLASS_NAME(FunctionO_LD)
TESMORA_CLASS_NAME(FunctionO_LDD)
TESMORA_CLASS_NAME(FunctionO_LDDD)
TESMORA_CLASS_NAME(FunctionO_LMD)
TESMORA_CLASS_NAME(FunctionO_MD)
TESMORA_CLASS_NAME(FunctionO_MDD)
TESMORA_CLASS_NAME(FunctionO_MM)
TESMORA_CLASS_NAME(FunctionO_MMD)
TESMORA_CLASS_NAME(FunctionO_MMM)
TESMORA_CLASS_NAME(FunctionO_MO)
TESMORA_CLASS_NAME(FunctionO_SupO)
TESMORA_CLASS_NAME(FunctionO_Super)
TESMORA_CLASS_NAME(COFunc)
TESMORA_CLASS_NAME(Subroutine)
#undef TESMORA_CLASS_NAME

}  // namespace tesmora
