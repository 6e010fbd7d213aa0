// Host stand-in: the status codes that host calls return.
#pragma once

namespace Acad {
enum ErrorStatus {
  eOk = 0,
  eNotImplementedYet = 1,
  eNotApplicable = 2,
  eInvalidInput = 3,
  eOutOfMemory = 5,
  eNullObjectId = 6,
  eNullObjectPointer = 7,
  eInvalidIndex = 8,
  eKeyNotFound = 9,
  eDuplicateKey = 10,
  eWrongObjectType = 11,
  eFileNotFound = 12,
  eFilerError = 13,
  eNotInDatabase = 14,
  eAlreadyInDb = 15,
  eWasErased = 20,
  eWasOpenForRead = 21,
  eWasOpenForWrite = 22,
  eNotOpenForRead = 23,
  eNotOpenForWrite = 24,
  eWasNotErased = 25,
  eInvalidDxfCode = 30,
  eLockViolation = 40,
  eNoDatabase = 41,
};
}  // namespace Acad
