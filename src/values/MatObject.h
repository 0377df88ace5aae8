// Every script value is a heap object of one class tree rooted at
// MatObject: numbers, strings, numeric matrices, super-matrices, laws,
// functions and the empty value.
//
// Ownership, written down once:
//  * A value has exactly one holder: the value stack (a temporary, whose
//    variableName is null), a variable-table entry (variableName points at
//    the entry's name) or a container cell (always a temporary copy).
//  * Assignment never stores a value itself: it stores copy(), so values
//    are never shared and carry no reference count.
//  * Removing a value from the stack deletes it only when it is a
//    temporary; a named value belongs to its variable.
//  * Every operation builds a new value and never returns or changes an
//    operand. New values travel as ValuePtr (std::unique_ptr); raw
//    MatObject* means "borrowed".
//  * A reader that goes on reading a value while statements run that may
//    rebind its variable (a for loop's list, the right-hand side of a
//    multiple assignment) holds it as Pinned: a temporary it then owns, a
//    variable's value it pins. A variable rebound or dropped while its value
//    is pinned does not delete the value but leaves it to its pins as an
//    orphan (named by no variable, yet no temporary either, so the stack
//    never deletes it); the last pin to go deletes an orphan. So the reader
//    sees the variable's in-place changes (M(3) = 10) and outlives its
//    reassignment, and nothing is ever read after being freed.
//
// Code tells values apart only by their type code, never by their class.
#pragma once

#include <memory>
#include <string>

namespace tesmora {

enum TypeCode : int {
  kVoidType = 1,
  kScalarType = 2,
  kMatrixType = 3,       // also CColor
  kSuperType = 4,
  kNotSuperType = 5,     // only in argument signatures: any but a super-matrix
  kFunctionType = 6,     // the Function family
  kSFuncType = 7,        // the CSFunc family: scalar functions
  kLawType = 9,
  kStringType = 10,
  kMixedType = 11,       // no single type
};

class MatObject;
using ValuePtr = std::unique_ptr<MatObject>;

// The argument array of a call: `count` borrowed values.
using Args = MatObject* const*;

class MatObject {
 public:
  explicit MatObject(int typeCode) : typeCode(typeCode) {}
  virtual ~MatObject() = default;
  MatObject(const MatObject&) = delete;
  MatObject& operator=(const MatObject&) = delete;

  // Loop fields: stamped on the values a for loop hands out, for the
  // properties num, row and col.
  int loopPosition = -1;
  int loopRowWidth = -1;
  const int typeCode;
  // The owning variable's name, or null for a temporary.
  const char* variableName = nullptr;
  // Readers holding this variable's value as Pinned.
  int pinCount = 0;

  bool isTemporary() const { return variableName == nullptr; }
  bool isOrphan() const;

  virtual ValuePtr call(int count, Args args);
  virtual ValuePtr elementAt(int index) const;
  virtual ValuePtr copy() const;
  virtual int colCount() const { return 1; }
  virtual int rowCount() const { return 1; }
  virtual int elementCount() const { return -1; }
  virtual int elementType() const { return typeCode; }
  virtual int uniformType() const { return kMixedType; }
  virtual int literalClass() const { return kMixedType; }
  virtual double mean() const;
  virtual double variance() const;
  virtual double stdDev() const;
  virtual void setElement(int count, Args args);
  virtual ValuePtr elementAtRC(int row, int col) const;
};

// Deletes a value that nobody owns (a temporary); leaves named values alone.
inline void deleteIfTemporary(MatObject* value) {
  if (value && value->isTemporary()) delete value;
}

// A borrowed value that is deleted at scope end if it is a temporary: for
// values popped off the stack.
class Popped {
 public:
  explicit Popped(MatObject* value = nullptr) : value_(value) {}
  ~Popped() { deleteIfTemporary(value_); }
  Popped(const Popped&) = delete;
  Popped& operator=(const Popped&) = delete;
  MatObject* get() const { return value_; }
  MatObject* operator->() const { return value_; }
  MatObject& operator*() const { return *value_; }
  // Takes the value as a new one: the temporary itself, or a copy of a
  // named value.
  ValuePtr takeOrCopy();

 private:
  MatObject* value_;
};

// The name an orphan carries: a value its variable gave up while pinned.
inline const char kOrphanName[1] = {0};
inline bool MatObject::isOrphan() const { return variableName == kOrphanName; }

// What a variable does with the value it gives up: deletes it, or leaves a
// pinned value to its pins.
inline void releaseVariableValue(MatObject* value) {
  if (!value) return;
  if (value->pinCount > 0) value->variableName = kOrphanName;
  else delete value;
}

// A value popped off the stack that its reader keeps while statements run
// (see the ownership rule above): owns a temporary, pins a named value.
class Pinned {
 public:
  explicit Pinned(MatObject* value) : value_(value) {
    if (!value_->isTemporary()) ++value_->pinCount;
  }
  ~Pinned() {
    if (value_->isTemporary()) delete value_;
    else if (--value_->pinCount == 0 && value_->isOrphan()) delete value_;
  }
  Pinned(const Pinned&) = delete;
  Pinned& operator=(const Pinned&) = delete;
  const MatObject* operator->() const { return value_; }
  const MatObject& operator*() const { return *value_; }

 private:
  MatObject* value_;
};

// The empty value: result of procedures, shows nothing.
class Void final : public MatObject {
 public:
  Void() : MatObject(kVoidType) {}
};

// A text of Windows-1251 bytes without a length limit.
class String final : public MatObject {
 public:
  explicit String(std::string text)
      : MatObject(kStringType), text(std::move(text)) {}
  std::string text;
  ValuePtr call(int count, Args args) override;
  ValuePtr copy() const override { return std::make_unique<String>(text); }
};

}  // namespace tesmora
