// Windows stand-in: the machine's state and services: clipboard, keyboard, GDI records and the font
// metric, font enumeration, registry, shell requests, resources and the window snapshot.
#include <shellapi.h>

#include <cstring>
#include <set>

#include "Fixture.h"
#include "data/TestResource.h"

namespace {

using Entries = std::vector<std::string>;
using Devices = WindowSystemTest;

// ---- Clipboard ----

TEST_F(Devices, ClipboardHoldsTextAndRegisteredFormats) {
  UINT rtf = RegisterClipboardFormat("Rich Text Format");
  EXPECT_GE(rtf, 0xC000u);
  EXPECT_EQ(RegisterClipboardFormat("rich text format"), rtf) << "names are case-blind";
  ASSERT_TRUE(OpenClipboard(nullptr));
  EXPECT_FALSE(OpenClipboard(nullptr)) << "open once at a time";
  EmptyClipboard();
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, 4);
  std::memcpy(GlobalLock(memory), "abc", 4);
  GlobalUnlock(memory);
  SetClipboardData(CF_TEXT, memory);
  CloseClipboard();
  EXPECT_TRUE(IsClipboardFormatAvailable(CF_TEXT));
  EXPECT_FALSE(IsClipboardFormatAvailable(rtf));
  EXPECT_EQ(qwin::ClipboardText(), std::optional<std::string>("abc"));
  qwin::SetClipboardFormats({CF_BITMAP});
  EXPECT_FALSE(IsClipboardFormatAvailable(CF_TEXT)) << "an image only";
  qwin::SetClipboardOpenFails(true);
  EXPECT_FALSE(OpenClipboard(nullptr));
}

// ---- Keyboard ----

TEST_F(Devices, KeyStateAndLayoutAsTheFrontEndSetsThem) {
  BYTE keys[256];
  qwin::SetKeyToggled(VK_CAPITAL, true);
  GetKeyboardState(keys);
  EXPECT_EQ(keys[VK_CAPITAL], 1) << "on and not held down reads exactly 1";
  qwin::SetKeyDown(VK_CAPITAL, true);
  GetKeyboardState(keys);
  EXPECT_EQ(keys[VK_CAPITAL], 0x81);
  EXPECT_LT(GetKeyState(VK_CAPITAL), 0);
  char layout[KL_NAMELENGTH];
  GetKeyboardLayoutName(layout);
  EXPECT_STREQ(layout, "00000409");
  qwin::SetKeyboardLayoutName("00000419");
  GetKeyboardLayoutName(layout);
  EXPECT_STREQ(layout, "00000419");
}

// ---- GDI ----

TEST_F(Devices, DrawingIsRecordedWithTheDeviceContextsState) {
  HWND frame = CreateFrame();
  HWND child = CreateChild(frame, "STATIC", 12, 0);
  HDC dc = GetDC(child);
  LOGFONT lf{};
  lf.lfHeight = -12;
  lf.lfWeight = FW_BOLD;
  std::strcpy(lf.lfFaceName, "Arial");
  HFONT font = CreateFontIndirect(&lf);
  HGDIOBJ old = SelectObject(dc, font);
  SetTextColor(dc, RGB(255, 0, 0));
  SetBkMode(dc, TRANSPARENT);
  RECT r{0, 0, 50, 14};
  HBRUSH brush = CreateSolidBrush(RGB(0, 0, 128));
  FillRect(dc, &r, brush);
  DrawText(dc, "Arial", -1, &r, DT_SINGLELINE | DT_VCENTER);
  DrawState(dc, nullptr, nullptr, reinterpret_cast<LPARAM>("Maker"), 0, 3, 5, 30, 13, DST_PREFIXTEXT | DSS_DISABLED);
  DrawFrameControl(dc, &r, DFC_SCROLL, DFCS_SCROLLSIZEGRIP);
  SelectObject(dc, old);
  ReleaseDC(child, dc);
  EXPECT_EQ(qwin::GdiRecord(),
            (Entries{"[12] FillRect rect=0,0,50,14 brush #000080",
                     "[12] DrawText \"Arial\" rect=0,0,50,14 flags=0x24 font=Arial/-12/bold color=#ff0000 transparent",
                     "[12] DrawState prefixtext \"Maker\" at 3,5 size 30x13 state=0x20 font=Arial/-12/bold "
                     "color=#ff0000 transparent",
                     "[12] DrawFrameControl rect=0,0,50,14 type=3 state=0x8"}));
  int live = qwin::LiveGdiObjects();
  DeleteObject(font);
  DeleteObject(brush);
  EXPECT_EQ(qwin::LiveGdiObjects(), live - 2);
}

