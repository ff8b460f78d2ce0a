#include "pending_file.h"

#include "host_error.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>

namespace fs = std::filesystem;

PendingFile::PendingFile(std::string finalPath) : mFinal(std::move(finalPath))
{
  // A random suffix keeps two runs that write the same output from sharing a temporary file.
  std::random_device random;
  char suffix[32];
  std::snprintf(suffix, sizeof suffix, ".partial-%08x", static_cast<unsigned>(random()));
  mTemporary = mFinal + suffix;
}

PendingFile::~PendingFile()
{
  if (!mCommitted) {
    std::error_code ignored;
    fs::remove(mTemporary, ignored);
  }
}

void PendingFile::Commit()
{
  std::error_code error;
  fs::rename(mTemporary, mFinal, error);
  if (error)
    throw HostError("cannot write " + mFinal + ": " + error.message());
  mCommitted = true;
}

namespace {

template <typename Bytes>
void WriteBytes(const std::string& path, const Bytes& bytes)
{
  PendingFile file(path);
  {
    std::ofstream out(file.TemporaryPath(), std::ios::binary | std::ios::trunc);
    if (!out)
      throw HostError("cannot write " + path + ": cannot create a file in its folder");
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out)
      throw HostError("cannot write " + path + ": the write failed");
  }
  file.Commit();
}

}  // namespace

void WriteWholeFile(const std::string& path, const std::vector<std::uint8_t>& bytes) { WriteBytes(path, bytes); }
void WriteWholeFile(const std::string& path, const std::string& text) { WriteBytes(path, text); }

std::vector<std::uint8_t> ReadWholeFile(const std::string& path)
{
  std::ifstream in(path, std::ios::binary);
  if (!in)
    throw HostError("cannot read " + path + ": no such file or no permission");
  std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad())
    throw HostError("cannot read " + path + ": the read failed");
  return bytes;
}
