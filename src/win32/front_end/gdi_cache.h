// The fonts and brushes of one form's window, made once and kept until the
// window goes (fonts also until its resolution changes).
#pragma once

#include <windows.h>

#include <map>
#include <string>
#include <tuple>

#include "common/controls.h"
#include "win32/front_end/owned.h"

namespace quellor::win32 {

class GdiCache {
 public:
  using Fonts = std::map<std::tuple<std::string, float, bool>, GdiObject<HFONT>>;

  GdiCache() = default;
  GdiCache(const GdiCache&) = delete;
  GdiCache& operator=(const GdiCache&) = delete;

  // The design font at `dpi`, in the closest face the system has; null when
  // the system made none (asked again next time).
  HFONT FontFor(const Font& font, unsigned dpi);
  // A solid brush; null when the system made none (asked again next time).
  HBRUSH BrushFor(COLORREF color);
  // Hands the fonts made so far to the caller, whose copy deletes them once
  // the controls use new ones.
  Fonts TakeFonts();

 private:
  Fonts fonts_;
  std::map<COLORREF, GdiObject<HBRUSH>> brushes_;
};

}  // namespace quellor::win32
