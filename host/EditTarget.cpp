// The module's edit target record and the reader's view of it.
#include "host/EditTarget.h"

EditTarget theEditTarget;

double EditTargetReader::TextHeight() const { return m_target.textHeight; }

void EditTargetReader::SetRtfText(const CString& rtf) { m_target.rtfText = rtf; }
