// The editor dialog: construction, data exchange, message map, initialisation, the toolbar's
// actions and the actions that move, replace or close the target.
#include "dialog/MTextEditorDialog.h"

#include <acedads.h>
#include <adscodes.h>
#include <dbcolor.h>

#include <cstdlib>

#include <aced.h>

#include "controls/AboutDialog.h"
#include "converter/DrawingUnits.h"
#include "converter/KeptCodes.h"
#include "dialog/FindDialog.h"
#include "host/Angles.h"
#include "host/DrawingAdapter.h"
#include "host/EditTarget.h"
#include "host/EditingRun.h"
#include "host/HostColors.h"
#include "host/TextSelection.h"

namespace {

// The control's default face: text in it is in the text style's font.
constexpr char kDefaultFace[] = "MS Sans Serif";

// The button faces in the order they are loaded; 0 for the face that no button shows.
struct Face {
  UINT bitmap;
  int button;
};
const Face kFaces[MTextEditorDialog::kFaceCount] = {
    {IDB_CUT, IDC_CUT},
    {IDB_COPY, IDC_COPY},
    {IDB_PASTE, IDC_PASTE},
    {IDB_JUSTIFY_LEFT, IDC_JUSTIFY_LEFT},
    {IDB_JUSTIFY_CENTRE, IDC_JUSTIFY_CENTRE},
    {IDB_JUSTIFY_RIGHT, IDC_JUSTIFY_RIGHT},
    {IDB_ABOUT, IDC_ABOUT},
    {IDB_EXIT, IDCANCEL},
    {IDB_EDIT_TEXT, IDC_EDIT_TEXT},
    {IDB_UNDO, IDC_UNDO},
    {IDB_PICK_POINT, IDC_PICK_POINT},
    {IDB_BOLD, IDC_BOLD},
    {IDB_ITALIC, IDC_ITALIC},
    {IDB_UNDERLINE, IDC_UNDERLINE},
    {IDB_TEXT_COLOUR, 0},
    {IDB_SPACING_DOWN, IDC_SPACING_DOWN},
    {IDB_SPACING_UP, IDC_SPACING_UP},
    {IDB_SYMBOL, IDC_SYMBOL},
    {IDB_OFFSET_DIRECTION, IDC_OFFSET_DIRECTION},
    {IDB_OFFSET_X, IDC_OFFSET_X},
    {IDB_OFFSET_Y, IDC_OFFSET_Y},
    {IDB_DYNAMIC_MODE, IDC_DYNAMIC_MODE},
};

// The tooltips in the order they are registered.
struct Tip {
  int control;
  const char* text;
};
const Tip kTips[] = {
    {IDC_CUT, "Вырезать"},
    {IDC_COPY, "Копировать"},
    {IDC_PASTE, "Вставить"},
    {IDC_JUSTIFY_LEFT, "Юстировка левая"},
    {IDC_JUSTIFY_CENTRE, "Юстировка центр"},
    {IDC_JUSTIFY_RIGHT, "Юстировка правая"},
    {IDC_PICK_POINT, "Выбрать точку вставки"},
    {IDC_ABOUT, "О программе"},
    {IDCANCEL, "Выход"},
    {IDC_STYLE, "Стиль"},
    {IDC_HEIGHT, "Высота букв"},
    {IDC_ROTATION, "Поворот текста"},
    {IDC_UNDO, "Отменить"},
    {IDC_EDIT_TEXT, "Редактирование текста"},
    {IDC_BOLD, "Полужирный"},
    {IDC_ITALIC, "Курсив"},
    {IDC_UNDERLINE, "Подчеркнутый"},
    {IDC_COLOR, "Выделение цветом"},
    {IDC_SPACING_DOWN, "Убавить межстрочный интервал"},
    {IDC_SPACING_UP, "Прибавить межстрочный интервал"},
    {IDC_SYMBOL, "Выбор символа (только из шрифтов \"ttf\")"},
    {IDC_FONT, "Шрифт"},
    {IDC_SPACING_STYLE, "Межстрочный интервал"},
    {IDC_OFFSET_DIRECTION, "Изменения направления смещения"},
    {IDC_OFFSET_X, "Смещение по X"},
    {IDC_OFFSET_Y, "Смещение по Y"},
    {IDC_DYNAMIC_MODE, "Динамический режим Вкл/Откл"},
    {IDC_WIDTH, "Ширина текста"},
};

// The rich edit's largest text limit (EM_EXLIMITTEXT).
constexpr long kLargestTextLimit = 0x7FFFFFFF;
// How far a nudge moves the text, in drawing units.
constexpr double kNudgeStep = 0.5;
const char kPickPointPrompt[] = "\nВыберите точку вставки: ";

// The text of a combo box's selected item; false when nothing is selected.
bool SelectedText(CComboBox& combo, CString& text) {
  const int item = combo.GetCurSel();
  if (item < 0) return false;
  combo.GetLBText(item, text);
  return true;
}

}  // namespace

