// MFC stand-in with the rich edit control as the editor's dialog uses it: a CRichEditCtrl subclass
// that forwards its reflected change and selection notifications to the parent as command codes,
// a context menu from the right button, pastes through the clipboard, and streaming in and out.
#include <cstring>

#include "MfcFixture.h"

namespace {

using Log = std::vector<std::string>;

class ForwardingEdit : public CRichEditCtrl {
 public:
  CString StreamOutRtf() {
    CString out;
    EDITSTREAM stream{reinterpret_cast<DWORD_PTR>(&out), 0, [](DWORD_PTR cookie, BYTE* buffer, LONG count, LONG* done) -> DWORD {
                        *reinterpret_cast<CString*>(cookie) += CString(reinterpret_cast<LPCTSTR>(buffer), count);
                        *done = count;
                        return 0;
                      }};
    StreamOut(SF_RTF, stream);
    return out;
  }
  // Serves the text from its front in pieces of at most the size the control asks for.
  void StreamInRtf(CString text) {
    EDITSTREAM stream{reinterpret_cast<DWORD_PTR>(&text), 0, [](DWORD_PTR cookie, BYTE* buffer, LONG count, LONG* done) -> DWORD {
                        auto* rest = reinterpret_cast<CString*>(cookie);
                        LONG n = rest->GetLength() < count ? rest->GetLength() : count;
                        std::memcpy(buffer, static_cast<LPCTSTR>(*rest), static_cast<size_t>(n));
                        *rest = rest->Mid(n);
                        *done = n;
                        return 0;
                      }};
    StreamIn(SF_RTF, stream);
  }

 protected:
  afx_msg void OnChange() { GetParent()->SendMessage(WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(), 1), reinterpret_cast<LPARAM>(m_hWnd)); }
  afx_msg void OnSelChange(NMHDR*, LRESULT* result) {
    GetParent()->SendMessage(WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(), 0), reinterpret_cast<LPARAM>(m_hWnd));
    *result = 0;
  }
  afx_msg void OnRButtonDown(UINT, CPoint) {
    CMenu menu;
    menu.CreatePopupMenu();
    menu.AppendMenu(MF_STRING, ID_EDIT_UNDO, "Undo");
    if (::IsClipboardFormatAvailable(CF_TEXT)) {
      menu.AppendMenu(MF_SEPARATOR);
      menu.AppendMenu(MF_STRING, ID_EDIT_PASTE, "Paste");
    }
    const MSG* msg = GetCurrentMessage();
    menu.TrackPopupMenu(TPM_RIGHTBUTTON, msg->pt.x, msg->pt.y, this);
    menu.DestroyMenu();
  }
  afx_msg void OnPaste() {
    CWaitCursor wait;
    Paste();
  }
  afx_msg void OnUndo() { Undo(); }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(ForwardingEdit, CRichEditCtrl)
  ON_CONTROL_REFLECT(EN_CHANGE, OnChange)
  ON_NOTIFY_REFLECT(EN_SELCHANGE, OnSelChange)
  ON_WM_RBUTTONDOWN()
  ON_COMMAND(ID_EDIT_PASTE, OnPaste)
  ON_COMMAND(ID_EDIT_UNDO, OnUndo)
END_MESSAGE_MAP()

class EditorDialog : public CDialog {
 public:
  EditorDialog() : CDialog(IDD_FORM) {}
  ForwardingEdit m_text;
  Log log;
  CString rtfAtEnd;
  CString m_richText;

