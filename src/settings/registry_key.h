// A thin layer over the registry: one call opens, reads or writes, and closes.
//
// Every call closes the key it opened before it returns, reports nothing and
// never throws; a missing key, a missing value and a value that cannot be
// read all come back as the empty text.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <variant>

#include "platform/platform.h"

namespace quellor {

// What the registry gives back: a text or a 32-bit integer. The empty text
// stands for a value that is not stored (or cannot be read).
using RegistryValue = std::variant<std::string, std::int32_t>;

// What may be written: numbers of any of the program's kinds, or a text.
using RegistryInput = std::variant<std::string, std::int16_t, std::int32_t, float, double>;

// The longest text that any setting holds, in characters (the threshold's is
// a few digits), and the largest value that is read: that text and its
// terminating zero. A stored value that claims to be larger, or a longer text
// without its zero, reads as the empty text, so a huge text planted in the
// registry never reaches a window.
inline constexpr std::size_t kMaxTextLength = 32;
inline constexpr std::uint32_t kMaxValueBytes = kMaxTextLength + 1;

bool IsEmpty(const RegistryValue& value);

class RegistryKey {
 public:
  explicit RegistryKey(platform::Registry& registry) : registry_(registry) {}

  // True when root\subKey can be opened. Creates nothing.
  bool KeyExists(platform::KeyHandle root, const std::string& subKey);
  // Opens root\subKey, creating it and any missing parents first.
  void CreateKey(platform::KeyHandle root, const std::string& subKey);
  // A REG_SZ value as its text up to the first zero, a REG_DWORD value of
  // exactly four bytes as a signed integer; anything else (or nothing) as the
  // empty text.
  RegistryValue GetValue(platform::KeyHandle root, const std::string& subKey,
                         const std::string& valueName);
  // Stores a number, or a text that is a plain number as a whole, as a
  // REG_DWORD rounded half to even; anything else as a REG_SZ text trimmed of
  // spaces. A number outside the 32-bit range, or not finite, is stored as its
  // text. A text longer than kMaxTextLength (once trimmed) would read back as
  // nothing, so it is not written at all: the value stored before stays.
  // Creates the key (and its parents) when needed.
  void SetValue(platform::KeyHandle root, const std::string& subKey, const std::string& valueName,
                const RegistryInput& value);

 private:
  platform::KeyHandle Open(platform::KeyHandle root, const std::string& subKey);
  platform::KeyHandle Create(platform::KeyHandle root, const std::string& subKey);
  void Close(platform::KeyHandle key);

  platform::Registry& registry_;
};

}  // namespace quellor