MTextEditorDialog::MTextEditorDialog(CWnd* parent)
    : CAcUiDialog(IDD, parent),
      m_richEdit(keptcodes::kCodeFace),
      m_toolTip(nullptr),
      m_icon(AfxGetApp()->LoadIcon(IDI_QUILLON)),
      m_boldCheck(0),
      m_italicCheck(0),
      m_underlineCheck(0),
      m_offsetDirection(0),
      m_dynamicMode(0),
      m_rememberSize(true),
      m_showGrip(true),
      m_minTrackSize(0, 0),
      m_lastClientSize(0, 0),
      m_sizeChanged(false),
      m_dialogId(IDD) {
  m_anchors.Add(MAKELONG(IDC_RICHEDIT, kStretchRight | kStretchDown));
  m_anchors.Add(MAKELONG(IDC_CAP_PANE, kMoveRight | kMoveDown));
  m_anchors.Add(MAKELONG(IDC_NUM_PANE, kMoveRight | kMoveDown));
  m_anchors.Add(MAKELONG(IDC_LAYOUT_PANE, kMoveRight | kMoveDown));
}

MTextEditorDialog::~MTextEditorDialog() { delete m_toolTip; }

CString MTextEditorDialog::GetDialogKey() {
  CString key;
  key.Format("%x", m_dialogId);
  return key;
}

void MTextEditorDialog::DoDataExchange(CDataExchange* dx) {
  CAcUiDialog::DoDataExchange(dx);
  DDX_Control(dx, IDC_DYNAMIC_MODE, m_dynamicModeCheck);
  DDX_Control(dx, IDC_WIDTH, m_widthEdit);
  DDX_Control(dx, IDC_OFFSET_DIRECTION, m_offsetDirectionCheck);
  DDX_Control(dx, IDC_OFFSET_Y, m_offsetYButton);
  DDX_Control(dx, IDC_OFFSET_X, m_offsetXButton);
  DDX_Control(dx, IDC_SPACING_STYLE, m_spacingStyleCombo);
  DDX_Control(dx, IDC_SPACING_UP, m_spacingUpButton);
  DDX_Control(dx, IDC_SPACING_DOWN, m_spacingDownButton);
  DDX_Control(dx, IDC_SYMBOL, m_symbolButton);
  DDX_Control(dx, IDC_FONT, m_fontCombo);
  DDX_Control(dx, IDC_RICHEDIT, m_richEdit);
  DDX_Control(dx, IDC_BOLD, m_boldButton);
  DDX_Control(dx, IDC_COLOR, m_colorCombo);
  DDX_Control(dx, IDC_PICK_POINT, m_pickPointButton);
  DDX_Control(dx, IDC_ROTATION, m_rotationCombo);
  DDX_Control(dx, IDC_HEIGHT, m_heightCombo);
  DDX_Control(dx, IDCANCEL, m_exitButton);
  DDX_Control(dx, IDC_STYLE, m_styleCombo);
  DDX_Control(dx, IDC_UNDO, m_undoButton);
  DDX_Control(dx, IDC_ABOUT, m_aboutButton);
  DDX_Control(dx, IDC_PASTE, m_pasteButton);
  DDX_Control(dx, IDC_EDIT_TEXT, m_editTextButton);
  DDX_Control(dx, IDC_CUT, m_cutButton);
  DDX_Control(dx, IDC_COPY, m_copyButton);
  DDX_Control(dx, IDC_JUSTIFY_RIGHT, m_justifyRightButton);
  DDX_Control(dx, IDC_JUSTIFY_CENTRE, m_justifyCentreButton);
  DDX_Control(dx, IDC_JUSTIFY_LEFT, m_justifyLeftButton);
  DDX_Control(dx, IDC_ITALIC, m_italicButton);
  DDX_Control(dx, IDC_UNDERLINE, m_underlineButton);
  DDX_Control(dx, IDC_LAYOUT_PANE, m_layoutPane);
  DDX_Control(dx, IDC_CAP_PANE, m_capPane);
  DDX_Control(dx, IDC_NUM_PANE, m_numPane);
  DDX_CBString(dx, IDC_STYLE, m_styleText);
  DDX_CBString(dx, IDC_HEIGHT, m_heightText);
  DDX_CBString(dx, IDC_ROTATION, m_rotationText);
  DDX_Check(dx, IDC_BOLD, m_boldCheck);
  DDX_Check(dx, IDC_ITALIC, m_italicCheck);
  DDX_Check(dx, IDC_UNDERLINE, m_underlineCheck);
  DDX_Text(dx, IDC_RICHEDIT, m_richText);
  DDX_Check(dx, IDC_OFFSET_DIRECTION, m_offsetDirection);
  DDX_Check(dx, IDC_DYNAMIC_MODE, m_dynamicMode);
}

