// Loaded into the running program by the driver ("high-contrast on"): Wine
// answers high contrast off whatever is set, so the program's import of
// SystemParametersInfoA is pointed here, where it is on; then the system's
// colours become a high-contrast scheme, from inside the program, as Wine
// keeps them per process. Setting them tells the program's windows.
#include <windows.h>

#include <iterator>

namespace {

decltype(&SystemParametersInfoA) original = nullptr;

BOOL WINAPI WithHighContrast(UINT action, UINT parameter, void* value, UINT update) {
  if (action != SPI_GETHIGHCONTRAST || value == nullptr) {
    return original(action, parameter, value, update);
  }
  static_cast<HIGHCONTRASTA*>(value)->dwFlags = HCF_HIGHCONTRASTON;
  return TRUE;
}

void RedirectImport() {
  auto* base = reinterpret_cast<BYTE*>(GetModuleHandleA(nullptr));
  const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(
      base + reinterpret_cast<const IMAGE_DOS_HEADER*>(base)->e_lfanew);
  const IMAGE_DATA_DIRECTORY& imports =
      nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  for (auto* library = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress);
       library->Name != 0; ++library) {
    for (auto* entry = reinterpret_cast<IMAGE_THUNK_DATA*>(base + library->FirstThunk);
         entry->u1.Function != 0; ++entry) {
      if (entry->u1.Function != reinterpret_cast<ULONG_PTR>(original)) continue;
      DWORD protection = 0;
      VirtualProtect(&entry->u1.Function, sizeof entry->u1.Function, PAGE_READWRITE, &protection);
      entry->u1.Function = reinterpret_cast<ULONG_PTR>(&WithHighContrast);
      VirtualProtect(&entry->u1.Function, sizeof entry->u1.Function, protection, &protection);
    }
  }
}

DWORD WINAPI SetScheme(void* /*unused*/) {
  constexpr int kElements[] = {COLOR_WINDOW,   COLOR_WINDOWTEXT, COLOR_BTNFACE,      COLOR_BTNTEXT,
                               COLOR_GRAYTEXT, COLOR_HIGHLIGHT,  COLOR_HIGHLIGHTTEXT};
  // Black, white, black, yellow, green, cyan, black (as 0xBBGGRR).
  constexpr COLORREF kColors[] = {0x000000, 0xFFFFFF, 0x000000, 0x00FFFF, 0x00FF00, 0xFFFF00, 0};
  return SetSysColors(static_cast<int>(std::size(kElements)), kElements, kColors) ? 0 : 1;
}

}  // namespace

BOOL WINAPI DllMain(HINSTANCE /*instance*/, DWORD reason, void* /*reserved*/) {
  if (reason == DLL_PROCESS_ATTACH) {
    original = reinterpret_cast<decltype(original)>(reinterpret_cast<void (*)()>(
        GetProcAddress(GetModuleHandleA("user32.dll"), "SystemParametersInfoA")));
    if (original != nullptr) RedirectImport();
    // Not under the loader's lock: the change is sent to every window.
    CloseHandle(CreateThread(nullptr, 0, SetScheme, nullptr, 0, nullptr));
  }
  return TRUE;
}
