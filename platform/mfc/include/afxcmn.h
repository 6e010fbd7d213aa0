// MFC stand-in: the common-control wrappers the module uses: the rich edit control and tooltips.
#pragma once

#include <afxwin.h>
#include <commctrl.h>
#include <richedit.h>

class CRichEditCtrl : public CWnd {
  DECLARE_DYNAMIC(CRichEditCtrl)

 public:
  BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT nID);

  void GetSel(CHARRANGE& range) const;
  void GetSel(long& start, long& end) const;
  void SetSel(long start, long end);
  void SetSel(CHARRANGE& range);
  void ReplaceSel(LPCTSTR text, BOOL canUndo = FALSE);
  CString GetSelText() const;
  WORD GetSelectionType() const;
  void HideSelection(BOOL hide, BOOL permanent);

  DWORD GetSelectionCharFormat(CHARFORMAT& format) const;
  BOOL SetSelectionCharFormat(CHARFORMAT& format);
  DWORD GetDefaultCharFormat(CHARFORMAT& format) const;
  BOOL SetDefaultCharFormat(CHARFORMAT& format);
  BOOL SetWordCharFormat(CHARFORMAT& format);
  DWORD GetParaFormat(PARAFORMAT& format) const;
  BOOL SetParaFormat(PARAFORMAT& format);

  DWORD GetEventMask() const;
  DWORD SetEventMask(DWORD mask);
  COLORREF SetBackgroundColor(BOOL sysColor, COLORREF color);
  long StreamIn(int format, EDITSTREAM& stream);
  long StreamOut(int format, EDITSTREAM& stream);

  BOOL CanUndo() const;
  BOOL Undo();
  void EmptyUndoBuffer();
  BOOL CanPaste(UINT format = 0) const;
  void Clear();
  void Copy();
  void Cut();
  void Paste();
  long GetTextLength() const;
  void LimitText(long chars = 0);
  BOOL SetReadOnly(BOOL readOnly = TRUE);
  BOOL GetModify() const;
  void SetModify(BOOL modified = TRUE);
  int GetLineCount() const;
  long LineFromChar(long index) const;
  int LineIndex(int line = -1) const;
  int LineLength(int line = -1) const;
  long FindText(DWORD flags, void* find) const;
};

class CToolTipCtrl : public CWnd {
  DECLARE_DYNAMIC(CToolTipCtrl)

 public:
  BOOL Create(CWnd* parent, DWORD style = 0);
  // A tool over a window (id 0: the whole window, as TTF_IDISHWND) or over a rectangle of it.
  BOOL AddTool(CWnd* wnd, LPCTSTR text = LPSTR_TEXTCALLBACK, LPCRECT toolRect = nullptr, UINT_PTR toolId = 0);
  BOOL AddTool(CWnd* wnd, UINT textId, LPCRECT toolRect = nullptr, UINT_PTR toolId = 0);
  void DelTool(CWnd* wnd, UINT_PTR toolId = 0);
  void UpdateTipText(LPCTSTR text, CWnd* wnd, UINT_PTR toolId = 0);
  void SetToolRect(CWnd* wnd, UINT_PTR toolId, LPCRECT rect);
  void RelayEvent(LPMSG msg);
  void Activate(BOOL activate);
  void Pop();
  int GetToolCount() const;
  int SetMaxTipWidth(int width);
  void SetDelayTime(UINT delay);
  void SetDelayTime(DWORD which, int time);
  BOOL GetToolInfo(TOOLINFO& info, CWnd* wnd, UINT_PTR toolId = 0) const;
  void FillInToolInfo(TOOLINFO& info, CWnd* wnd, UINT_PTR toolId) const;
};
