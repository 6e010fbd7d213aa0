// Host stand-in: the command stack that holds the registered commands by group and name.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "rxregsvc.h"

class AcEdUIContext;

// The window-system handles of the host's interface: pointers to distinct incomplete types, the
// same types the Windows stand-in's <windows.h> declares.
typedef struct HWND__* HWND;
typedef struct HINSTANCE__* HINSTANCE;

// Command flags.
#define ACRX_CMD_MODAL 0x00000000
#define ACRX_CMD_TRANSPARENT 0x00000001
#define ACRX_CMD_USEPICKSET 0x00000002

class AcEdCommand : public AcRxObject {
 public:
  ACRX_DECLARE_MEMBERS(AcEdCommand)
  AcEdCommand(const char* group, const char* globalName, const char* localName, Adesk::Int32 flags,
              AcRxFunctionPtr function, AcEdUIContext* context, int functionCode, HINSTANCE resource);
  AcRxFunctionPtr functionAddr() const { return m_function; }
  Adesk::Int32 commandFlags() const { return m_flags; }
  const char* globalName() const { return m_global.c_str(); }
  const char* localName() const { return m_local.c_str(); }
  const char* groupName() const { return m_group.c_str(); }
  int functionCode() const { return m_functionCode; }
  AcEdUIContext* UIContext() const { return m_context; }
  HINSTANCE resourceHandle() const { return m_resource; }

 private:
  friend class AcEdCommandStack;
  std::string m_group, m_global, m_local;
  Adesk::Int32 m_flags;
  AcRxFunctionPtr m_function;
  AcEdUIContext* m_context;
  int m_functionCode;
  HINSTANCE m_resource;
};

// Commands by group; look-up by global or local name without regard to case. A name may
// be registered once per group; the group added last wins a look-up.
class AcEdCommandStack : public AcRxObject {
 public:
  ACRX_DECLARE_MEMBERS(AcEdCommandStack)
  AcEdCommandStack();
  ~AcEdCommandStack() override;

  Acad::ErrorStatus addCommand(const char* cmdGroupName, const char* cmdGlobalName, const char* cmdLocalName,
                               Adesk::Int32 commandFlags, AcRxFunctionPtr functionAddr,
                               AcEdUIContext* UIContext = nullptr, int fcode = -1,
                               HINSTANCE hResourceHandle = nullptr, AcEdCommand** cmdPtrRet = nullptr);
  AcEdCommand* lookupGlobalCmd(const char* cmdName) const;
  AcEdCommand* lookupLocalCmd(const char* cmdName) const;
  AcEdCommand* lookupCmd(const char* cmdName, Adesk::Boolean globalFlag) const;
  Acad::ErrorStatus removeCmd(const char* cmdGroupName, const char* cmdGlobalName);
  Acad::ErrorStatus removeGroup(const char* groupName);
  // The global names of every registered command, in registration order.
  std::vector<std::string> commandNames() const;

 private:
  std::vector<std::unique_ptr<AcEdCommand>> m_commands;
};

#define ACRX_COMMAND_DOCK "ACAD_REGISTERED_COMMANDS"
#define acedRegCmds AcEdCommandStack::cast(acrxSysRegistry()->at(ACRX_COMMAND_DOCK))
