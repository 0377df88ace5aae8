#include "interp/VariableTable.h"

#include "interp/Errors.h"

namespace tesmora {

VariableTable::~VariableTable() {
  while (count_ > 0) {
    Entry& entry = entries_[--count_];
    if (entry.registered != entry.value) delete entry.registered;
    releaseVariableValue(entry.value);
  }
}

VariableTable::Entry* VariableTable::lookup(std::string_view name,
                                            int category) {
  for (int i = count_ - 1; i >= 0; --i) {
    Entry& entry = entries_[i];
    if (entry.category == category && entry.name == name) return &entry;
  }
  return nullptr;
}

VariableTable::Entry& VariableTable::append(std::string_view name,
                                            MatObject* value, int category) {
  if (count_ == kVariableTableSize) {
    delete value;
    raise("слишком много переменных");
  }
  Entry& entry = entries_[count_++];
  entry.name.assign(name);
  entry.value = value;
  entry.registered = nullptr;
  entry.category = category;
  if (value) value->variableName = entry.name.c_str();
  return entry;
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

void VariableTable::pushLocal(std::string_view name, ValuePtr value) {
  append(name, value.release(), 0);
}

void VariableTable::popLocal() {
  if (count_ == 0) return;
  release(entries_[--count_]);
}

void VariableTable::release(Entry& entry) {
  if (entry.value != entry.registered) releaseVariableValue(entry.value);
  entry.value = nullptr;
  entry.registered = nullptr;
  entry.name.clear();
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
