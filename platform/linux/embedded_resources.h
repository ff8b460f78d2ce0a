// The table of resources a library carries inside itself on Linux, as add_plugin_images writes it.
// The table is one ELF note in its own note section, so the loader maps it with the library and the
// resource calls reach it from the library's load address through the program headers, without any
// exported symbol and without code run at load time. All values are native-endian; nothing in the
// table needs relocating. Shared by the generated table sources and by the resource calls.
#pragma once

#include <cstdint>

namespace embedded_resources {

// The note's owner name ("korvane" and its NUL) and its type, which set our table apart from the
// toolchain's own notes.
constexpr char kNoteName[8] = "korvane";
constexpr std::uint32_t kNoteNameSize = 8;
constexpr std::uint32_t kNoteType = 0x52455331;  // "RES1"

// The ELF note header followed by the owner name, already padded to 4 bytes.
struct NoteHeader {
  std::uint32_t nameSize;
  std::uint32_t descriptionSize;  // bytes of the table that follows
  std::uint32_t type;
  char name[8];
};

// The note's description: a count, then the entries, then the resource bytes.
struct TableHeader {
  std::uint32_t count;
};

struct Entry {
  char type[8];          // resource type name, NUL-padded ("PNG", "JPG")
  std::uint32_t id;      // numeric resource id
  std::uint32_t offset;  // from the first byte of this entry to the first byte of the resource
  std::uint32_t size;    // byte count of the resource
};

static_assert(sizeof(NoteHeader) == 20 && sizeof(TableHeader) == 4 && sizeof(Entry) == 20,
              "the generated tables rely on there being no padding between these parts");

}  // namespace embedded_resources
