// The About box: its text area, links and painted lines, and the click that closes it.
#include "controls/AboutDialog.h"

#include "QuillonVersion.h"

namespace {

// The links' colours in the About box.
constexpr COLORREF kLinkGrey = RGB(128, 128, 128);
constexpr COLORREF kVisited = RGB(85, 26, 139);

const char* const kProductName = "Quillon";
const char* const kVersion = QUILLON_PRODUCT_VERSION;
const char* const kCountry = "Россия";
const char* const kTown = "Новосибирск";
const char* const kDashes = "------------------------------------------------------------";

// Text for the body of an RTF document: syntax characters escaped, code page 1251 bytes as \'hh.
CString RtfText(const CString& text) {
  CString out;
  for (int i = 0; i < text.GetLength(); ++i) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if (c == '\\' || c == '{' || c == '}') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c >= 0x80) {
      CString hex;
      hex.Format("\\'%02x", c);
      out += hex;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out;
}

// One paragraph in the body font with `format` (control words) before its text.
CString Paragraph(const char* format, const CString& rtfText, bool last = false) {
  return CString("\\pard\\plain \\f99\\fs20") + format + " " + rtfText + (last ? "" : "\\par\r\n");
}

// A part of a paragraph in colour `index` of the colour table.
CString Coloured(int index, const CString& text) {
  CString out;
  out.Format("{\\cf%d %s}", index, static_cast<LPCTSTR>(RtfText(text)));
  return out;
}

}  // namespace

const char* const AboutDialog::kMakerName = "Quillon developers";
const char* const AboutDialog::kAuthorName = "Quillon contributors";
const char* const AboutDialog::kReleaseYear = "2026";
const char* const AboutDialog::kHomePage = "http://quillon.example/";
const char* const AboutDialog::kMailAddress = "developers@quillon.example";
const char* const AboutDialog::kSupportAddress = "support@quillon.example";

BEGIN_MESSAGE_MAP(AboutDialog, CDialog)
  ON_WM_PAINT()
  ON_WM_LBUTTONDOWN()
END_MESSAGE_MAP()

AboutDialog::AboutDialog(CWnd* parent) : CDialog(IDD, parent) {}

void AboutDialog::DoDataExchange(CDataExchange* pDX) {
  CDialog::DoDataExchange(pDX);
  DDX_Control(pDX, IDC_ABOUT_TEXT, m_aboutText);
  DDX_Control(pDX, IDC_HOMEPAGE, m_homePageLink);
  DDX_Text(pDX, IDC_ABOUT_EDIT, m_footer);
  DDX_Control(pDX, IDC_EMAIL, m_emailLink);
}

BOOL AboutDialog::OnInitDialog() {
  CDialog::OnInitDialog();
  const HCURSOR hand = AfxGetApp()->LoadCursor(IDC_LINK_HAND);

  m_emailLink.SetAddress(CString("mailto:") + kMailAddress);
  m_emailLink.SetUnderline(FALSE);
  m_emailLink.SetLinkCursor(hand);
  m_emailLink.SetColours(kLinkGrey, kVisited);

  m_homePageLink.SetAddress(kHomePage);
  m_homePageLink.SetUnderline(FALSE);
  m_homePageLink.SetLinkCursor(hand);
  m_homePageLink.SetColours(kLinkGrey, kVisited);

  if (m_makerFont.GetSafeHandle()) m_makerFont.Detach();
  m_titleFont.CreateFont(-16, 0, 0, 0, FW_BOLD, TRUE, FALSE, 0, RUSSIAN_CHARSET, 0, 0, 0, 0, "Verdana");

  m_aboutText.SetRtf(AboutRtf());
  UpdateData(FALSE);
  return TRUE;
}