BEGIN_MESSAGE_MAP(MTextEditorDialog, CAcUiDialog)
ON_WM_SYSCOMMAND()
ON_BN_CLICKED(IDC_ABOUT, OnAboutButton)
ON_WM_PAINT()
ON_CBN_SELENDOK(IDC_STYLE, OnStyleSelected)
ON_CBN_SELENDOK(IDC_HEIGHT, OnHeightSelected)
ON_WM_SHOWWINDOW()
ON_BN_CLICKED(IDC_EDIT_TEXT, OnEditTextButton)
ON_BN_CLICKED(IDC_UNDO, OnUndoButton)
ON_BN_CLICKED(IDC_CUT, OnCutButton)
ON_BN_CLICKED(IDC_COPY, OnCopyButton)
ON_BN_CLICKED(IDC_PASTE, OnPasteButton)
ON_BN_CLICKED(IDC_JUSTIFY_LEFT, OnJustifyLeft)
ON_BN_CLICKED(IDC_JUSTIFY_CENTRE, OnJustifyCentre)
ON_BN_CLICKED(IDC_JUSTIFY_RIGHT, OnJustifyRight)
ON_BN_CLICKED(IDC_PICK_POINT, OnPickPointButton)
ON_CBN_EDITCHANGE(IDC_ROTATION, OnRotationEdited)
ON_CBN_SELENDOK(IDC_ROTATION, OnRotationSelected)
ON_CBN_SELENDOK(IDC_COLOR, OnColorSelected)
ON_BN_CLICKED(IDC_ITALIC, OnItalicButton)
ON_BN_CLICKED(IDC_UNDERLINE, OnUnderlineButton)
ON_BN_CLICKED(IDC_BOLD, OnBoldButton)
ON_CONTROL(EditorRichEdit::kTextChangedCode, IDC_RICHEDIT, OnRichTextChanged)
ON_EN_MAXTEXT(IDC_RICHEDIT, OnRichTextFull)
ON_CBN_SELENDOK(IDC_FONT, OnFontSelected)
ON_CONTROL(EditorRichEdit::kSelectionChangedCode, IDC_RICHEDIT, OnRichSelectionChanged)
ON_BN_CLICKED(IDC_SYMBOL, OnSymbolButton)
ON_BN_CLICKED(IDC_SPACING_UP, OnSpacingUp)
ON_BN_CLICKED(IDC_SPACING_DOWN, OnSpacingDown)
ON_CBN_SELENDOK(IDC_SPACING_STYLE, OnSpacingStyleSelected)
ON_BN_CLICKED(IDC_OFFSET_X, OnOffsetXButton)
ON_BN_CLICKED(IDC_OFFSET_Y, OnOffsetYButton)
ON_BN_CLICKED(IDC_OFFSET_DIRECTION, OnOffsetDirection)
ON_EN_KILLFOCUS(IDC_WIDTH, OnWidthKillFocus)
ON_CBN_EDITCHANGE(IDC_HEIGHT, OnHeightEdited)
ON_BN_CLICKED(IDC_DYNAMIC_MODE, OnDynamicMode)
ON_WM_SIZE()
ON_WM_GETMINMAXINFO()
ON_WM_DESTROY()
ON_WM_CREATE()
ON_WM_NCHITTEST()
ON_WM_QUERYDRAGICON()
ON_WM_CONTEXTMENU()
END_MESSAGE_MAP()

BOOL MTextEditorDialog::OnInitDialog() {
  CAcUiDialog::OnInitDialog();
  SetIcon(m_icon, TRUE);
  SetIcon(m_icon, FALSE);
  if (m_rememberSize) RestoreRememberedSize();

  if (CMenu* systemMenu = GetSystemMenu(FALSE)) {
    systemMenu->AppendMenu(MF_SEPARATOR);
    systemMenu->AppendMenu(MF_STRING, IDM_ABOUTBOX, "О программе..");
  }

  for (int i = 0; i < kFaceCount; ++i) {
    m_bitmaps[i].LoadBitmap(kFaces[i].bitmap);
    if (kFaces[i].button == 0) continue;
    if (auto* button = static_cast<CButton*>(GetDlgItem(kFaces[i].button))) button->SetBitmap(m_bitmaps[i]);
  }

  if (m_richEdit.m_hWnd == nullptr) m_richEdit.SubclassDlgItem(IDC_RICHEDIT, this);
  m_richEdit.SetEventMask(ENM_CHANGE | ENM_SCROLL | 0x200 | ENM_SELCHANGE);
  // Texts longer than the control's default limit load; they must stay editable as well.
  m_richEdit.LimitText(kLargestTextLimit);
  CreateToolTips();
  m_fontCombo.Fill();
  theEditTarget.liveUpdate = true;

  for (const CString& name : TextStyleNames()) m_styleCombo.AddString(name);

  m_rotationCombo.AddString("0");
  m_rotationCombo.AddString("90");
  for (const char* height : {"1.8", "2.5", "3.5", "5", "7", "10", "18"}) m_heightCombo.AddString(height);
  m_spacingStyleCombo.AddString("Не менее");
  m_spacingStyleCombo.AddString("Точно");
  if (theEditTarget.lineSpacingStyle == SpacingStyle::kAtLeast) m_spacingStyleCombo.SelectString(-1, "Не менее");
  if (theEditTarget.lineSpacingStyle == SpacingStyle::kExactly) m_spacingStyleCombo.SelectString(-1, "Точно");

  theEditTarget.offsetMode = OffsetMode::kNegative;
  m_dynamicMode = 1;
  if (theEditTarget.lineSpacingFactor == 0.0) theEditTarget.lineSpacingFactor = 1.0;
  m_widthEdit.SetAllowedChars("1 2 3 4 5 6 7 8 9 0  .", TRUE);
  LoadTargetIntoEditor(*this);
  return TRUE;
}

