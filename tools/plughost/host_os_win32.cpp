// Shared libraries through LoadLibraryA; the terminal test through the console mode of stderr.
#include "host_os.h"

#include <windows.h>

namespace {

class Win32Library final : public PluginLibrary {
public:
  explicit Win32Library(HMODULE module) : mModule(module) {}
  ~Win32Library() override { FreeLibrary(mModule); }
  Win32Library(const Win32Library&) = delete;
  Win32Library& operator=(const Win32Library&) = delete;

  void* FindFunction(const char* name) const override
  {
    return reinterpret_cast<void*>(GetProcAddress(mModule, name));
  }

private:
  HMODULE mModule;
};

std::string LastErrorText(const std::string& path)
{
  DWORD code = GetLastError();
  char text[512] = {};
  DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0, text,
                                sizeof text, nullptr);
  while (length > 0 && (text[length - 1] == '\r' || text[length - 1] == '\n' || text[length - 1] == '.'))
    text[--length] = 0;
  if (length == 0)
    return "Windows error " + std::to_string(code);
  // Some messages name the file through an insert we did not fill in.
  std::string message = text;
  for (std::size_t at; (at = message.find("%1")) != std::string::npos;)
    message.replace(at, 2, path);
  return message;
}

}  // namespace

std::unique_ptr<PluginLibrary> PluginLibrary::Load(const std::string& path, std::string& error)
{
  // No error dialog box for a file that is not a library: the reason goes to the caller.
  UINT previous = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  HMODULE module = LoadLibraryA(path.c_str());
  if (!module)
    error = LastErrorText(path);
  SetErrorMode(previous);
  if (!module)
    return nullptr;
  return std::make_unique<Win32Library>(module);
}

bool StderrIsTerminal()
{
  DWORD mode = 0;
  return GetConsoleMode(GetStdHandle(STD_ERROR_HANDLE), &mode) != 0;
}
