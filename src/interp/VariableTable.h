// The one table of names: builtins entered by the registry, the user's
// variables, and the parameters of running user functions. It is used as a
// stack of names: lookups run from the newest entry to the oldest, so a
// newer entry hides an older one of the same name.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "interp/Limits.h"
#include "values/MatObject.h"

namespace tesmora {

class VariableTable {
 public:
  struct Entry {
    std::string name;
    MatObject* value = nullptr;       // owned
    MatObject* registered = nullptr;  // the registry's value, for restoring
    int category = 0;                 // 0, or the type code of a method
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
  // Binds a function parameter: a new entry holding `value` (a copy).
  void pushLocal(std::string_view name, ValuePtr value);
  void popLocal();

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

 private:
  Entry& append(std::string_view name, MatObject* value, int category);
  void bind(Entry& entry, ValuePtr value);
  void release(Entry& entry);

  std::array<Entry, kVariableTableSize> entries_{};
  int count_ = 0;
  int predefinedCount_ = 0;
  int registrationCategory_ = 0;
};

}  // namespace tesmora
