// Host stand-in: the system registry of named service objects, and stopping the host.
#pragma once

#include <map>
#include <string>

#include "rxobject.h"

// A dictionary of runtime objects by name (names compare without regard to case).
class AcRxDictionary : public AcRxObject {
 public:
  ACRX_DECLARE_MEMBERS(AcRxDictionary)
  AcRxDictionary() = default;
  ~AcRxDictionary() override;
  AcRxObject* at(const char* key) const;
  // Stores `obj` under `key` and returns what was there before (the caller owns it).
  AcRxObject* atPut(const char* key, AcRxObject* obj);
  AcRxObject* remove(const char* key);
  bool has(const char* key) const { return at(key) != nullptr; }
  int numEntries() const { return static_cast<int>(m_entries.size()); }

 private:
  std::map<std::string, AcRxObject*> m_entries;
};

AcRxDictionary* acrxSysRegistry();

#define ACRX_CLASS_DICTIONARY "ClassDictionary"
#define ACRX_DYNAMIC_LINKER "DynamicLinker"
#define acrxClassDictionary AcRxDictionary::cast(acrxSysRegistry()->at(ACRX_CLASS_DICTIONARY))

// Stops the host with a fatal error message; does not return.
[[noreturn]] void acrx_abort(const char* format, ...);
