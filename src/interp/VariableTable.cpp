#include "interp/VariableTable.h"

#include <atomic>

#include "interp/Errors.h"

namespace tesmora {

VariableTable::~VariableTable() {
  while (count_ > 0) {
    Entry& entry = entries_[--count_];
    if (entry.registered != entry.value) delete entry.registered;
    releaseVariableValue(entry.value);
  }
  while (spareCount_ > 0) delete spares_[--spareCount_];
}

VariableTable::Entry* VariableTable::lookup(std::string_view name,
                                            int category) {
  const auto found = newest_.find(name);
  if (found == newest_.end()) return nullptr;
  return lookupInSlot(&found->second, category);
}

const int* VariableTable::slotOf(std::string_view name) const {
  const auto found = newest_.find(name);
  return found == newest_.end() ? nullptr : &found->second;
}

std::uint64_t VariableTable::nextId() {
  static std::atomic<std::uint64_t> last{0};
  return ++last;
}

int* VariableTable::slotFor(std::string_view name) {
  auto newest = newest_.find(name);
  if (newest == newest_.end()) newest = newest_.emplace(std::string(name), -1).first;
  return &newest->second;
}

VariableTable::Entry& VariableTable::append(std::string_view name,
                                            MatObject* value, int category) {
  if (count_ == kVariableTableSize) {
    delete value;
    raise("слишком много переменных");
  }
  return appendInSlot(slotFor(name), name, value, category);
}

void VariableTable::tableFull(MatObject* value) {
  delete value;
  raise("слишком много переменных");
}

void VariableTable::bind(Entry& entry, ValuePtr value) {
  value->variableName = entry.name.c_str();
  if (entry.value != entry.registered) releaseVariableValue(entry.value);
  entry.value = value.release();
}

void VariableTable::assign(std::string_view name, const MatObject& value) {
  if (value.typeCode == kVoidType) raiseAbout(name, "имя должно иметь значение");
  Entry* entry = lookup(name, 0);
  if (entry && entry->value == &value) return;
  ValuePtr stored = value.copy();
  stored->loopPosition = value.loopPosition;
  stored->loopRowWidth = value.loopRowWidth;
  if (entry) {
    bind(*entry, std::move(stored));
  } else {
    append(name, stored.release(), 0);
  }
}

MatObject* VariableTable::assignOwned(std::string_view name, ValuePtr value) {
  if (value->typeCode == kVoidType) raiseAbout(name, "имя должно иметь значение");
  MatObject* held = value.get();
  if (Entry* entry = lookup(name, 0)) bind(*entry, std::move(value));
  else append(name, value.release(), 0);
  return held;
}

void VariableTable::pushLocal(std::string_view name, ValuePtr value) {
  append(name, value.release(), 0);
}

void VariableTable::registerPredefined(std::string_view name, ValuePtr value) {
  Entry& entry = append(name, value.release(), registrationCategory_);
  entry.registered = entry.value;
}

void VariableTable::resetVariables() {
  for (int i = 0; i < predefinedCount_; ++i) {
    Entry& entry = entries_[i];
    if (entry.value != entry.registered) {
      releaseVariableValue(entry.value);
      entry.value = entry.registered;
    }
  }
  while (count_ > predefinedCount_) release(entries_[--count_]);
}

}  // namespace tesmora
