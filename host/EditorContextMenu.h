// The module's items in the drawing area's default context menu: "МТекст редактор" > "Редактор"
// "Найти и заменить" and "Орфография".
#pragma once

#include <aced.h>
#include <afxwin.h>

class EditorContextMenu : public AcEdUIContext {
 public:
  // Loads menu 5005 from the module's resources.
  EditorContextMenu();
  ~EditorContextMenu() override;
  EditorContextMenu(const EditorContextMenu&) = delete;
  EditorContextMenu& operator=(const EditorContextMenu&) = delete;

  // The host's context class, looked up once in its class dictionary.
  AcRxClass* isA() const override;
  // The menu's first submenu, for any class and selection.
  void* getMenuContext(const AcRxClass* cls, const AcDbObjectIdArray& ids) override;
  // The editor item runs "CQuillon ", the find item "CQuillonFind " and the spelling item
  // "CQuillonSpell " as if typed; other ids do nothing.
  void onCommand(Adesk::UInt32 cmdIndex) override;
  void OnUpdateMenu() override;

 private:
  HMENU m_menuHandle = nullptr;
  CMenu* m_menu;
};
