#include "win32/services/services.h"

namespace quellor::win32 {

using platform::KeyHandle;
using platform::Status;

HKEY NativeKey(KeyHandle key) {
  if (key <= 0xFFFFFFFFu && (key & 0xF0000000u) == 0x80000000u) {
    const auto value = static_cast<LONG>(static_cast<ULONG>(key));
    return reinterpret_cast<HKEY>(static_cast<LONG_PTR>(value));
  }
  return reinterpret_cast<HKEY>(key);
}

Status Win32Registry::RegOpenKeyA(KeyHandle root, const std::string& subKey, KeyHandle& key) {
  HKEY opened = nullptr;
  const LSTATUS status = ::RegOpenKeyA(NativeKey(root), subKey.c_str(), &opened);
  key = status == ERROR_SUCCESS ? reinterpret_cast<KeyHandle>(opened) : 0;
  return static_cast<Status>(status);
}

Status Win32Registry::RegCreateKeyA(KeyHandle root, const std::string& subKey, KeyHandle& key) {
  HKEY created = nullptr;
  const LSTATUS status = ::RegCreateKeyA(NativeKey(root), subKey.c_str(), &created);
  key = status == ERROR_SUCCESS ? reinterpret_cast<KeyHandle>(created) : 0;
  return static_cast<Status>(status);
}

Status Win32Registry::RegQueryValueExA(KeyHandle key, const std::string& valueName,
                                       std::uint32_t& type, std::uint8_t* data,
                                       std::uint32_t& byteCount) {
  DWORD valueType = type;
  DWORD size = byteCount;
  const LSTATUS status =
      ::RegQueryValueExA(NativeKey(key), valueName.c_str(), nullptr, &valueType, data, &size);
  if (status == ERROR_SUCCESS || status == ERROR_MORE_DATA) {
    type = valueType;
    byteCount = size;
  }
  return static_cast<Status>(status);
}

Status Win32Registry::RegSetValueExA(KeyHandle key, const std::string& valueName,
                                     std::uint32_t type, const std::uint8_t* data,
                                     std::uint32_t byteCount) {
  return static_cast<Status>(
      ::RegSetValueExA(NativeKey(key), valueName.c_str(), 0, type, data, byteCount));
}

Status Win32Registry::RegCloseKey(KeyHandle key) {
  return static_cast<Status>(::RegCloseKey(NativeKey(key)));
}

}  // namespace quellor::win32
