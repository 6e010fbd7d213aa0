// The command stack: registered commands by group, looked up by global or local name.
#include <strings.h>

#include "accmd.h"
#include "aced.h"
#include "arx/src/RxDefine.h"

QHOST_DEFINE_MEMBERS(AcEdCommand, AcRxObject)
QHOST_DEFINE_MEMBERS(AcEdCommandStack, AcRxObject)
QHOST_DEFINE_MEMBERS(AcEdUIContext, AcRxObject)

AcEdCommand::AcEdCommand(const char* group, const char* globalName, const char* localName, Adesk::Int32 flags,
                         AcRxFunctionPtr function, AcEdUIContext* context, int functionCode, HINSTANCE resource)
    : m_group(group), m_global(globalName), m_local(localName), m_flags(flags), m_function(function),
      m_context(context), m_functionCode(functionCode), m_resource(resource) {}

AcEdCommandStack::AcEdCommandStack() = default;
AcEdCommandStack::~AcEdCommandStack() = default;

namespace {
bool Same(const std::string& a, const char* b) { return b != nullptr && strcasecmp(a.c_str(), b) == 0; }
}  // namespace

Acad::ErrorStatus AcEdCommandStack::addCommand(const char* cmdGroupName, const char* cmdGlobalName,
                                               const char* cmdLocalName, Adesk::Int32 commandFlags,
                                               AcRxFunctionPtr functionAddr, AcEdUIContext* UIContext, int fcode,
                                               HINSTANCE hResourceHandle, AcEdCommand** cmdPtrRet) {
  if (cmdGroupName == nullptr || cmdGlobalName == nullptr || *cmdGlobalName == '\0' || functionAddr == nullptr)
    return Acad::eInvalidInput;
  for (const auto& c : m_commands)
    if (Same(c->m_group, cmdGroupName) && (Same(c->m_global, cmdGlobalName))) return Acad::eDuplicateKey;
  const char* local = cmdLocalName && *cmdLocalName ? cmdLocalName : cmdGlobalName;
  m_commands.push_back(std::make_unique<AcEdCommand>(cmdGroupName, cmdGlobalName, local, commandFlags, functionAddr,
                                                     UIContext, fcode, hResourceHandle));
  if (cmdPtrRet) *cmdPtrRet = m_commands.back().get();
  return Acad::eOk;
}

AcEdCommand* AcEdCommandStack::lookupCmd(const char* cmdName, Adesk::Boolean globalFlag) const {
  for (auto it = m_commands.rbegin(); it != m_commands.rend(); ++it)
    if (Same(globalFlag ? (*it)->m_global : (*it)->m_local, cmdName)) return it->get();
  return nullptr;
}

AcEdCommand* AcEdCommandStack::lookupGlobalCmd(const char* cmdName) const { return lookupCmd(cmdName, true); }
AcEdCommand* AcEdCommandStack::lookupLocalCmd(const char* cmdName) const { return lookupCmd(cmdName, false); }

Acad::ErrorStatus AcEdCommandStack::removeCmd(const char* cmdGroupName, const char* cmdGlobalName) {
  for (auto it = m_commands.begin(); it != m_commands.end(); ++it) {
    if (Same((*it)->m_group, cmdGroupName) && Same((*it)->m_global, cmdGlobalName)) {
      m_commands.erase(it);
      return Acad::eOk;
    }
  }
  return Acad::eKeyNotFound;
}

Acad::ErrorStatus AcEdCommandStack::removeGroup(const char* groupName) {
  size_t before = m_commands.size();
  for (auto it = m_commands.begin(); it != m_commands.end();) {
    if (Same((*it)->m_group, groupName))
      it = m_commands.erase(it);
    else
      ++it;
  }
  return m_commands.size() < before ? Acad::eOk : Acad::eKeyNotFound;
}

std::vector<std::string> AcEdCommandStack::commandNames() const {
  std::vector<std::string> names;
  for (const auto& c : m_commands) names.push_back(c->m_global);
  return names;
}