// The exit: Escape, the close box and the exit button all end here.
void MTextEditorDialog::OnCancel() {
  FinishTarget();
  CAcUiDialog::OnCancel();
}

// Enter: in a box it applies the box's value and returns to the text (an open list has taken
// it already, to choose its item). The dialog never ends here: only the exit finishes the target.
void MTextEditorDialog::OnOK() {
  CWnd* box = GetFocus();
  if (box != nullptr && box->GetParent() != this) box = box->GetParent();  // a combo's own edit
  CString text;
  switch (box != nullptr ? box->GetDlgCtrlID() : 0) {
    case IDC_HEIGHT:
      OnHeightEdited();
      break;
    case IDC_ROTATION:
      OnRotationEdited();
      break;
    case IDC_STYLE:
      m_styleCombo.GetWindowText(text);
      if (m_styleCombo.SelectString(-1, text) >= 0) ApplyStyleAction();
      break;
    case IDC_SPACING_STYLE:
      m_spacingStyleCombo.GetWindowText(text);
      if (m_spacingStyleCombo.SelectString(-1, text) >= 0) ApplyLineSpacingStyle();
      break;
    default:
      break;  // the width edit applies its value when it loses the focus, below
  }
  m_richEdit.SetFocus();
}

// The drawing holds what the editor shows, and an MText left empty is erased.
void MTextEditorDialog::FinishTarget() {
  if (!theEditTarget.liveUpdate) CommitEditor(*this);
  EraseTargetIfEmpty();
}

// The control's own text counts, not the last exchanged one: an editor that was never exchanged
// still shows its text. A dimension is never erased.
void MTextEditorDialog::EraseTargetIfEmpty() {
  if (!theEditTarget.isDimension) EraseIfEmpty(m_richEdit.GetWindowTextLength() == 0, theEditTarget.entityName);
}

BOOL MTextEditorDialog::PreTranslateMessage(MSG* msg) {
  if (m_toolTip != nullptr) m_toolTip->RelayEvent(msg);
  if (EffectKey(*msg) || FindKey(*msg)) return TRUE;
  UpdateStatusPanes();
  return CAcUiDialog::PreTranslateMessage(msg);
}

// ---- Handlers: each hands over to its action ----

void MTextEditorDialog::OnSysCommand(UINT id, LPARAM lParam) {
  if ((id & 0xFFF0) == IDM_ABOUTBOX) {
    ShowAboutBox();
    return;
  }
  CAcUiDialog::OnSysCommand(id, lParam);
}

void MTextEditorDialog::OnAboutButton() { ShowAboutBox(); }

void MTextEditorDialog::OnShowWindow(BOOL show, UINT status) {
  CAcUiDialog::OnShowWindow(show, status);
  m_richEdit.SetFocus();
}

void MTextEditorDialog::OnStyleSelected() {
  ApplyStyleAction();
  m_richEdit.SetFocus();
}

void MTextEditorDialog::OnHeightSelected() {
  CString text;
  if (SelectedText(m_heightCombo, text)) ApplyHeightAction(text);
  m_richEdit.SetFocus();
}

void MTextEditorDialog::OnEditTextButton() { EditAnotherText(); }
void MTextEditorDialog::OnPickPointButton() { PickInsertionPoint(); }
void MTextEditorDialog::OnOffsetXButton() { NudgeX(); }
void MTextEditorDialog::OnOffsetYButton() { NudgeY(); }
void MTextEditorDialog::OnOffsetDirection() { SetOffsetMode(); }

void MTextEditorDialog::OnUndoButton() { m_richEdit.Undo(); }
void MTextEditorDialog::OnCutButton() { m_richEdit.Cut(); }
void MTextEditorDialog::OnCopyButton() { m_richEdit.Copy(); }
void MTextEditorDialog::OnPasteButton() { m_richEdit.LimitedPaste(); }

void MTextEditorDialog::OnJustifyLeft() { ApplyJustification(Justification::kLeft); }
void MTextEditorDialog::OnJustifyCentre() { ApplyJustification(Justification::kCentre); }
void MTextEditorDialog::OnJustifyRight() { ApplyJustification(Justification::kRight); }

void MTextEditorDialog::OnRotationEdited() {
  UpdateData(TRUE);
  ApplyRotation(std::atof(m_rotationText));
}

void MTextEditorDialog::OnRotationSelected() {
  CString text;
  if (SelectedText(m_rotationCombo, text)) theEditTarget.rotation = Radians(std::atof(text));
  WriteTarget();
  m_richEdit.SetFocus();
}

void MTextEditorDialog::OnColorSelected() {
  if (m_colorCombo.GetCurSel() >= 0) ApplyColourAction();
  m_richEdit.SetFocus();
}

