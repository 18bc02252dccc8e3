#include "settings/registry_key.h"

#include <array>
#include <optional>
#include <type_traits>

#include "common/number.h"

namespace quellor {
namespace {

using platform::KeyHandle;

// What SetValue writes: a REG_DWORD integer or a REG_SZ text.
using Encoded = std::variant<std::string, std::int32_t>;

template <typename Floating>
Encoded EncodeFloating(Floating value) {
  if (const auto whole = ToInt32(static_cast<double>(value))) return *whole;
  return ShortestDecimal(value);
}

Encoded Encode(const RegistryInput& value) {
  return std::visit(
      [](const auto& v) -> Encoded {
        using T = std::decay_t<decltype(v)>;
        if constexpr (std::is_same_v<T, std::string>) {
          double number = 0;
          if (IsPlainNumber(v, &number)) {
            if (const auto whole = ToInt32(number)) return *whole;
          }
          return TrimSpaces(v);
        } else if constexpr (std::is_integral_v<T>) {
          return static_cast<std::int32_t>(v);
        } else {
          return EncodeFloating(v);
        }
      },
      value);
}

}  // namespace

bool IsEmpty(const RegistryValue& value) {
  const auto* text = std::get_if<std::string>(&value);
  return text != nullptr && text->empty();
}

KeyHandle RegistryKey::Open(KeyHandle root, const std::string& subKey) {
  KeyHandle key = 0;
  registry_.RegOpenKeyA(root, subKey, key);
  return key;
}

KeyHandle RegistryKey::Create(KeyHandle root, const std::string& subKey) {
  KeyHandle key = 0;
  registry_.RegCreateKeyA(root, subKey, key);
  return key;
}

void RegistryKey::Close(KeyHandle key) {
  if (key != 0) registry_.RegCloseKey(key);
}

bool RegistryKey::KeyExists(KeyHandle root, const std::string& subKey) {
  const KeyHandle key = Open(root, subKey);
  const bool exists = key != 0;
  Close(key);
  return exists;
}

void RegistryKey::CreateKey(KeyHandle root, const std::string& subKey) {
  Close(Create(root, subKey));
}

RegistryValue RegistryKey::GetValue(KeyHandle root, const std::string& subKey,
                                    const std::string& valueName) {
  const KeyHandle key = Open(root, subKey);
  if (key == 0) return std::string();

  RegistryValue result = std::string();
  std::uint32_t type = 0;
  std::uint32_t size = 0;
  platform::Status status = registry_.RegQueryValueExA(key, valueName, type, nullptr, size);
  if (status != 0) type = 0;  // nothing trustworthy was reported

  if (type == platform::kRegSz && size <= kMaxValueBytes) {
    std::string buffer(size, ' ');
    std::uint32_t count = size;
    status = registry_.RegQueryValueExA(key, valueName, type,
                                        reinterpret_cast<std::uint8_t*>(buffer.data()), count);
    if (status == 0) {
      // Text written without its terminating zero is taken whole.
      const std::size_t zero = buffer.find('\0');
      if (zero != std::string::npos) buffer.resize(zero);
      if (buffer.size() <= kMaxTextLength) result = std::move(buffer);
    }
  } else if (type == platform::kRegDword && size == 4) {
    // A REG_DWORD of any other size is no number: read into four zeros, an
    // empty one would come back as 0.
    std::array<std::uint8_t, 4> bytes{};
    std::uint32_t count = 4;
    status = registry_.RegQueryValueExA(key, valueName, type, bytes.data(), count);
    if (status == 0 && type == platform::kRegDword && count == 4) {
      const std::uint32_t raw = bytes[0] | (std::uint32_t{bytes[1]} << 8) |
                                (std::uint32_t{bytes[2]} << 16) | (std::uint32_t{bytes[3]} << 24);
      // Two's complement: 0xFFFFFFFF is -1.
      result = static_cast<std::int32_t>(raw);
    }
  }

  Close(key);
  return result;
}

void RegistryKey::SetValue(KeyHandle root, const std::string& subKey, const std::string& valueName,
                           const RegistryInput& value) {
  // The type is decided before the registry is touched.
  const Encoded encoded = Encode(value);
  if (const auto* text = std::get_if<std::string>(&encoded); text != nullptr) {
    if (text->size() > kMaxTextLength) return;
  }

  const KeyHandle key = Create(root, subKey);
  if (key == 0) return;

  if (const auto* text = std::get_if<std::string>(&encoded); text != nullptr) {
    // The text and one terminating zero; std::string keeps that zero in place.
    registry_.RegSetValueExA(key, valueName, platform::kRegSz,
                             reinterpret_cast<const std::uint8_t*>(text->c_str()),
                             static_cast<std::uint32_t>(text->size() + 1));
  } else {
    const auto raw = static_cast<std::uint32_t>(std::get<std::int32_t>(encoded));
    const std::array<std::uint8_t, 4> bytes = {
        static_cast<std::uint8_t>(raw), static_cast<std::uint8_t>(raw >> 8),
        static_cast<std::uint8_t>(raw >> 16), static_cast<std::uint8_t>(raw >> 24)};
    registry_.RegSetValueExA(key, valueName, platform::kRegDword, bytes.data(), 4);
  }

  Close(key);
}

}  // namespace quellor
