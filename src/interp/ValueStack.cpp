#include "interp/ValueStack.h"

#include "interp/Errors.h"

namespace tesmora {

void ValueStack::overflow() { raise("переполнение стека"); }

void ValueStack::push(MatObject* value) {
  if (top_ + phantoms_ == kValueStackSize) {
    deleteIfTemporary(value);
    overflow();
  }
  items_[top_++] = value;
}

void ValueStack::push(ValuePtr value) { push(value.release()); }

MatObject* ValueStack::pop() {
  if (top_ == 0) raise("pop(): Стек пустой");
  return items_[--top_];
}

void ValueStack::popDelete(int n) {
  if (top_ < n) raise("pop(n): Стек пустой");
  for (int i = 0; i < n; ++i) deleteIfTemporary(items_[--top_]);
}

void ValueStack::clear() {
  while (top_ > 0) deleteIfTemporary(items_[--top_]);
}

void ValueStack::truncate(int size) {
  while (top_ > size) deleteIfTemporary(items_[--top_]);
}

void ValueStack::insertBelowTop(MatObject* value) {
  MatObject* receiver = pop();
  items_[top_++] = value;
  push(receiver);
}

}  // namespace tesmora
