#pragma once
// The per-user settings store that stands in for the registry under the
// current user. Keys keep the Windows paths ("\Software\NOVR\Vektrano\Form1");
// values are integers (DWORD; Booleans as 0/1) or texts (cp1250). The store is
// one file under $XDG_CONFIG_HOME/NOVR/, shared by Vektrano and Palomir and
// written atomically under a lock. Key and value names ignore ASCII letter
// case, as in the registry. A key reads the store as it was when opened, plus
// its own writes; flush merges only this key's writes into the current file,
// so two programs writing different values both keep theirs.
#include <optional>
#include <stdexcept>
#include <string>

namespace vektrano::platform {

// Thrown by readInteger/readBool for a value that is missing or is not an
// integer: readers of a window's settings stop at the first one.
struct RegistryValueMissing : std::runtime_error {
  using std::runtime_error::runtime_error;
};

class RegistryKey {
 public:
  // Opens the key (creating it when create is true). Nothing when the key does
  // not exist and create is false, or when the path is not made of plain
  // segments (no ".", "..", "/", "[", "]", empty or control-character
  // segments).
  static std::optional<RegistryKey> open(const std::string& keyPath, bool create);

  int readInteger(const std::string& name) const;  // throws RegistryValueMissing
  bool readBool(const std::string& name) const;    // nonzero is true; throws likewise
  std::string readString(const std::string& name) const;  // "" when missing or an integer
  bool valueExists(const std::string& name) const;

  void writeInteger(const std::string& name, int value);
  void writeBool(const std::string& name, bool value);
  void writeString(const std::string& name, const std::string& value);
  // Removes the value (on disk at the next flush); false when there was none.
  bool deleteValue(const std::string& name);

  // Merges the values written through this key into the store on disk.
  // Also done by the destructor. False when the store could not be written.
  bool flush();

  const std::string& path() const;

  RegistryKey(RegistryKey&&) noexcept;
  RegistryKey& operator=(RegistryKey&&) noexcept;
  ~RegistryKey();

 private:
  struct Impl;
  explicit RegistryKey(Impl* impl);
  Impl* impl_;
};

// The store's file; tests point XDG_CONFIG_HOME at a temporary folder.
std::string registryFile();

}  // namespace vektrano::platform
