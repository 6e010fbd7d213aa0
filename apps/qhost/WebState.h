// What the browser page shows, published by the main thread whenever the host comes to rest:
// immutable, versioned snapshots of the transcript, the drawing and the window tree.
#pragma once

#include <windows.h>

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>

namespace qhostweb {

// One published state. Never changed once published; the server's threads share it.
struct Published {
  uint64_t version = 0;
  std::string json;                              // the state the page draws (UTF-8)
  std::map<std::string, std::string> bitmaps;    // module bitmaps by name, .bmp file bytes
};

// The drawing as a picture: SVG text in UTF-8, and each entity's description by handle, to tell
// which entities a change touched. Filled by whoever draws the drawing.
struct DrawingPicture {
  std::string svg;
  std::map<std::string, std::string> entities;
};
using DrawingPainter = std::function<DrawingPicture()>;
// The current space of the host's document as the host's renderer draws it; an entity's
// description is what its shapes look like.
DrawingPicture PaintCurrentDrawing();

class Publisher {
 public:
  // `characterMapOpen` tells whether qhost's character map is open (none: never).
  Publisher(HWND hostWindow, DrawingPainter painter, std::function<bool()> characterMapOpen = nullptr)
      : m_hostWindow(hostWindow), m_painter(std::move(painter)), m_characterMapOpen(std::move(characterMapOpen)) {}

  // Main thread, at rest in the wait `waitingFor`: takes the snapshots and publishes a new
  // version when anything differs from the last one.
  void Update(const std::string& waitingFor);

  // Any thread: the latest state (version 0, with no text, before the first Update); or, waiting
  // at most `timeout`, the first one newer than `version` (the latest when none came).
  std::shared_ptr<const Published> Latest() const;
  std::shared_ptr<const Published> Newer(uint64_t version, std::chrono::milliseconds timeout) const;
  // Any thread: wakes every waiter (the server is stopping).
  void Close();

 private:
  // Draws the drawing again; a new drawing version when the picture differs.
  void Repaint();

  HWND m_hostWindow;
  DrawingPainter m_painter;
  std::function<bool()> m_characterMapOpen;
  // Main thread only: the parts as last published, and their versions.
  std::string m_transcript, m_drawing, m_windows;
  std::string m_drawingJson = "\"\"";  // m_drawing as a JSON string, made once per picture
  std::string m_published;  // the versions and the wait of the latest state
  uint64_t m_transcriptVersion = 0, m_drawingVersion = 0, m_windowsVersion = 0;
  std::map<std::string, std::string> m_entities;
  std::string m_changed = "[]";  // JSON array of the handles the last drawing change touched
  bool m_painted = false;
  int m_redraws = 0;      // the host's redraw count at the last rest

  mutable std::mutex m_mutex;
  mutable std::condition_variable m_changedSignal;
  std::shared_ptr<const Published> m_latest = std::make_shared<Published>();
  bool m_closed = false;
};

}  // namespace qhostweb