 protected:
  void DoDataExchange(CDataExchange* dx) override {
    DDX_Control(dx, IDC_TEXT, m_text);
    DDX_Text(dx, IDC_TEXT, m_richText);
  }
  BOOL OnInitDialog() override {
    CDialog::OnInitDialog();
    m_text.SetEventMask(0x00080205);
    return TRUE;
  }
  afx_msg void OnTextChanged() { log.push_back("code 1"); }
  afx_msg void OnSelectionChanged() { log.push_back("code 0"); }
  afx_msg void OnBold() {
    CHARFORMAT format{};
    format.dwMask = CFM_BOLD;
    m_text.GetSelectionCharFormat(format);
    format.dwEffects = (format.dwMask & CFM_BOLD) ? (format.dwEffects ^ CFE_BOLD) : CFE_BOLD;
    format.dwMask = CFM_BOLD;
    m_text.SetSelectionCharFormat(format);
    log.push_back("bold");
  }
  void OnCancel() override {
    rtfAtEnd = m_text.StreamOutRtf();
    UpdateData(TRUE);
    CDialog::OnCancel();
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(EditorDialog, CDialog)
  ON_CONTROL(1, IDC_TEXT, OnTextChanged)
  ON_CONTROL(0, IDC_TEXT, OnSelectionChanged)
  ON_BN_CLICKED(IDC_PUSH, OnBold)
END_MESSAGE_MAP()

using EditorRichEditWindow = MfcTest;

TEST_F(EditorRichEditWindow, ATypedCharacterForwardsSelectionThenChange) {
  Event("focus", {std::to_string(IDC_TEXT)});
  Event("type", {"a"});
  EditorDialog dialog;
  dialog.DoModal();
  EXPECT_EQ(dialog.log, (Log{"code 0", "code 1"}));
  EXPECT_EQ(dialog.m_richText, "a");
}

TEST_F(EditorRichEditWindow, AFormatChangeNotifiesAChangeAndStreamsOutBold) {
  Event("focus", {std::to_string(IDC_TEXT)});
  Event("type", {"ab"});
  Event("select", {std::to_string(IDC_TEXT), "0", "1"});
  Event("click", {std::to_string(IDC_PUSH)});
  EditorDialog dialog;
  dialog.DoModal();
  // typing: a selection change and a change per key; the selection; the bold change notifies a change
  // before the handler that made it goes on
  EXPECT_EQ(dialog.log, (Log{"code 0", "code 1", "code 0", "code 1", "code 0", "code 1", "bold"}));
  EXPECT_NE(std::string(dialog.rtfAtEnd).find("\\b a\\plain\\f0\\fs17 b"), std::string::npos)
      << static_cast<LPCTSTR>(dialog.rtfAtEnd);
}

TEST_F(EditorRichEditWindow, TheContextMenuPastesTheClipboardText) {
  Event("clipboard", {"pasted"});
  Event("rclick", {std::to_string(IDC_TEXT)});
  Event("menu", {"Paste"});
  EditorDialog dialog;
  dialog.DoModal();
  EXPECT_EQ(dialog.m_richText, "pasted");
  ASSERT_EQ(qwin::ShownMenus().size(), 1u);
  EXPECT_EQ(qwin::ShownMenus()[0].items, (Log{"Undo=57643", "-", "Paste=57637"}));
  EXPECT_EQ(qwin::CurrentCursorName(), "arrow") << "the wait cursor is gone after the paste";
}

TEST_F(EditorRichEditWindow, WithoutClipboardTextTheMenuHasNoPaste) {
  Event("clipboard");
  Event("rclick", {std::to_string(IDC_TEXT)});
  Event("escape");
  EditorDialog dialog;
  dialog.DoModal();
  ASSERT_EQ(qwin::ShownMenus().size(), 1u);
  EXPECT_EQ(qwin::ShownMenus()[0].items, Log{"Undo=57643"});
}

TEST_F(EditorRichEditWindow, RtfLongerThanTheControlsRequestArrivesWhole) {
  EditorDialog dialog;
  ASSERT_TRUE(dialog.Create(IDD_FORM));
  std::string body(10000, 'x');
  dialog.m_text.StreamInRtf(CString(("{\\rtf1\\ansi " + body + "}").c_str()));
  EXPECT_EQ(dialog.m_text.GetTextLength(), 10000);
  dialog.DestroyWindow();
}

}  // namespace
