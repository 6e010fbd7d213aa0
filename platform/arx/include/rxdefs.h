// Host stand-in: the messages a loaded module receives and the runtime's basic enums.
#pragma once

namespace AcRx {
enum AppMsgCode {
  kNullMsg = 0,
  kInitAppMsg = 1,
  kUnloadAppMsg = 2,
  kLoadDwgMsg = 3,
  kUnloadDwgMsg = 4,
  kInvkSubrMsg = 5,
  kCfgMsg = 6,
  kEndMsg = 7,
  kQuitMsg = 8,
  kSaveMsg = 9,
  kDependencyMsg = 10,
  kNoDependencyMsg = 11,
  kOleUnloadAppMsg = 12,
  kPreQuitMsg = 13,
  kInitDialogMsg = 14,
  kEndDialogMsg = 15,
};
enum AppRetCode { kRetOK = 0, kRetError = 3 };
enum Ordering { kLessThan = -1, kEqual = 0, kGreaterThan = 1, kNotOrderable = 2 };
}  // namespace AcRx

// The API version a module reports through its exported acrxGetApiVersion.
#define ACRX_API_VERSION 0xF0000

typedef void (*AcRxFunctionPtr)();
