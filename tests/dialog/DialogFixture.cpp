// Shared set-up of the editor dialog tests.
#include "DialogFixture.h"

#include <dbsymtb.h>

void EditorDialogTest::SetUp() {
  WindowSystemTest::SetUp();
  qhost::ResetSession();
  qhost::OpenDocument(std::make_unique<AcDbDatabase>());
  theEditTarget = EditTarget();
  theLastRtfSeen.Empty();
}

void EditorDialogTest::TearDown() {
  if (dialog && dialog->m_hWnd != nullptr) dialog->DestroyWindow();
  dialog.reset();
  qhost::CloseDocument();
  qhost::ResetSession();
  WindowSystemTest::TearDown();
}

void EditorDialogTest::OpenEditor() {
  CreateMText("");
  dialog = std::make_unique<MTextEditorDialog>();
  ASSERT_TRUE(dialog->Create(IDD_MTEXT_EDITOR));
}

std::string EditorDialogTest::Contents() {
  AcDbObjectId id;
  acdbGetObjectId(id, theEditTarget.entityName);
  AcDbMText* mtext = nullptr;
  if (acdbOpenObject(mtext, id, AcDb::kForRead) != Acad::eOk) return "<erased>";
  std::string contents = mtext->contentsConst();
  mtext->close();
  return contents;
}

double EditorDialogTest::EntityHeight() {
  AcDbObjectId id;
  acdbGetObjectId(id, theEditTarget.entityName);
  AcDbMText* mtext = nullptr;
  if (acdbOpenObject(mtext, id, AcDb::kForRead) != Acad::eOk) return -1.0;
  const double height = mtext->textHeight();
  mtext->close();
  return height;
}

void EditorDialogTest::SetVar(const char* name, short value) {
  resbuf rb{};
  rb.restype = RTSHORT;
  rb.resval.rint = value;
  acedSetVar(name, &rb);
}

void EditorDialogTest::SetStandardFont(const char* file) {
  AcDbTextStyleTable* table = nullptr;
  ASSERT_EQ(Acad::eOk, acdbHostApplicationServices()->workingDatabase()->getTextStyleTable(table, AcDb::kForRead));
  AcDbTextStyleTableRecord* style = nullptr;
  ASSERT_EQ(Acad::eOk, table->getAt("Standard", style, AcDb::kForWrite));
  table->close();
  style->setFileName(file);
  style->close();
}

qplatform::RichEditSend EditorDialogTest::Editor() {
  HWND edit = dialog->m_richEdit.m_hWnd;
  return [edit](UINT m, WPARAM w, LPARAM l) { return SendMessage(edit, m, w, l); };
}

void EditorDialogTest::Click(int id) { dialog->GetDlgItem(id)->SendMessage(BM_CLICK); }

std::string EditorDialogTest::Text(int id) {
  CString text;
  dialog->GetDlgItem(id)->GetWindowText(text);
  return std::string(text.GetString(), static_cast<size_t>(text.GetLength()));
}
