// The little plughost needs from the operating system: loading a shared library, finding an
// exported function in it, and telling whether stderr is a terminal. One implementation file per
// system, chosen by the build; nothing else in plughost knows which system it runs on.
#pragma once

#include <memory>
#include <string>

class PluginLibrary {
public:
  // Loads the library at path; null with a reason in error when it cannot be loaded.
  static std::unique_ptr<PluginLibrary> Load(const std::string& path, std::string& error);

  virtual ~PluginLibrary() = default;
  // The address of an exported function, or null when the library has none of that name.
  virtual void* FindFunction(const char* name) const = 0;
};

bool StderrIsTerminal();