void MTextEditorDialog::OnBoldButton() { ToggleEffectAction(CFE_BOLD); }
void MTextEditorDialog::OnItalicButton() { ToggleEffectAction(CFE_ITALIC); }
void MTextEditorDialog::OnUnderlineButton() { ToggleEffectAction(CFE_UNDERLINE); }

void MTextEditorDialog::OnRichTextChanged() { RichTextChanged(*this); }
void MTextEditorDialog::OnRichTextFull() { SayTextIsFull(); }
void MTextEditorDialog::OnRichSelectionChanged() { UpdateFromSelection(); }
void MTextEditorDialog::OnFontSelected() { ApplyFontAction(); }
void MTextEditorDialog::OnSymbolButton() { StartSymbolPicker(); }
void MTextEditorDialog::OnSpacingUp() { ChangeLineSpacing(true); }
void MTextEditorDialog::OnSpacingDown() { ChangeLineSpacing(false); }
void MTextEditorDialog::OnSpacingStyleSelected() { ApplyLineSpacingStyle(); }

void MTextEditorDialog::OnWidthKillFocus() {
  BeginWaitCursor();
  CString text;
  m_widthEdit.GetWindowText(text);
  TakeWidthText(text);
  CommitEditor(*this);
  EndWaitCursor();
}

void MTextEditorDialog::OnHeightEdited() {
  CString text;
  m_heightCombo.GetWindowText(text);
  ApplyHeightAction(text);
}

void MTextEditorDialog::OnDynamicMode() {
  UpdateData(TRUE);
  if (m_dynamicMode == 1) {
    theEditTarget.liveUpdate = true;
    CommitEditor(*this);
  } else {
    theEditTarget.liveUpdate = false;
  }
  m_richEdit.SetFocus();
}

int MTextEditorDialog::OnCreate(LPCREATESTRUCT cs) {
  if (CAcUiDialog::OnCreate(cs) == -1) return -1;
  m_minTrackSize = CSize(cs->cx, cs->cy);
  return 0;
}

void MTextEditorDialog::OnGetMinMaxInfo(MINMAXINFO* info) {
  if (m_minTrackSize.cx != 0) {
    info->ptMinTrackSize = CPoint(m_minTrackSize.cx, m_minTrackSize.cy);
    return;
  }
  CAcUiDialog::OnGetMinMaxInfo(info);
}

void MTextEditorDialog::OnDestroy() {
  SaveSize();
  m_minTrackSize = CSize(0, 0);
  m_lastClientSize = CSize(0, 0);
  m_sizeChanged = false;
  CAcUiDialog::OnDestroy();
}

HCURSOR MTextEditorDialog::OnQueryDragIcon() { return CAcUiDialog::OnQueryDragIcon(); }
void MTextEditorDialog::OnContextMenu(CWnd* wnd, CPoint point) { CAcUiDialog::OnContextMenu(wnd, point); }

// ---- The editor as the editing run reaches it ----

void MTextEditorDialog::ShowTarget(const ShownTarget& shown) {
  switch (shown.justification) {
    case Justification::kLeft: m_justifyLeftButton.SetCheck(1); break;
    case Justification::kCentre: m_justifyCentreButton.SetCheck(1); break;
    case Justification::kRight: m_justifyRightButton.SetCheck(1); break;
    default: break;
  }
  m_rotationText = shown.rotationText;
  m_styleText = shown.styleName;
  m_styleCombo.SelectString(-1, shown.styleName);
  m_heightText = shown.heightText;
  UpdateData(FALSE);
  const double points = shown.pointSize;
  m_richEdit.SetSize(points);
  m_richEdit.SetSize(points, TRUE);
  m_richEdit.SetSel(0, m_richText.GetLength());
  m_richEdit.SetBackgroundColor(FALSE, m_colorCombo.GetColorFromIndex(0));
  if (shown.rtf != nullptr) m_richEdit.SetRtf(*shown.rtf);
  m_widthEdit.SetWindowText(shown.widthText);
}

CString MTextEditorDialog::EditorRtf() { return m_richEdit.GetRtf(); }
void MTextEditorDialog::KeepConverted(const CString& contents) { m_mtextContents = contents; }

void MTextEditorDialog::WriteTarget() {
  UpdateData(TRUE);
  WriteTargetContents(m_mtextContents, m_styleText);
}

// ---- Actions ----

void MTextEditorDialog::ApplyColourAction() {
  int index = m_colorCombo.GetCurrentItemColorIndex();
  if (index == 256) index = m_colorCombo.GetLayerColorIndex();
  CHARFORMAT format = m_richEdit.GetSelectionFormat(EditorRichEdit::kFullFormatMask);
  format.dwEffects &= ~CFE_AUTOCOLOR;
  // ByBlock in the RGB that RtfToMText reads back as ByBlock.
  format.crTextColor =
      index == AcCmColor::kByBlock ? HostColors().RgbOfIndex(index) : m_colorCombo.GetColorFromIndex(index);
  format.dwMask = CFM_COLOR;
  m_richEdit.SetSelectionCharFormat(format);
}

void MTextEditorDialog::ApplyStyleAction() {
  if (SelectedText(m_styleCombo, theEditTarget.textStyleName)) {
    theEditTarget.textStyleId = StyleIdByName(theEditTarget.textStyleName);
  }
  UpdateBoldItalic();
  LiveUpdate(*this);
}