TEST_F(Devices, TextExtentsFollowTheSimpleFontMetric) {
  HDC dc = GetDC(nullptr);
  struct Case {
    LONG height;
    LONG cellHeight;
    LONG charWidth;
  };
  // the cell is 6/5 of the character height; a character is 6/13 of the cell wide
  const Case cases[] = {{-11, 13, 6}, {-16, 19, 9}, {-12, 14, 6}, {20, 20, 9}};
  for (const auto& c : cases) {
    HFONT font = CreateFont(c.height, 0, 0, 0, FW_NORMAL, 0, 0, 0, 0, 0, 0, 0, 0, "Verdana");
    SelectObject(dc, font);
    SIZE size;
    GetTextExtentPoint32(dc, "abcd", 4, &size);
    EXPECT_EQ(size.cy, c.cellHeight) << c.height;
    EXPECT_EQ(size.cx, 4 * c.charWidth) << c.height;
    DeleteObject(font);
  }
  ReleaseDC(nullptr, dc);
}

// ---- Fonts ----

int CALLBACK Collect(const LOGFONT* lf, const TEXTMETRIC*, DWORD type, LPARAM data) {
  auto* out = reinterpret_cast<Entries*>(data);
  out->push_back(std::string(lf->lfFaceName) + "/" + std::to_string(lf->lfCharSet) + "/" + std::to_string(type) +
                 "/" + std::to_string(lf->lfPitchAndFamily));
  return 1;
}

TEST_F(Devices, EnumFontsListsEachCatalogueFaceOnceWithCharsetTypeAndFamily) {
  Entries faces;
  EnumFonts(nullptr, nullptr, Collect, reinterpret_cast<LPARAM>(&faces));
  auto has = [&](const std::string& entry) { return std::find(faces.begin(), faces.end(), entry) != faces.end(); };
  EXPECT_TRUE(has("Arial/0/4/34")) << "TrueType, variable pitch, swiss";
  EXPECT_TRUE(has("Symbol/2/4/18")) << "a symbol face";
  EXPECT_TRUE(has("Terminal/255/1/49")) << "an OEM raster face";
  EXPECT_TRUE(has("MS Sans Serif/0/1/34")) << "a raster face";
  EXPECT_TRUE(has("Courier 10cpi/0/2/49")) << "a device face";
  EXPECT_EQ(std::count_if(faces.begin(), faces.end(), [](const std::string& f) { return f.rfind("Arial/", 0) == 0; }), 1);
  Entries arial;
  EnumFonts(nullptr, "arial", Collect, reinterpret_cast<LPARAM>(&arial));
  EXPECT_EQ(arial.size(), 6u) << "a named face lists each of its character sets";
}

TEST_F(Devices, EnumerationStopsWhenTheCallbackSaysSo) {
  int calls = 0;
  struct Stop {
    static int CALLBACK Proc(const LOGFONT*, const TEXTMETRIC*, DWORD, LPARAM data) {
      ++*reinterpret_cast<int*>(data);
      return 0;
    }
  };
  EXPECT_EQ(EnumFonts(nullptr, nullptr, Stop::Proc, reinterpret_cast<LPARAM>(&calls)), 0);
  EXPECT_EQ(calls, 1);
}

// ---- Registry and shell ----

TEST_F(Devices, RegistryReadsDefaultValuesFromTheStandInStore) {
  qwin::SetRegistryValue(HKEY_CLASSES_ROOT, ".htm", "", "htmlfile");
  qwin::SetRegistryValue(HKEY_CLASSES_ROOT, "htmlfile\\shell\\open\\command", "", "\"C:\\b.exe\" -nohome \"%1\"");
  char value[260];
  LONG size = sizeof value;
  EXPECT_EQ(RegQueryValue(HKEY_CLASSES_ROOT, ".HTM", value, &size), ERROR_SUCCESS);
  EXPECT_STREQ(value, "htmlfile");
  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyEx(HKEY_CLASSES_ROOT, "htmlfile\\shell", 0, KEY_QUERY_VALUE, &key), ERROR_SUCCESS);
  size = sizeof value;
  EXPECT_EQ(RegQueryValue(key, "open\\command", value, &size), ERROR_SUCCESS);
  EXPECT_STREQ(value, "\"C:\\b.exe\" -nohome \"%1\"");
  RegCloseKey(key);
  size = 4;
  EXPECT_EQ(RegQueryValue(HKEY_CLASSES_ROOT, ".htm", value, &size), ERROR_MORE_DATA);
  EXPECT_EQ(RegQueryValue(HKEY_CLASSES_ROOT, ".html", value, &size), ERROR_FILE_NOT_FOUND);
}

