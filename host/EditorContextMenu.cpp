// The context-menu item that starts the editor command.
#include "host/EditorContextMenu.h"

#include <acdocman.h>
#include <rxregsvc.h>

#include "host/ModuleEntry.h"
#include "resources/resource.h"

EditorContextMenu::EditorContextMenu() : m_menu(new CMenu) {
  HINSTANCE module = AfxFindResourceHandle(MAKEINTRESOURCE(IDR_CONTEXT_MENU), RT_MENU);
  if (HMENU menu = ::LoadMenu(module, MAKEINTRESOURCE(IDR_CONTEXT_MENU))) m_menu->Attach(menu);
  AfxSetResourceHandle(acedGetAcadResourceInstance());
}

EditorContextMenu::~EditorContextMenu() { delete m_menu; }

AcRxClass* EditorContextMenu::isA() const { return ContextClass(); }

void* EditorContextMenu::getMenuContext(const AcRxClass*, const AcDbObjectIdArray&) {
  CMenu* submenu = m_menu->GetSafeHmenu() ? m_menu->GetSubMenu(0) : nullptr;
  m_menuHandle = submenu ? submenu->GetSafeHmenu() : nullptr;
  return &m_menuHandle;
}

void EditorContextMenu::onCommand(Adesk::UInt32 cmdIndex) {
  const char* command = cmdIndex == ID_EDITOR ? "CQuillon "
                        : cmdIndex == ID_FIND ? "CQuillonFind "
                        : cmdIndex == ID_SPELL ? "CQuillonSpell "
                                               : nullptr;
  if (command == nullptr) return;
  acDocManagerPtr()->sendStringToExecute(acDocManagerPtr()->curDocument(), command, true, false, true);
}

void EditorContextMenu::OnUpdateMenu() {}
