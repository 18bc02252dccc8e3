// The fonts and brushes of one form's window, made once and kept until the
// window goes (fonts also until its resolution changes).
#pragma once

#include <windows.h>

#include <map>
#include <string>
#include <tuple>

#include "common/controls.h"

namespace quellor::win32 {

class GdiCache {
 public:
  GdiCache() = default;
  GdiCache(const GdiCache&) = delete;
  GdiCache& operator=(const GdiCache&) = delete;
  ~GdiCache();

  // The design font at `dpi`, in the closest face the system has.
  HFONT FontFor(const Font& font, unsigned dpi);
  HBRUSH BrushFor(COLORREF color);
  // Hands the fonts made so far to the caller, who deletes them once the
  // controls use new ones.
  std::map<std::tuple<std::string, float, bool>, HFONT> TakeFonts();

 private:
  std::map<std::tuple<std::string, float, bool>, HFONT> fonts_;
  std::map<COLORREF, HBRUSH> brushes_;
};

}  // namespace quellor::win32
