// The stand-in's definition of a runtime class's members (private to the host stand-in).
#pragma once

#include "rxobject.h"

namespace qhost::detail {
// Creates the class description and enters it in the class dictionary.
AcRxClass* RegisterClass(const char* name, AcRxClass* parent);
}  // namespace qhost::detail

#define QHOST_DEFINE_MEMBERS(CLASS_NAME, PARENT_CLASS)                                      \
  AcRxClass* CLASS_NAME::desc() {                                                            \
    static AcRxClass* cls = qhost::detail::RegisterClass(#CLASS_NAME, PARENT_CLASS::desc()); \
    return cls;                                                                              \
  }                                                                                          \
  AcRxClass* CLASS_NAME::isA() const { return CLASS_NAME::desc(); }
