#include "interp/ValueStack.h"

#include "interp/Errors.h"

namespace tesmora {

void ValueStack::overflow() { raise("переполнение стека"); }

void ValueStack::overflowWith(MatObject* value) {
  deleteIfTemporary(value);
  overflow();
}

void ValueStack::underflow() { raise("pop(): Стек пустой"); }

void ValueStack::popDelete(int n) {
  if (top_ < n) raise("pop(n): Стек пустой");
  for (int i = 0; i < n; ++i) deleteIfTemporary(items_[--top_]);
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
