// The command-line transcript.
#include "qplatform/Transcript.h"

namespace qhost {

Transcript& Transcript::Instance() {
  static Transcript transcript;
  return transcript;
}

void Transcript::Write(const std::string& text) {
  m_text += text;
  if (m_sink) m_sink(text);
}

void Transcript::Echo(const std::string& text, bool typedAtTerminal) {
  m_text += text;
  if (m_sink && !typedAtTerminal) m_sink(text);
}

}  // namespace qhost
