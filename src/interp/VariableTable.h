// The one table of names: builtins entered by the registry, the user's
// variables, and the parameters of running user functions. It is used as a
// stack of names: a lookup finds the newest entry of a name, so a newer
// entry hides an older one of the same name. A hash index keeps, per name,
// the newest entry; each entry links to the next older one of its name, so
// a lookup never walks past other names.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>

#include "interp/Limits.h"
#include "values/MatObject.h"
#include "values/Scalar.h"

namespace tesmora {

class VariableTable {
 public:
  struct Entry {
    std::string name;
    MatObject* value = nullptr;       // owned
    MatObject* registered = nullptr;  // the registry's value, for restoring
    int category = 0;                 // 0, or the type code of a method
    int older = -1;                   // the next older entry of this name
    int* newest = nullptr;            // the index slot of this name
  };

  VariableTable() = default;
  ~VariableTable();
  VariableTable(const VariableTable&) = delete;
  VariableTable& operator=(const VariableTable&) = delete;

  // The newest entry of this name and category, or null.
  Entry* lookup(std::string_view name, int category = 0);
  MatObject* lookupValue(std::string_view name, int category = 0) {
    Entry* entry = lookup(name, category);
    return entry ? entry->value : nullptr;
  }

  // Binds `name` to a copy of `value` (a Void cannot be assigned).
  void assign(std::string_view name, const MatObject& value);
  // Binds `name` to a new value itself, which nobody else holds: the same
  // as assign without the copy. Returns the value now held.
  MatObject* assignOwned(std::string_view name, ValuePtr value);
  // Binds a function parameter: a new entry holding `value` (a copy).
  void pushLocal(std::string_view name, ValuePtr value);
  // The same, through the name's index slot got from slotFor: no hashing.
  void pushLocalInSlot(int* slot, std::string_view name, ValuePtr value) {
    appendInSlot(slot, name, value.release(), 0);
  }
  // The same for a number: parameters come and go at every call, so the
  // number of a parameter that went is used again.
  void pushLocalNumberInSlot(int* slot, std::string_view name, double number) {
    Scalar* value;
    if (spareCount_ > 0) {
      value = spares_[--spareCount_];
      value->value = number;
    } else {
      value = new Scalar(number);
    }
    appendInSlot(slot, name, value, 0);
  }
  // The index slot of a name, entered (as -1) if the name never was.
  int* slotFor(std::string_view name);
  // Tells tables apart, also one made where a destroyed one was, so that
  // slots kept for one table are never used with another.
  std::uint64_t id() const { return id_; }
  void popLocal() {
    if (count_ == 0) return;
    Entry& entry = entries_[--count_];
    MatObject* value = entry.value;
    if (value && value != entry.registered && value->typeCode == kScalarType &&
        value->pinCount == 0 && spareCount_ < kSpareNumbers) {
      // Kept as a new number would be made.
      value->variableName = nullptr;
      value->loopPosition = -1;
      value->loopRowWidth = -1;
      spares_[spareCount_++] = static_cast<Scalar*>(value);
      entry.value = nullptr;
    }
    release(entry);
  }

  // The registry's entries, made before any run.
  void registerPredefined(std::string_view name, ValuePtr value);
  void setRegistrationCategory(int category) { registrationCategory_ = category; }
  void finishRegistration() { predefinedCount_ = count_; }

  // Back to the registry's state: replaced builtins restored, the user's
  // names dropped.
  void resetVariables();

  int count() const { return count_; }
  int predefinedCount() const { return predefinedCount_; }
  const Entry& entry(int index) const { return entries_[index]; }
  Entry& entry(int index) { return entries_[index]; }
  // The index slot of a name: where the newest entry of the name is kept,
  // -1 while there is none; null for a name never entered. A slot stays
  // valid as long as the table, so a compiled name keeps it and looks up
  // without hashing.
  const int* slotOf(std::string_view name) const;
  Entry* lookupInSlot(const int* slot, int category = 0) {
    for (int i = *slot; i >= 0; i = entries_[i].older) {
      if (entries_[i].category == category) return &entries_[i];
    }
    return nullptr;
  }

 private:
  Entry& append(std::string_view name, MatObject* value, int category);
  // Entries are appended and released at every call of a user function:
  // these stay inline. A released entry keeps its name's text, so the
  // next entry at its place, most often a parameter of the same name,
  // need not copy it again.
  Entry& appendInSlot(int* slot, std::string_view name, MatObject* value, int category) {
    if (count_ == kVariableTableSize) tableFull(value);
    const int index = count_++;
    Entry& entry = entries_[index];
    // The name's slot is the name's own: an entry last used for it holds
    // its text already.
    if (entry.newest != slot && !sameText(entry.name, name)) entry.name.assign(name);
    entry.value = value;
    entry.registered = nullptr;
    entry.category = category;
    entry.older = *slot;
    entry.newest = slot;
    *slot = index;
    if (value) value->variableName = entry.name.c_str();
    return entry;
  }
  void release(Entry& entry) {
    // Only the newest entry is ever released: its name's newest is itself.
    *entry.newest = entry.older;
    if (entry.value != entry.registered) releaseVariableValue(entry.value);
    entry.value = nullptr;
    entry.registered = nullptr;
  }
  [[noreturn, gnu::cold]] static void tableFull(MatObject* value);
  // Names are short: compared here rather than through a library call.
  static bool sameText(const std::string& held, std::string_view name) {
    if (held.size() != name.size()) return false;
    for (std::size_t i = 0; i < name.size(); ++i) {
      if (held[i] != name[i]) return false;
    }
    return true;
  }
  void bind(Entry& entry, ValuePtr value);

  struct NameHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view name) const {
      return std::hash<std::string_view>{}(name);
    }
  };
  // The newest entry of each name seen, or -1.
  std::unordered_map<std::string, int, NameHash, std::equal_to<>> newest_;

  std::array<Entry, kVariableTableSize> entries_{};
  int count_ = 0;
  // Numbers of parameters that went, for the next parameters.
  static constexpr int kSpareNumbers = 16;
  std::array<Scalar*, kSpareNumbers> spares_{};
  int spareCount_ = 0;
  int predefinedCount_ = 0;
  int registrationCategory_ = 0;
  const std::uint64_t id_ = nextId();
  static std::uint64_t nextId();
};

}  // namespace tesmora
