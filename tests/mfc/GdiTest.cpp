// MFC stand-in: drawing through the GDI wrappers as the module's owner-drawn list and size grip draw,
// checked in the stand-in's record of drawing operations.
#include <cstring>

#include "MfcFixture.h"

namespace {

using Lines = std::vector<std::string>;

// Draws each face in its own typeface at 9 points, as an owner-drawn font list does.
class FaceCombo : public CComboBox {
 public:
  void DrawItem(LPDRAWITEMSTRUCT item) override {
    CDC* dc = CDC::FromHandle(item->hDC);
    bool selected = (item->itemState & ODS_SELECTED) != 0;
    CBrush background(::GetSysColor(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    dc->FillRect(&item->rcItem, &background);
    dc->SetTextColor(::GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    dc->SetBkMode(TRANSPARENT);
    if (static_cast<int>(item->itemID) < 0) return;
    CString face;
    GetLBText(static_cast<int>(item->itemID), face);
    LOGFONT lf{};
    lf.lfHeight = 90;
    lstrcpyn(lf.lfFaceName, face, LF_FACESIZE);
    CFont font;
    font.CreatePointFontIndirect(&lf, dc);
    CFont* previous = dc->SelectObject(&font);
    dc->DrawText(face, &item->rcItem, DT_SINGLELINE | DT_VCENTER);
    dc->SelectObject(previous);
    font.DeleteObject();
  }
};

class GripDialog : public CDialog {
 public:
  GripDialog() : CDialog(IDD_FORM) {}
  FaceCombo m_fonts;

 protected:
  void DoDataExchange(CDataExchange* dx) override { DDX_Control(dx, IDC_FONTS, m_fonts); }
  BOOL OnInitDialog() override {
    CDialog::OnInitDialog();
    m_fonts.AddString("Verdana");
    return TRUE;
  }
  afx_msg void OnPaint() {
    CPaintDC paint(this);
    CRect client;
    GetClientRect(&client);
    CRect grip(client.right - ::GetSystemMetrics(SM_CXHSCROLL), client.bottom - ::GetSystemMetrics(SM_CYVSCROLL),
               client.right, client.bottom);
    CClientDC dc(this);
    dc.DrawFrameControl(&grip, DFC_SCROLL, DFCS_SCROLLSIZEGRIP);
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(GripDialog, CDialog)
  ON_WM_PAINT()
END_MESSAGE_MAP()

Lines Matching(const std::string& what) {
  Lines out;
  for (const auto& line : qwin::GdiRecord()) {
    if (line.find(what) != std::string::npos) out.push_back(line);
  }
  return out;
}

using Drawing = MfcTest;

TEST_F(Drawing, OwnerDrawnItemsAndTheGripAreDrawnWhenTheDialogPaints) {
  Event("choose", {std::to_string(IDC_FONTS), "Verdana"});
  GripDialog dialog;
  int before = qwin::LiveGdiObjects();
  dialog.DoModal();
  // the dialog is 240x120 dialog units: a client of 360x195 pixels with MS Sans Serif 8
  EXPECT_EQ(Matching("DrawFrameControl"), Lines{"[#32770] DrawFrameControl rect=344,179,360,195 type=3 state=0x8"});
  Lines texts = Matching("DrawText \"Verdana\"");
  ASSERT_FALSE(texts.empty());
  EXPECT_NE(texts[0].find("font=Verdana/-12 "), std::string::npos) << "9 points at 96 pixels per inch: " << texts[0];
  EXPECT_NE(texts[0].find("transparent"), std::string::npos) << texts[0];
  EXPECT_EQ(qwin::LiveGdiObjects(), before) << "every font and brush drawn with was deleted";
}

}  // namespace

namespace {

TEST_F(Drawing, DisabledPrefixTextAndTheApplicationsIconFromTheResources) {
  HICON icon = AfxGetApp()->LoadIcon(IDI_FORM);
  ASSERT_NE(icon, nullptr) << "icons are found through MFC's resource search";
  CClientDC dc(nullptr);
  CFont font;
  font.CreateFont(-16, 0, 0, 0, FW_BOLD, TRUE, FALSE, 0, RUSSIAN_CHARSET, 0, 0, 0, 0, "Verdana");
  CFont* previous = dc.SelectObject(&font);
  CSize extent = dc.GetTextExtent("Maker");
  dc.DrawState(CPoint((200 - extent.cx) / 2, 5), extent, "Maker", DSS_DISABLED, TRUE, 0, static_cast<HBRUSH>(nullptr));
  dc.DrawIcon(3, 4, icon);
  dc.SelectObject(previous);
  EXPECT_EQ(extent, CSize(5 * 9, 19));
  EXPECT_EQ(Matching("DrawState"),
            Lines{"[screen] DrawState prefixtext \"Maker\" at 77,5 size 45x19 state=0x20 font=Verdana/-16/bold/italic "
                  "color=#000000 bk=#ffffff"});
  EXPECT_EQ(Matching("DrawIcon"), Lines{"[screen] DrawIcon 3,4 resource 250"});
}

}  // namespace

namespace {

// The previous object SelectObject hands back wraps its handle in the class of the object's type:
// a CFont* that is a CFont, a CPen* that is a CPen, so that calling through it is defined.
TEST(GdiTemporaries, SelectObjectGivesBackAnObjectOfTheHandlesClass) {
  CClientDC dc(nullptr);
  CFont font;
  font.CreateFont(-12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, 0, RUSSIAN_CHARSET, 0, 0, 0, 0, "Arial");
  CPen pen(PS_SOLID, 1, RGB(1, 2, 3));
  CBrush brush(RGB(4, 5, 6));
  CFont* previousFont = dc.SelectObject(&font);
  CPen* previousPen = dc.SelectObject(&pen);
  CBrush* previousBrush = dc.SelectObject(&brush);
  ASSERT_NE(nullptr, previousFont);
  EXPECT_NE(nullptr, dynamic_cast<CFont*>(static_cast<CGdiObject*>(previousFont)));
  EXPECT_NE(nullptr, dynamic_cast<CPen*>(static_cast<CGdiObject*>(previousPen)));
  EXPECT_NE(nullptr, dynamic_cast<CBrush*>(static_cast<CGdiObject*>(previousBrush)));
  CFont* selected = dc.SelectObject(previousFont);
  EXPECT_EQ(font.m_hObject, selected->m_hObject);
  EXPECT_NE(nullptr, dynamic_cast<CFont*>(static_cast<CGdiObject*>(selected)));
  dc.SelectObject(previousPen);
  dc.SelectObject(previousBrush);
}

}  // namespace