// The height is stored before the size is set, so that the change the size makes writes it.
// The size is known by the text typed, which comes back as typed.
void MTextEditorDialog::ApplyHeightAction(const CString& text) {
  theEditTarget.textHeight = std::atof(text);
  m_richEdit.SetSize(KnowTypedHeight(theEditTarget, text) / 2.0);
  WriteTarget();
}

void MTextEditorDialog::ApplyJustification(Justification justification) {
  theEditTarget.justification = justification;
  CButton* buttons[] = {&m_justifyLeftButton, &m_justifyCentreButton, &m_justifyRightButton};
  for (int i = 0; i < 3; ++i) {
    if (i != static_cast<int>(justification)) buttons[i]->SetCheck(0);
  }
  WriteTarget();
  m_richEdit.SetFocus();
}

void MTextEditorDialog::ApplyRotation(double degrees) {
  theEditTarget.rotation = Radians(degrees);
  WriteTarget();
}

// Bold and italic are left alone where the drawing cannot have them (BoldItalicOffered); the
// properties are written either way.
void MTextEditorDialog::ToggleEffectAction(DWORD effect) {
  if (effect == CFE_UNDERLINE || BoldItalicOffered()) m_richEdit.ToggleEffect(effect, effect);
  WriteTarget();
  m_richEdit.SetFocus();
}

// Text in the control's default face is in the text style's font. A shape font has no bold or
// italic, so they are not offered while the selection holds such text; on a TrueType style
// RtfToMText gives them the style's face.
bool MTextEditorDialog::BoldItalicOffered() {
  const CHARFORMAT format = m_richEdit.GetSelectionFormat(CFM_FACE);
  const bool defaultFace = !(format.dwMask & CFM_FACE) || CString(format.szFaceName) == kDefaultFace;
  return !defaultFace || !StyleTrueTypeFace(theEditTarget.textStyleId).IsEmpty();
}

// Greys bold and italic where they are not offered.
void MTextEditorDialog::UpdateBoldItalic() {
  const BOOL offered = BoldItalicOffered();
  m_boldButton.EnableWindow(offered);
  m_italicButton.EnableWindow(offered);
}

// Ctrl+B and Ctrl+I in the text area act as the buttons do, also when they are greyed.
bool MTextEditorDialog::EffectKey(const MSG& msg) {
  if (msg.message != WM_KEYDOWN || msg.hwnd != m_richEdit.m_hWnd || GetKeyState(VK_CONTROL) >= 0) return false;
  if (msg.wParam != 'B' && msg.wParam != 'I') return false;
  ToggleEffectAction(msg.wParam == 'B' ? CFE_BOLD : CFE_ITALIC);
  return true;
}

// Taken before the text area sees them: there Ctrl+H would be a backspace.
bool MTextEditorDialog::FindKey(const MSG& msg) {
  if (msg.message != WM_KEYDOWN || GetKeyState(VK_CONTROL) >= 0 || (msg.wParam != 'F' && msg.wParam != 'H')) {
    return false;
  }
  if (!m_findDialog) m_findDialog = std::make_unique<FindDialog>(m_richEdit);
  m_findDialog->Show(this, msg.wParam == 'F' ? FindDialog::Mode::kFind : FindDialog::Mode::kReplace);
  return true;
}

void MTextEditorDialog::ChangeLineSpacing(bool up) {
  double& factor = theEditTarget.lineSpacingFactor;
  if (up ? !(factor >= 0.9 && factor < 4.0) : !(factor > 1.0 && factor <= 4.1)) return;
  factor += up ? 0.01 : -0.01;
  WriteTarget();
  m_richEdit.SetFocus();
}

void MTextEditorDialog::ApplyLineSpacingStyle() {
  CString text;
  if (SelectedText(m_spacingStyleCombo, text)) {
    if (text == "Не менее") theEditTarget.lineSpacingStyle = SpacingStyle::kAtLeast;
    if (text == "Точно") theEditTarget.lineSpacingStyle = SpacingStyle::kExactly;
    WriteTarget();
  }
  m_richEdit.SetFocus();
}

void MTextEditorDialog::StartSymbolPicker() { WinExec("Charmap.exe", SW_SHOW); }

// The text area refused typing at its limit: the user hears and reads why.
void MTextEditorDialog::SayTextIsFull() {
  MessageBeep(MB_ICONEXCLAMATION);
  MessageBox("Текст достиг предельной длины, дальше вводить нельзя", "Quillon", MB_ICONEXCLAMATION);
}

void MTextEditorDialog::SetOffsetMode() {
  theEditTarget.offsetMode = m_offsetDirectionCheck.GetCheck() == 1 ? OffsetMode::kPositive : OffsetMode::kNegative;
}

// The tooltip control is replaced after every hand-over to the host and every About box.
void MTextEditorDialog::RenewToolTips() {
  if (m_toolTip != nullptr) m_toolTip->DestroyWindow();
  delete m_toolTip;
  m_toolTip = nullptr;
  CreateToolTips();
}

