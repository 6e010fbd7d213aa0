// Host stand-in: the runtime's root object and its class descriptions.
#pragma once

#include "acadstrc.h"
#include "adesk.h"
#include "rxdefs.h"

class AcRxClass;

class AcRxObject {
 public:
  virtual ~AcRxObject();
  static AcRxClass* desc();
  static AcRxObject* cast(const AcRxObject* inPtr) { return const_cast<AcRxObject*>(inPtr); }
  virtual AcRxClass* isA() const;
  virtual AcRxObject* clone() const;
  virtual Acad::ErrorStatus copyFrom(const AcRxObject* other);
  virtual Adesk::Boolean isEqualTo(const AcRxObject* other) const;
  virtual AcRx::Ordering comparedTo(const AcRxObject* other) const;

  bool isKindOf(const AcRxClass* aClass) const;

 protected:
  AcRxObject() = default;
};

// A class description: its name and parent, found in the class dictionary under its name.
class AcRxClass : public AcRxObject {
 public:
  AcRxClass(const char* name, AcRxClass* parent);
  static AcRxClass* desc();
  AcRxClass* isA() const override;
  static AcRxClass* cast(const AcRxObject* inPtr);
  const char* name() const { return m_name; }
  AcRxClass* myParent() const { return m_parent; }
  bool isDerivedFrom(const AcRxClass* other) const;

 private:
  const char* m_name;
  AcRxClass* m_parent;
};

// The members every runtime class has: its description, the virtual isA, and the checked cast.
#define ACRX_DECLARE_MEMBERS(CLASS_NAME)                                   \
  static AcRxClass* desc();                                                \
  AcRxClass* isA() const override;                                         \
  static CLASS_NAME* cast(const AcRxObject* inPtr) {                       \
    return (inPtr != nullptr && inPtr->isKindOf(CLASS_NAME::desc()))       \
               ? static_cast<CLASS_NAME*>(const_cast<AcRxObject*>(inPtr)) \
               : nullptr;                                                  \
  }
