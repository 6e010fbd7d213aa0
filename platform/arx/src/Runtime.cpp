// The runtime: root object, class descriptions, dictionaries, the system registry, fatal stop.
#include <algorithm>
#include <cctype>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>

#include "accmd.h"
#include "aced.h"
#include "acestext.h"
#include "arx/src/RxDefine.h"
#include "qplatform/Transcript.h"
#include "rxdlinkr.h"
#include "rxregsvc.h"

namespace {

std::string UpperKey(const char* key) {
  std::string s = key ? key : "";
  for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

AcRxDictionary& ClassDictionary() {
  static AcRxDictionary* dict = new AcRxDictionary();
  return *dict;
}

}  // namespace

namespace qhost::detail {
AcRxClass* RegisterClass(const char* name, AcRxClass* parent) {
  auto* cls = new AcRxClass(name, parent);
  ClassDictionary().atPut(name, cls);
  return cls;
}
}  // namespace qhost::detail

// --- AcRxObject and AcRxClass ------------------------------------------------------------

AcRxObject::~AcRxObject() = default;
AcRxClass* AcRxObject::desc() {
  static AcRxClass* cls = qhost::detail::RegisterClass("AcRxObject", nullptr);
  return cls;
}
AcRxClass* AcRxObject::isA() const { return AcRxObject::desc(); }
AcRxObject* AcRxObject::clone() const { return nullptr; }
Acad::ErrorStatus AcRxObject::copyFrom(const AcRxObject*) { return Acad::eNotApplicable; }
Adesk::Boolean AcRxObject::isEqualTo(const AcRxObject* other) const { return other == this; }
AcRx::Ordering AcRxObject::comparedTo(const AcRxObject*) const { return AcRx::kNotOrderable; }
bool AcRxObject::isKindOf(const AcRxClass* aClass) const { return isA()->isDerivedFrom(aClass); }

AcRxClass::AcRxClass(const char* name, AcRxClass* parent) : m_name(name), m_parent(parent) {}
QHOST_DEFINE_MEMBERS(AcRxClass, AcRxObject)
AcRxClass* AcRxClass::cast(const AcRxObject* inPtr) {
  return inPtr != nullptr && inPtr->isKindOf(AcRxClass::desc()) ? static_cast<AcRxClass*>(const_cast<AcRxObject*>(inPtr))
                                                                 : nullptr;
}
bool AcRxClass::isDerivedFrom(const AcRxClass* other) const {
  for (const AcRxClass* c = this; c != nullptr; c = c->m_parent)
    if (c == other) return true;
  return false;
}

// --- AcRxDictionary -------------------------------------------------------------------

QHOST_DEFINE_MEMBERS(AcRxDictionary, AcRxObject)
// The host's dictionaries live as long as the process; they do not own their entries.
AcRxDictionary::~AcRxDictionary() = default;

AcRxObject* AcRxDictionary::at(const char* key) const {
  auto it = m_entries.find(UpperKey(key));
  return it == m_entries.end() ? nullptr : it->second;
}

AcRxObject* AcRxDictionary::atPut(const char* key, AcRxObject* obj) {
  AcRxObject*& slot = m_entries[UpperKey(key)];
  AcRxObject* old = slot;
  slot = obj;
  return old;
}

AcRxObject* AcRxDictionary::remove(const char* key) {
  auto it = m_entries.find(UpperKey(key));
  if (it == m_entries.end()) return nullptr;
  AcRxObject* old = it->second;
  m_entries.erase(it);
  return old;
}

// --- The system registry ------------------------------------------------------------------

namespace qhost::detail {
void RegisterDatabaseClasses();
}

AcRxDictionary* acrxSysRegistry() {
  static AcRxDictionary* registry = [] {
    auto* reg = new AcRxDictionary();
    // Every host class is in the class dictionary before a module can look one up.
    AcRxObject::desc();
    AcRxClass::desc();
    AcRxDictionary::desc();
    AcRxDynamicLinker::desc();
    AcEdCommand::desc();
    AcEdCommandStack::desc();
    AcEdUIContext::desc();
    qhost::detail::RegisterDatabaseClasses();
    reg->atPut(ACRX_CLASS_DICTIONARY, &ClassDictionary());
    reg->atPut(ACRX_DYNAMIC_LINKER, new AcRxDynamicLinker());
    reg->atPut(ACRX_COMMAND_DOCK, new AcEdCommandStack());
    return reg;
  }();
  return registry;
}

void acrx_abort(const char* format, ...) {
  char buffer[1024];
  va_list args;
  va_start(args, format);
  std::vsnprintf(buffer, sizeof buffer, format, args);
  va_end(args);
  qhost::Transcript::Instance().Write(std::string("\nFATAL ERROR: ") + buffer + "\n");
  std::fprintf(stderr, "FATAL ERROR: %s\n", buffer);
  std::fflush(nullptr);
  std::abort();
}

const char* acadErrorStatusText(Acad::ErrorStatus status) {
  switch (status) {
#define NAME(e) \
  case Acad::e: \
    return #e;
    NAME(eOk) NAME(eNotImplementedYet) NAME(eNotApplicable) NAME(eInvalidInput) NAME(eOutOfMemory)
    NAME(eNullObjectId) NAME(eNullObjectPointer) NAME(eInvalidIndex) NAME(eKeyNotFound) NAME(eDuplicateKey)
    NAME(eWrongObjectType) NAME(eFileNotFound) NAME(eFilerError) NAME(eNotInDatabase) NAME(eAlreadyInDb)
    NAME(eWasErased) NAME(eWasOpenForRead) NAME(eWasOpenForWrite) NAME(eNotOpenForRead) NAME(eNotOpenForWrite)
    NAME(eWasNotErased) NAME(eInvalidDxfCode) NAME(eLockViolation) NAME(eNoDatabase)
#undef NAME
  }
  return "eUnknown";
}
