// The value stack: every expression is built here. Entries are either
// temporaries (owned by the stack) or variables' values (borrowed: pushed
// without copying, never deleted by the stack). The compiled form keeps
// numbers unboxed, outside the stack; each such number still counts as an
// entry (a phantom), so the stack fills up exactly when the text path's
// would.
#pragma once

#include <array>

#include "interp/Limits.h"
#include "values/MatObject.h"

namespace tesmora {

class ValueStack {
 public:
  ValueStack() = default;
  ~ValueStack() { clear(); }
  ValueStack(const ValueStack&) = delete;
  ValueStack& operator=(const ValueStack&) = delete;

  // Pushes a borrowed value or a temporary the stack now owns.
  void push(MatObject* value) {
    if (top_ + phantoms_ == kValueStackSize) overflowWith(value);
    items_[top_++] = value;
  }
  void push(ValuePtr value) { push(value.release()); }
  // Removes the top value; the caller owns it if it is a temporary.
  MatObject* pop() {
    if (top_ == 0) underflow();
    return items_[--top_];
  }
  // Removes n values, deleting the temporaries among them.
  void popDelete(int n);
  // Removes everything, deleting the temporaries.
  void clear() {
    while (top_ > 0) deleteIfTemporary(items_[--top_]);
  }
  // Removes every value above the first `size`, deleting the temporaries.
  void truncate(int size);

  // One more unboxed number held (raises like push when full), one fewer.
  void reservePhantom() {
    if (top_ + phantoms_ == kValueStackSize) overflow();
    ++phantoms_;
  }
  void releasePhantom() { --phantoms_; }
  int phantoms() const { return phantoms_; }
  void setPhantoms(int count) { phantoms_ = count; }

  int size() const { return top_; }
  bool empty() const { return top_ == 0; }
  MatObject* top() const { return items_[top_ - 1]; }
  // The value `depth` places below the top (0 = the top).
  MatObject* peek(int depth) const { return items_[top_ - 1 - depth]; }
  MatObject*& at(int index) { return items_[index]; }
  // The address of the n topmost values, bottom first: an argument array.
  Args topArgs(int n) const { return items_.data() + (top_ - n); }
  // Puts `value` below the top entry (the function of a method call).
  void insertBelowTop(MatObject* value);

 private:
  [[noreturn]] static void overflow();
  [[noreturn]] static void overflowWith(MatObject* value);
  [[noreturn]] static void underflow();

  std::array<MatObject*, kValueStackSize> items_{};
  int top_ = 0;
  int phantoms_ = 0;
};

}  // namespace tesmora
