// An output file that appears under its real name only when it is complete: everything is
// written to a temporary name beside it, and Commit renames it into place. A PendingFile that is
// destroyed without Commit removes its temporary file, so a failed run leaves no half-written
// output and an earlier file of the same name untouched.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class PendingFile {
public:
  explicit PendingFile(std::string finalPath);
  ~PendingFile();
  PendingFile(const PendingFile&) = delete;
  PendingFile& operator=(const PendingFile&) = delete;

  const std::string& TemporaryPath() const { return mTemporary; }
  const std::string& FinalPath() const { return mFinal; }
  // Renames the temporary file to the final path; a HostError when that fails.
  void Commit();

private:
  std::string mFinal;
  std::string mTemporary;
  bool mCommitted = false;
};

// Writes bytes to path through a PendingFile.
void WriteWholeFile(const std::string& path, const std::vector<std::uint8_t>& bytes);
void WriteWholeFile(const std::string& path, const std::string& text);
// The bytes of a file; a HostError when it cannot be read.
std::vector<std::uint8_t> ReadWholeFile(const std::string& path);