TEST_F(Devices, ShellRequestsAreRecordedWithTheConfiguredResults) {
  EXPECT_GT(reinterpret_cast<intptr_t>(ShellExecute(nullptr, "open", "mailto:a@b", nullptr, nullptr, SW_SHOW)), 32);
  qwin::SetShellExecuteResult(SE_ERR_NOASSOC);
  EXPECT_EQ(reinterpret_cast<intptr_t>(ShellExecute(nullptr, "open", "http://x", nullptr, nullptr, SW_SHOW)),
            SE_ERR_NOASSOC);
  EXPECT_EQ(WinExec("Charmap.exe", SW_SHOW), 33u);
  ASSERT_EQ(qwin::ShellRequests().size(), 3u);
  EXPECT_EQ(qwin::ShellRequests()[0].file, "mailto:a@b");
  EXPECT_EQ(qwin::ShellRequests()[2].commandLine, "Charmap.exe");
  EXPECT_EQ(qwin::ShellRequests()[2].showCommand, SW_SHOW);
}

// ---- Resources ----

TEST_F(Devices, ResourcesAreFoundByModuleAndId) {
  HMODULE module = GetModuleHandle(nullptr);
  char text[32];
  EXPECT_EQ(LoadString(module, IDS_HELLO, text, sizeof text), 13);
  EXPECT_STREQ(text, "\xcf\xf0\xe8\xe2\xe5\xf2, \"\xec\xe8\xf0\"");
  LoadString(module, IDS_PLAIN, text, sizeof text);
  EXPECT_STREQ(text, "plain\ttext");
  BITMAP bm{};
  HBITMAP face = LoadBitmap(module, MAKEINTRESOURCE(IDB_FACE));
  ASSERT_TRUE(face);
  GetObject(face, sizeof bm, &bm);
  EXPECT_EQ(bm.bmWidth, 20);
  EXPECT_EQ(bm.bmHeight, 17);
  EXPECT_TRUE(LoadIcon(module, MAKEINTRESOURCE(IDI_APP)));
  HCURSOR pointer = LoadCursor(module, MAKEINTRESOURCE(IDC_POINTER));
  ASSERT_TRUE(pointer);
  SetCursor(pointer);
  EXPECT_EQ(qwin::CurrentCursorName(), "resource 302");
  SetCursor(LoadCursor(nullptr, IDC_WAIT));
  EXPECT_EQ(qwin::CurrentCursorName(), "wait");
  EXPECT_FALSE(FindResource(module, MAKEINTRESOURCE(999), RT_DIALOG));
  EXPECT_FALSE(LoadBitmap(GetModuleHandle("no-such-module"), MAKEINTRESOURCE(IDB_FACE)));
}

// ---- Snapshot ----

TEST_F(Devices, SnapshotShowsTheTreeWithStateAndComboItems) {
  HWND dialog = CreateDialogParam(GetModuleHandle(nullptr), MAKEINTRESOURCE(IDD_SMALL), nullptr, nullptr, 0);
  HWND combo = CreateChild(dialog, "COMBOBOX", 7, CBS_DROPDOWNLIST, "", RECT{2, 30, 62, 130});
  SendMessage(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("A"));
  SendMessage(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("B"));
  SendMessage(combo, CB_SETCURSEL, 1, 0);
  EnableWindow(combo, FALSE);
  EXPECT_EQ(qwin::Snapshot(dialog),
            "#32770 20,20,166x105 \"Small\" style=0x80c00000 hidden\n"
            "  STATIC -1 8,8,120x16 \"No font\" style=0x50020000 exstyle=0x4\n"
            "  COMBOBOX 7 2,30,60x21 \"B\" style=0x58000003 disabled sel=1\n"
            "    items: \"A\" \"B\"*\n");
}

}  // namespace

namespace {

TEST_F(Devices, MachineFacesJoinTheCatalogueEachFaceOnce) {
  qwin::SetMachineFontsEnabled(true);
  Entries faces;
  EnumFonts(nullptr, nullptr, Collect, reinterpret_cast<LPARAM>(&faces));
  qwin::SetMachineFontsEnabled(false);
  Entries catalogue;
  EnumFonts(nullptr, nullptr, Collect, reinterpret_cast<LPARAM>(&catalogue));
  EXPECT_GE(faces.size(), catalogue.size());
  std::set<std::string> names;
  for (const auto& f : faces) {
    std::string name = f.substr(0, f.find('/'));
    EXPECT_TRUE(names.insert(name).second) << name << " is listed twice";
  }
}

}  // namespace
