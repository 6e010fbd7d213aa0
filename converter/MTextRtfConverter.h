// The converter between MText contents and the rich edit control's RTF; one object per conversion.
#pragma once

#include <afx.h>
#include <afxcoll.h>

#include <map>
#include <string>
#include <vector>

#include "converter/ColorLookup.h"
#include "converter/DrawingUnits.h"
#include "converter/MTextToRtfTarget.h"

class MTextRtfConverter {
 public:
  explicit MTextRtfConverter(const ColorLookup& colors);
  // A converter that also reads MText: the target gives the base height and keeps the result.
  MTextRtfConverter(const ColorLookup& colors, MTextToRtfTarget& target);
  virtual ~MTextRtfConverter();

  // RtfToMText: the control's whole RTF document in, MText contents out. Never fails.
  CString RtfToMText(CString rtf);
  // RtfToMText's face for bold or italic text in the control's default font: the text style's
  // TrueType face. Empty (a shape font) drops them.
  CString defaultFace;

  // RtfToMText's passes, public so that a test can run one alone.
  void ParseColorTable();
  void ParseFontTable();
  void ConvertBody();
  CString ConvertRun(CString run);
  CString StripControlWords(CString text);

  // RtfToMText's lists and texts. They start empty and no step clears them.
  CStringArray fontDescriptors;
  CStringArray colorCodes;
  CStringArray runTexts;
  CString fontTableText;
  CString colorTableText;
  CString bodyText;

  // MTextToRtf: MText contents in, the control's whole RTF document out. Never fails.
  CString MTextToRtf(CString contents);

  // The heights a text had, by the half-point size MTextToRtf gave them: MTextToRtf fills it,
  // RtfToMText writes a size found here with the height text it came from. Each height text has
  // a size of its own; a relative height is known with the heights it multiplies ("3;\H2x").
  KnownHeights knownHeights;
  // The view scale: MTextToRtf sets it from the base height, RtfToMText reads sizes it does not
  // know at it.
  double halfPointsPerUnit = kHalfPointsPerDrawingUnit;
  // How many heights MTextToRtf showed at a size other than their own: beyond what the control
  // shows, or beside another height that came to the same size.
  int movedSizes = 0;
  // The text's font descriptors that the control's font table cannot hold: MTextToRtf fills it,
  // RtfToMText gives such a font back with the descriptor it came from.
  KnownFonts knownFonts;

  // The passes of MTextToRtf that tests run alone; each rewrites workText.
  void GroupPlainText();
  void RewritePreGroupedHeights();
  void WrapBetweenGroups(const CString& head);
  void CarryColoursIntoFontRuns();
  void TerminateCodesWithSpaces();

  // MTextToRtf's working string.
  CString workText;

 private:
  // MTextToRtf's passes in the order it runs them (with the public ones above). Each rewrites
  // workText unless it says otherwise.
  void TakeOutKeptCodes();  // kept codes become stand-in tokens, shown again by PutBackKeptCodes
  void ProtectEscapedFontLetters();
  void ProtectEscapedBraces();
  void DelimitOneLetterCodes();
  void CollectFontKeys();
  void ConvertUnderline();
  void ResetInheritedBoldItalic();
  void ReorderFontSpecs();
  void DropOffFlags();
  void ReplaceFontCodes();
  void ConvertBoldItalic();
  void ConvertParagraphs();
  void ConvertHeightCodes();
  CString BuildFontTable();
  void ChooseStandInFaces();
  std::string TableKey(int k) const;
  void KnowFonts();  // fills knownFonts from fontKeys
  void ProtectBeforeColourPass();
  CString ColourPass();  // ends codes with a space, fills colourKeys, returns the colour table
  void RestoreAfterColourPass();
  void ReplaceColourCodes();
  void RestoreEscapedFontLetters();
  void PutBackKeptCodes();
  void KeepFinalEmptyLine();  // a text that ends with an empty line keeps it in the control

  // Steps inside the passes: the grouping, the carrying into font runs, the colour pass.
  void ConvertContentHeights();
  void FindScopes();
  void RewriteRunningHeights();
  void CarryHeightsIntoFontRuns();
  void BuildFontGroups();
  void CollectColourKeys();

  // MTextToRtf's lists.
  CStringArray fontKeys;
  CStringArray colourKeys;
  std::vector<std::string> m_standInFaces;  // per font key, the face the control shows it in, or ""

  double TextHeight() const;
  // The base height in half-points and the half that rounds it when it is cut to an integer.
  double BaseHalfPoints() const;
  // The size a height text is shown at: its natural size, or the nearest one that no other
  // height text holds. Knows the height by it.
  int SizeOf(const std::string& text, double units, double natural);
  void ReserveBaseSize();

  std::vector<std::string> m_keptCodes;  // MTextToRtf's kept codes and literal backslashes, by token
  bool m_marksCode = false;              // a kept code is shown in the reserved face
  int m_codeFont = -1;                   // RtfToMText's RTF font number of the reserved face
  std::vector<std::string> m_codes;      // RtfToMText's kept code text, by token

  const ColorLookup& m_colors;
  MTextToRtfTarget* m_target = nullptr;
  double m_runningHeight = 0.0;  // the grouping pass's running value, in half-points
  std::vector<long> m_heightInForce;  // per height code, the code in force in front of it (-1: the base)
  std::vector<long> m_heightAtFont;   // per font code, the height code in force there
  std::vector<std::string> m_heightTexts;  // per height code, its value as rewritten
  struct HeightCode {
    std::string text;  // as written ("2.25", "0.5x"), or with the heights it multiplies ("3;\H2x")
    double units = 0.0;
  };
  std::vector<HeightCode> m_heightCodes;  // per height code of the grouping, as the text had it
  std::map<std::string, int> m_sizeOfText;  // the size each known height text is shown at
  int m_baseSize = -1;                       // the base height's size, whose text a written one may take
  std::vector<std::string> m_colourAtFont;  // per font code, the colour value in force there
};
