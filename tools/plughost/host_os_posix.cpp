// Shared libraries through the dynamic loader; the terminal test through isatty.
#include "host_os.h"

#include <dlfcn.h>
#include <unistd.h>

namespace {

class PosixLibrary final : public PluginLibrary {
public:
  explicit PosixLibrary(void* handle) : mHandle(handle) {}
  ~PosixLibrary() override { dlclose(mHandle); }
  PosixLibrary(const PosixLibrary&) = delete;
  PosixLibrary& operator=(const PosixLibrary&) = delete;

  void* FindFunction(const char* name) const override { return dlsym(mHandle, name); }

private:
  void* mHandle;
};

}  // namespace

std::unique_ptr<PluginLibrary> PluginLibrary::Load(const std::string& path, std::string& error)
{
  // A bare name would make the loader search the library path; a plug-in is always a file.
  std::string file = path.find('/') == std::string::npos ? "./" + path : path;
  // Local binding: the plug-in's symbols must not resolve against anything else we load.
  void* handle = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!handle) {
    const char* reason = dlerror();
    error = reason ? reason : "the dynamic loader refused it";
    return nullptr;
  }
  return std::make_unique<PosixLibrary>(handle);
}

bool StderrIsTerminal() { return isatty(STDERR_FILENO) == 1; }
