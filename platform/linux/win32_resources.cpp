// Finds the module a loader handle names among the loaded objects, then its resource table among
// the notes the loader mapped with it.
#include "platform/linux/win32_resources.h"

#include "platform/linux/embedded_resources.h"

#include <dlfcn.h>
#include <link.h>

#include <cstddef>
#include <cstring>

namespace {

namespace er = embedded_resources;

struct Search {
  const link_map* module;  // null for the main program
  std::uint32_t id;
  const char* type;
  const er::Entry* found;
};

bool SameTypeName(const char (&stored)[8], const char* type) {
  for (std::size_t i = 0; i < sizeof(stored); ++i) {
    char a = stored[i];
    char b = type[i];
    if (a >= 'a' && a <= 'z') a = static_cast<char>(a - 'a' + 'A');
    if (b >= 'a' && b <= 'z') b = static_cast<char>(b - 'a' + 'A');
    if (a != b) return false;
    if (a == '\0') return true;
  }
  return type[sizeof(stored)] == '\0';
}

// The loader's list entry and the program headers describe the same object when both put it at
// the same load bias with the same dynamic section.
bool SameModule(const dl_phdr_info& module, const link_map& entry) {
  if (module.dlpi_addr != entry.l_addr) return false;
  for (int i = 0; i < module.dlpi_phnum; ++i) {
    const ElfW(Phdr)& segment = module.dlpi_phdr[i];
    if (segment.p_type == PT_DYNAMIC)
      return reinterpret_cast<const void*>(module.dlpi_addr + segment.p_vaddr) == entry.l_ld;
  }
  return false;
}

// Looks through one of our tables; every offset is checked against the note's own size, so a
// table can name no byte outside itself.
const er::Entry* FindInTable(const unsigned char* table, std::size_t tableSize, std::uint32_t id,
                             const char* type) {
  if (tableSize < sizeof(er::TableHeader)) return nullptr;
  er::TableHeader header;
  std::memcpy(&header, table, sizeof header);
  const std::size_t room = (tableSize - sizeof header) / sizeof(er::Entry);
  if (header.count > room) return nullptr;
  const auto* entries = reinterpret_cast<const er::Entry*>(table + sizeof header);
  for (std::uint32_t i = 0; i < header.count; ++i) {
    const er::Entry& entry = entries[i];
    const std::size_t entryStart = sizeof header + i * sizeof(er::Entry);
    if (entry.offset > tableSize - entryStart || entry.size > tableSize - entryStart - entry.offset)
      continue;
    if (entry.id == id && SameTypeName(entry.type, type)) return &entry;
  }
  return nullptr;
}

const er::Entry* FindInNotes(const dl_phdr_info& module, std::uint32_t id, const char* type) {
  for (int i = 0; i < module.dlpi_phnum; ++i) {
    const ElfW(Phdr)& segment = module.dlpi_phdr[i];
    if (segment.p_type != PT_NOTE) continue;
    const std::size_t align = segment.p_align == 8 ? 8 : 4;
    const auto* notes = reinterpret_cast<const unsigned char*>(module.dlpi_addr + segment.p_vaddr);
    const std::size_t size = segment.p_memsz;
    std::size_t at = 0;
    while (size - at >= sizeof(ElfW(Nhdr))) {
      ElfW(Nhdr) note;
      std::memcpy(&note, notes + at, sizeof note);
      const std::size_t nameSpan = (note.n_namesz + align - 1) & ~(align - 1);
      const std::size_t descSpan = (note.n_descsz + align - 1) & ~(align - 1);
      const std::size_t body = at + sizeof note;
      if (nameSpan > size - body || descSpan > size - body - nameSpan) break;
      if (note.n_type == er::kNoteType && note.n_namesz == er::kNoteNameSize &&
          std::memcmp(notes + body, er::kNoteName, er::kNoteNameSize) == 0) {
        if (const er::Entry* entry = FindInTable(notes + body + nameSpan, note.n_descsz, id, type))
          return entry;
      }
      at = body + nameSpan + descSpan;
    }
  }
  return nullptr;
}

int VisitModule(dl_phdr_info* module, std::size_t, void* data) {
  auto* search = static_cast<Search*>(data);
  // The loader reports the main program first.
  if (search->module != nullptr && !SameModule(*module, *search->module)) return 0;
  search->found = FindInNotes(*module, search->id, search->type);
  return 1;
}

}  // namespace

HRSRC FindResourceA(HMODULE module, const char* name, const char* type) {
  if (!IS_INTRESOURCE(name) || type == nullptr || IS_INTRESOURCE(type)) return nullptr;
  link_map* entry = nullptr;
  if (module != nullptr && dlinfo(module, RTLD_DI_LINKMAP, &entry) != 0) return nullptr;
  Search search{entry, static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(name)), type,
                nullptr};
  dl_iterate_phdr(VisitModule, &search);
  return reinterpret_cast<HRSRC>(const_cast<er::Entry*>(search.found));
}

std::uint32_t SizeofResource(HMODULE, HRSRC resource) {
  if (resource == nullptr) return 0;
  return reinterpret_cast<const er::Entry*>(resource)->size;
}

HGLOBAL LoadResource(HMODULE, HRSRC resource) {
  if (resource == nullptr) return nullptr;
  const auto* entry = reinterpret_cast<const er::Entry*>(resource);
  return const_cast<unsigned char*>(reinterpret_cast<const unsigned char*>(entry) + entry->offset);
}

void* LockResource(HGLOBAL data) { return data; }