void MTextEditorDialog::CreateToolTips() {
  m_toolTip = new CToolTipCtrl;
  m_toolTip->Create(this);
  for (const Tip& tip : kTips) m_toolTip->AddTool(GetDlgItem(tip.control), tip.text);
  m_toolTip->Activate(TRUE);
}

void MTextEditorDialog::UpdateStatusPanes() {
  BYTE keys[256];
  GetKeyboardState(keys);
  m_capPane.SetWindowText(keys[VK_CAPITAL] == 1 ? "CAP" : "");
  m_numPane.SetWindowText(keys[VK_NUMLOCK] == 1 ? "NUM" : "");
  char layout[KL_NAMELENGTH] = "";
  GetKeyboardLayoutName(layout);
  CString tail = CString(layout).Right(3);
  if (tail == "419") m_layoutPane.SetWindowText("RUS");
  if (tail == "409") m_layoutPane.SetWindowText("LAT");
}

void MTextEditorDialog::RestoreRememberedSize() {
  CString section = GetDialogKey();
  int cx = static_cast<int>(AfxGetApp()->GetProfileInt(section, "CX", 0));
  int cy = static_cast<int>(AfxGetApp()->GetProfileInt(section, "CY", 0));
  if (cx != 0 && cy != 0) SetWindowPos(nullptr, 0, 0, cx, cy, SWP_NOMOVE | SWP_NOZORDER);
}

void MTextEditorDialog::SaveSize() {
  if (!m_rememberSize || !m_sizeChanged || m_lastClientSize.cx == 0 || m_lastClientSize.cy == 0) return;
  CRect window;
  GetWindowRect(window);
  CString section = GetDialogKey();
  AfxGetApp()->WriteProfileInt(section, "CX", window.Width());
  AfxGetApp()->WriteProfileInt(section, "CY", window.Height());
}

void MTextEditorDialog::OnSize(UINT type, int cx, int cy) {
  CAcUiDialog::OnSize(type, cx, cy);
  if (type == SIZE_MINIMIZED) return;
  const int dx = cx - m_lastClientSize.cx;
  const int dy = cy - m_lastClientSize.cy;
  if (m_lastClientSize.cx != 0) {
    m_sizeChanged = true;
    for (int i = 0; i < m_anchors.GetSize(); ++i) {
      const DWORD flags = HIWORD(m_anchors[i]);
      CWnd* control = GetDlgItem(LOWORD(m_anchors[i]));
      if (control == nullptr || flags == 0) continue;
      CRect rect;
      control->GetWindowRect(rect);
      ScreenToClient(rect);
      if (flags & kStretchRight) rect.right += dx;
      else if (flags & kMoveRight) rect.OffsetRect(dx, 0);
      if (flags & kStretchDown) rect.bottom += dy;
      else if (flags & kMoveDown) rect.OffsetRect(0, dy);
      control->MoveWindow(rect, TRUE);
    }
  }
  m_lastClientSize = CSize(cx, cy);
  if (m_showGrip) InvalidateRect(m_gripRect, TRUE);
}

// The grip is a scroll-bar arrow's size, in the bottom-right corner.
CSize MTextEditorDialog::GripSize() { return CSize(GetSystemMetrics(SM_CXHSCROLL), GetSystemMetrics(SM_CYVSCROLL)); }

void MTextEditorDialog::OnPaint() {
  CPaintDC dc(this);
  CRect client;
  GetClientRect(client);
  if (m_showGrip) {
    m_gripRect = CRect(client.BottomRight() - GripSize(), GripSize());
    CClientDC clientDc(this);
    clientDc.DrawFrameControl(m_gripRect, DFC_SCROLL, DFCS_SCROLLSIZEGRIP);
  }
  if (!IsIconic()) {
    CAcUiDialog::OnPaint();
    return;
  }
  SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.GetSafeHdc()), 0);
  dc.DrawIcon((client.Width() - GetSystemMetrics(SM_CXICON) + 1) / 2,
              (client.Height() - GetSystemMetrics(SM_CYICON) + 1) / 2, m_icon);
}

UINT MTextEditorDialog::OnNcHitTest(CPoint point) {
  const UINT hit = CAcUiDialog::OnNcHitTest(point);
  if (hit != HTCLIENT || !m_showGrip) return hit;
  CRect window;
  GetWindowRect(window);
  return CRect(window.BottomRight() - GripSize(), GripSize()).PtInRect(point) ? HTBOTTOMRIGHT : hit;
}

// A font item may carry a remark after its face name: "Arial (TrueType)" sets "Arial".
void MTextEditorDialog::ApplyFontAction() {
  CString text;
  if (!SelectedText(m_fontCombo, text)) return;
  const int paren = text.Find('(');
  m_richEdit.SetFaceName(paren >= 0 ? text.Left(paren > 0 ? paren - 1 : 0) : text);
  UpdateBoldItalic();
  m_richEdit.SetFocus();
}