CString AboutDialog::AboutRtf() {
  CString rtf =
      "{\\rtf1\\ansi\\deflang1049\r\n"
      "{\\fonttbl{\\f3\\fswiss\\fcharset0 Arial;}{\\f82\\froman\\fcharset2 Symbol;}"
      "{\\f89\\froman\\fcharset0 Times New Roman;}{\\f99\\fswiss\\fcharset204 Arial Cyr;}"
      "{\\f103\\froman\\fcharset204 Times New Roman Cyr;}}\r\n"
      "{\\colortbl;\\red0\\green0\\blue0;\\red0\\green0\\blue255;\\red0\\green255\\blue255;\\red0\\green255\\blue0;"
      "\\red255\\green0\\blue255;\\red255\\green0\\blue0;\\red255\\green255\\blue0;\\red255\\green255\\blue255;"
      "\\red0\\green0\\blue128;\\red0\\green128\\blue128;\\red0\\green128\\blue0;\\red128\\green0\\blue128;"
      "\\red128\\green0\\blue0;\\red128\\green128\\blue0;\\red128\\green128\\blue128;\\red192\\green192\\blue192;}\r\n"
      "{\\stylesheet{\\f99\\fs20 \\snext0 Normal;}"
      "{\\s1\\sb240\\sa60\\keepn\\b\\f3\\fs28 \\sbasedon0 \\snext0 heading 1;}"
      "{\\s2\\sb240\\sa60\\keepn\\b\\i\\f3\\fs24 \\sbasedon0 \\snext0 heading 2;}"
      "{\\s3\\sb240\\sa60\\keepn\\f3\\fs24 \\sbasedon0 \\snext0 heading 3;}}\r\n";
  rtf += "{\\info{\\title " + RtfText(CString("About ") + kProductName) + "}{\\author " + RtfText(kMakerName) +
         "}}\r\n";
  rtf += "\\paperw11906\\paperh16838\\margl1701\\margr850\\margt1134\\margb1134\r\n";
  rtf += Paragraph("\\cf10", RtfText(kDashes));
  rtf += Paragraph("\\b\\cf15", RtfText(CString(kProductName) + "  " + kVersion + "  (c) " + kMakerName));
  rtf += Paragraph("", RtfText(kDashes));
  rtf += Paragraph("", "Homepage: " + Coloured(2, kHomePage));
  rtf += Paragraph("", "E-mail: " + Coloured(2, kMailAddress));
  rtf += Paragraph("", "\\tab\\tab " + Coloured(2, kSupportAddress));
  rtf += Paragraph("", RtfText(kDashes));
  rtf += Paragraph("\\fs24\\b",
                   RtfText(CString("* ") + kCountry + " * " + kTown + " * " + kReleaseYear + " *"), true);
  rtf += "}";
  return rtf;
}

void AboutDialog::OnPaint() {
  CPaintDC dc(this);
  CRect rect;
  GetWindowRect(rect);
  ScreenToClient(rect);
  const int width = rect.Width();
  struct Line {
    CFont* font;
    const char* text;
    int numerator;
    int denominator;
    int y;
  };
  // An empty font member selects nothing: the maker's line keeps the device context's font and the
  // year's line keeps the one the author's line selected.
  const Line lines[] = {
      {&m_makerFont, kMakerName, 1, 2, 5},
      {&m_titleFont, kAuthorName, 3, 4, 25},
      {&m_yearFont, kReleaseYear, 9, 10, 45},
  };
  for (const Line& line : lines) {
    dc.SelectObject(line.font);
    const CSize extent = dc.GetTextExtent(line.text, lstrlen(line.text));
    const int x = line.numerator * (width - extent.cx) / line.denominator;
    dc.DrawState(CPoint(x, line.y), extent, line.text, DST_PREFIXTEXT | DSS_DISABLED, TRUE, 0,
                 static_cast<HBRUSH>(nullptr));
  }
}

void AboutDialog::OnLButtonDown(UINT flags, CPoint point) {
  EndDialog(IDCANCEL);
  CDialog::OnLButtonDown(flags, point);
}
