// The engine's public face: forwards to the core.
#include "RichEditEngine.h"

#include "EngineCore.h"

RichEditEngine::RichEditEngine(RichEditHost& host, DWORD style)
    : m_core(std::make_unique<richedit::detail::EngineCore>(host, style)) {}

RichEditEngine::~RichEditEngine() = default;

LRESULT RichEditEngine::Message(UINT msg, WPARAM wParam, LPARAM lParam) { return m_core->Message(msg, wParam, lParam); }

bool RichEditEngine::Handles(UINT msg) const { return m_core->Handles(msg); }

std::string RichEditEngine::Snapshot() const { return m_core->Snapshot(); }

DWORD RichEditEngine::Style() const { return m_core->style; }

std::optional<COLORREF> RichEditEngine::Background() const { return m_core->Background(); }

void RichEditEngine::SetStyle(DWORD style) { m_core->style = style; }
