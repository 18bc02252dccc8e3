// A library planted beside a copy of the program under the name of a system
// library that is not among the system's known ones (built as pdh.dll,
// powrprof.dll and uxtheme.dll). Loaded, it leaves the marker file
// "<its own path>.loaded". Its functions are the ones a program could import
// from those libraries: the counters read kPlantedReading, nothing may
// hibernate or suspend, and the theme call does nothing.
#include <windows.h>

namespace {

constexpr double kPlantedReading = 66.66;

void LeaveMarker(HINSTANCE self) {
  char path[MAX_PATH + 8] = {};
  const DWORD length = GetModuleFileNameA(self, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return;
  lstrcatA(path, ".loaded");
  const HANDLE file =
      CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
}

// The layout of the counters' formatted value on 64-bit Windows.
struct FormattedValue {
  DWORD status;
  double value;
};

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID /*reserved*/) {
  if (reason == DLL_PROCESS_ATTACH) LeaveMarker(self);
  return TRUE;
}

extern "C" __declspec(dllexport) LONG WINAPI PdhOpenQueryA(LPCSTR, DWORD_PTR, HANDLE* query) {
  *query = reinterpret_cast<HANDLE>(1);
  return 0;
}

extern "C" __declspec(dllexport) LONG WINAPI
    PdhAddEnglishCounterA(HANDLE, LPCSTR, DWORD_PTR, HANDLE* counter) {
  *counter = reinterpret_cast<HANDLE>(2);
  return 0;
}

extern "C" __declspec(dllexport) LONG WINAPI PdhCollectQueryData(HANDLE) {
  return 0;
}

extern "C" __declspec(dllexport) LONG WINAPI
    PdhGetFormattedCounterValue(HANDLE, DWORD, LPDWORD, FormattedValue* value) {
  value->status = 0;
  value->value = kPlantedReading;
  return 0;
}

extern "C" __declspec(dllexport) LONG WINAPI PdhCloseQuery(HANDLE) {
  return 0;
}

extern "C" __declspec(dllexport) BOOLEAN WINAPI IsPwrHibernateAllowed() {
  return FALSE;
}

extern "C" __declspec(dllexport) BOOLEAN WINAPI SetSuspendState(BOOLEAN, BOOLEAN, BOOLEAN) {
  return FALSE;
}

extern "C" __declspec(dllexport) HRESULT WINAPI SetWindowTheme(HWND, LPCWSTR, LPCWSTR) {
  return S_OK;
}
