// The published state of the browser page.
#include "WebState.h"

#include <nlohmann/json.hpp>

#include "WindowTree.h"
#include "qplatform/Host.h"
#include "qplatform/Render.h"
#include "qplatform/Script.h"
#include "qplatform/Transcript.h"

namespace qhostweb {
namespace {

using nlohmann::json;

// The page shows the end of the command line's history.
const size_t kTranscriptTail = 32 * 1024;

std::string Dump(const json& value) { return value.dump(-1, ' ', false, json::error_handler_t::replace); }

std::string TranscriptTail() {
  const std::string& text = qhost::Transcript::Instance().Text();
  if (text.size() <= kTranscriptTail) return qhost::Cp1251ToUtf8(text);
  size_t from = text.find('\n', text.size() - kTranscriptTail);
  return qhost::Cp1251ToUtf8(text.substr(from == std::string::npos ? text.size() - kTranscriptTail : from + 1));
}

// What the wait asks for, so that the page knows what a click in the drawing answers.
std::string WaitKind(const std::string& waitingFor) {
  if (waitingFor.rfind("dialog ", 0) == 0) return "dialog";
  if (waitingFor == "menu") return "menu";
  if (waitingFor.rfind("message box", 0) == 0) return "message box";
  switch (qhost::WaitingPrompt()) {
    case qhost::PromptKind::kPoint: return "point";
    case qhost::PromptKind::kEntity: return "entity";
    case qhost::PromptKind::kString: return "string";
    case qhost::PromptKind::kNone: break;
  }
  return waitingFor == "Command: " ? "command" : "other";
}

}  // namespace

DrawingPicture PaintCurrentDrawing() {
  DrawingPicture picture;
  AcDbDatabase* db = qhost::CurrentDatabase();
  if (!db) return picture;
  qhost::render::Picture drawn = qhost::render::Draw(*db);
  picture.svg = qhost::render::Svg(drawn);
  for (const auto& entity : drawn.entities) {
    if (entity.handle.empty()) continue;
    std::string& description = picture.entities[entity.handle];
    for (const auto& shape : entity.shapes) {
      description += std::to_string(shape.rgb) + ":";
      for (const auto& p : shape.points) description += std::to_string(p.x) + "," + std::to_string(p.y) + " ";
      for (const auto& line : shape.lines) {
        for (const auto& run : line.runs) {
          description += run.text + "|" + run.font + "|" + std::to_string(run.rgb) + "|" + std::to_string(run.height) +
                         (run.bold ? "b" : "") + (run.italic ? "i" : "") + (run.underline ? "u" : "") + " ";
        }
        description += "\n";
      }
      description += ";";
    }
  }
  return picture;
}

void Publisher::Repaint() {
  DrawingPicture picture = m_painter ? m_painter() : DrawingPicture{};
  if (picture.svg == m_drawing) return;
  json changed = json::array();
  if (m_drawingVersion > 0) {
    for (const auto& [handle, description] : picture.entities) {
      auto old = m_entities.find(handle);
      if (old == m_entities.end() || old->second != description) changed.push_back(handle);
    }
  }
  m_changed = Dump(changed);
  m_drawingJson = Dump(picture.svg);
  m_drawing = std::move(picture.svg);
  m_entities = std::move(picture.entities);
  ++m_drawingVersion;
}

void Publisher::Update(const std::string& waitingFor) {
  std::string transcript = TranscriptTail();
  if (transcript != m_transcript) {
    m_transcript = std::move(transcript);
    ++m_transcriptVersion;
  }

  // While a window waits, the drawing changes only through a redraw the module asks for (live
  // update): other rests there need no new picture, which spares a keystroke drawing it all again.
  const qhost::DisplayCounts& counts = qhost::Display();
  int redraws = counts.updates + counts.flushes;
  std::string kind = WaitKind(waitingFor);
  bool modal = kind == "dialog" || kind == "menu" || kind == "message box";
  if (!m_painted || !modal || redraws != m_redraws) Repaint();
  m_painted = true;
  m_redraws = redraws;

  auto next = std::make_shared<Published>();
  json windows = {{"windows", WindowTree(m_hostWindow, next->bitmaps)}, {"popup", OpenPopup()}, {"tips", ToolTips()},
                  {"charmap", m_characterMapOpen && m_characterMapOpen()}};
  std::string windowsText = Dump(windows);
  if (windowsText != m_windows) {
    m_windows = std::move(windowsText);
    ++m_windowsVersion;
  }

  json wait = {{"name", qhost::Cp1251ToUtf8(waitingFor)}, {"kind", kind}};
  std::string parts = "\"transcriptVersion\":" + std::to_string(m_transcriptVersion) + ",\"drawingVersion\":" +
                      std::to_string(m_drawingVersion) + ",\"windowsVersion\":" + std::to_string(m_windowsVersion) +
                      ",\"wait\":" + Dump(wait);
  if (parts == m_published) return;
  m_published = parts;
  std::lock_guard<std::mutex> lock(m_mutex);
  next->version = m_latest->version + 1;
  // Put together around the parts that are JSON already, so that a large drawing is not parsed again.
  next->json = "{\"version\":" + std::to_string(next->version) + "," + parts + ",\"transcript\":" +
               Dump(m_transcript) + ",\"drawing\":{\"svg\":" + m_drawingJson + ",\"changed\":" + m_changed +
               "}," + m_windows.substr(1);
  m_latest = std::move(next);
  m_changedSignal.notify_all();
}

std::shared_ptr<const Published> Publisher::Latest() const {
  std::lock_guard<std::mutex> lock(m_mutex);
  return m_latest;
}

std::shared_ptr<const Published> Publisher::Newer(uint64_t version, std::chrono::milliseconds timeout) const {
  std::unique_lock<std::mutex> lock(m_mutex);
  m_changedSignal.wait_for(lock, timeout, [&] { return m_closed || m_latest->version > version; });
  return m_latest;
}

void Publisher::Close() {
  {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_closed = true;
  }
  m_changedSignal.notify_all();
}

}  // namespace qhostweb