// The toolbar follows the caret: pasted paragraphs lose their numbering and indents, and the
// colour, height and font boxes show the selection's.
void MTextEditorDialog::UpdateFromSelection() {
  long start = 0, end = 0;
  m_richEdit.GetSel(start, end);
  if (start != end && m_richEdit.Pasting()) {
    PARAFORMAT para = m_richEdit.GetSelectionParaFormat();
    para.wNumbering = 0;
    para.dxStartIndent = 0;
    para.dxOffset = 0;
    para.dwMask = PFM_STARTINDENT | PFM_OFFSET | PFM_NUMBERING;
    m_richEdit.SetParaFormat(para);
  }
  CHARFORMAT format = m_richEdit.GetSelectionFormat(EditorRichEdit::kFullFormatMask);
  // Text in the automatic colour is in the entity's own colour, ByLayer; the RGB that stands
  // for ByLayer is ByLayer too. Showing a colour never sets one.
  int index = AcCmColor::kByLayer;
  if (!(format.dwEffects & CFE_AUTOCOLOR) &&
      format.crTextColor != m_colorCombo.GetColorFromIndex(AcCmColor::kByLayer)) {
    index = format.crTextColor == HostColors().RgbOfIndex(AcCmColor::kByBlock)
                ? AcCmColor::kByBlock
                : m_colorCombo.GetColorIndex(format.crTextColor);
  }
  m_colorCombo.SetCurSel(m_colorCombo.FindItemByColorIndex(index));
  m_heightCombo.SetWindowText(HeightBoxText(theEditTarget, static_cast<int>(format.yHeight / 10)));
  m_fontCombo.SetCurSel(m_fontCombo.FindStringExact(-1, format.szFaceName));
  UpdateBoldItalic();
}

// Empties the editor and loads the new target into it. Emptying it is no change of either text:
// live update waits until the new target is loaded.
void MTextEditorDialog::ShowNextTarget() {
  theEditTarget.loading = true;
  UpdateData(FALSE);
  LoadTargetIntoEditor(*this);
  ReturnFromHost();
}

// Shows the dialog again after a host prompt, with fresh tooltips.
void MTextEditorDialog::ReturnFromHost() {
  CompleteEditorCommand(TRUE);
  RenewToolTips();
  ShowWindow(SW_SHOW);
  RefreshDisplay();
}

void MTextEditorDialog::EditAnotherText() {
  if (!theEditTarget.liveUpdate) CommitEditor(*this);
  BeginEditorCommand();
  ShowWindow(SW_HIDE);
  EraseTargetIfEmpty();
  m_richText.Empty();
  int result = kSelectAgain;
  while (result != kTextSelected && result != kSelectionStopped) result = SelectText();
  if (result == kSelectionStopped) {
    CDialog::OnCancel();
    return;
  }
  ShowNextTarget();
}

// The current text stays where it is; the next one starts empty at a point the user picks.
void MTextEditorDialog::PickInsertionPoint() {
  EditTarget& target = theEditTarget;
  if (!target.liveUpdate) CommitEditor(*this);
  const ads_point base = {target.location.x, target.location.y, target.location.z};
  target.currentContents.Empty();
  EraseTargetIfEmpty();
  BeginEditorCommand();
  ShowWindow(SW_HIDE);
  ads_point picked = {base[0], base[1], base[2]};
  if (acedGetPoint(base, kPickPointPrompt, picked) != RTNORM) {
    CDialog::OnCancel();
    return;
  }
  target.location = AcGePoint3d(picked[0], picked[1], picked[2]);
  m_richText.Empty();
  target.isDimension = false;
  CreateMText(target.currentContents);
  m_richEdit.SetFocus();
  ShowNextTarget();
}

void MTextEditorDialog::NudgeX() {
  NudgeText(theEditTarget.offsetMode == OffsetMode::kPositive ? NudgeDirection::kPlusX : NudgeDirection::kMinusX);
}
void MTextEditorDialog::NudgeY() {
  NudgeText(theEditTarget.offsetMode == OffsetMode::kPositive ? NudgeDirection::kPlusY : NudgeDirection::kMinusY);
}

// Moves the text half a drawing unit in place: only its location and alignment point change. A
// dimension is not moved.
void MTextEditorDialog::NudgeText(NudgeDirection direction) {
  EditTarget& target = theEditTarget;
  UpdateData(TRUE);
  if (target.isDimension) return;
  if (m_offsetDirection == 1) {
    if (direction == NudgeDirection::kPlusX) target.location.x += kNudgeStep;
    if (direction == NudgeDirection::kPlusY) target.location.y += kNudgeStep;
  } else {
    if (direction == NudgeDirection::kMinusX) target.location.x -= kNudgeStep;
    if (direction == NudgeDirection::kMinusY) target.location.y -= kNudgeStep;
  }
  MoveTargetToLocation();
  m_richEdit.SetFocus();
  RefreshDisplay();
}

// The About box: the editor steps aside while it is up, and its tooltips are made anew after it.
void MTextEditorDialog::ShowAboutBox() {
  BeginEditorCommand();
  ShowWindow(SW_HIDE);
  AboutDialog about(acedGetAcadDwgView());
  about.DoModal();
  CompleteEditorCommand(TRUE);
  RenewToolTips();
  ShowWindow(SW_SHOW);
}
