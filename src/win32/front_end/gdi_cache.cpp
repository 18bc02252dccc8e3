#include "win32/front_end/gdi_cache.h"

#include "common/layout.h"
#include "win32/units.h"

namespace quellor::win32 {

namespace {

int CALLBACK NoteFamily(const LOGFONTA* /*font*/, const TEXTMETRICA* /*metrics*/, DWORD /*type*/,
                        LPARAM found) {
  *reinterpret_cast<bool*>(found) = true;
  return 0;
}

// Whether the system has a font family of this name.
bool Installed(const std::string& face) {
  static std::map<std::string, bool> known;
  auto it = known.find(face);
  if (it != known.end()) return it->second;
  LOGFONTA wanted{};
  wanted.lfCharSet = DEFAULT_CHARSET;
  lstrcpynA(wanted.lfFaceName, face.c_str(), LF_FACESIZE);
  bool found = false;
  HDC screen = GetDC(nullptr);
  EnumFontFamiliesExA(screen, &wanted, &NoteFamily, reinterpret_cast<LPARAM>(&found), 0);
  ReleaseDC(nullptr, screen);
  known[face] = found;
  return found;
}

}  // namespace

HFONT GdiCache::FontFor(const Font& font, unsigned dpi) {
  const auto key = std::make_tuple(font.face, font.points, font.bold);
  auto found = fonts_.find(key);
  if (found != fonts_.end()) return found->second.get();
  HFONT created = CreateFontA(
      FontHeight(font.points, dpi), 0, 0, 0, font.bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE,
      DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
      DEFAULT_PITCH | FF_DONTCARE, ChooseFace(font.face, Installed).c_str());
  if (created != nullptr) fonts_.emplace(key, GdiObject<HFONT>(created));
  return created;
}

HBRUSH GdiCache::BrushFor(COLORREF color) {
  auto found = brushes_.find(color);
  if (found != brushes_.end()) return found->second.get();
  HBRUSH brush = CreateSolidBrush(color);
  if (brush != nullptr) brushes_.emplace(color, GdiObject<HBRUSH>(brush));
  return brush;
}

GdiCache::Fonts GdiCache::TakeFonts() {
  Fonts taken;
  taken.swap(fonts_);
  return taken;
}

}  // namespace quellor::win32
