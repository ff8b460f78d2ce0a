# Writes the C++ source of one library's resource table from the manifest that add_plugin_images
# wrote (lists RESOURCE_IDS, RESOURCE_TYPES, RESOURCE_FILES). The layout is the one declared in
# platform/linux/embedded_resources.h: a note header, a count, one entry per resource, then the
# bytes of every resource padded to 4, each entry pointing at its bytes by an offset from itself.
# Usage: cmake -DMANIFEST=<file> -DOUTPUT=<file.cpp> -P EmbedResources.cmake

include("${MANIFEST}")

list(LENGTH RESOURCE_IDS count)
set(entry_size 20)
set(offset 0)  # of the next resource's bytes from the start of the byte area
set(entries "")
set(hex "")
set(index 0)
foreach(id type file IN ZIP_LISTS RESOURCE_IDS RESOURCE_TYPES RESOURCE_FILES)
  file(READ "${file}" bytes HEX)
  string(LENGTH "${bytes}" digits)
  math(EXPR size "${digits} / 2")
  # From this entry to the byte area there are the remaining entries, this one included.
  math(EXPR from_entry "(${count} - ${index}) * ${entry_size} + ${offset}")
  string(APPEND entries "      {\"${type}\", ${id}u, ${from_entry}u, ${size}u},  // ${file}\n")
  math(EXPR padding "(4 - ${size} % 4) % 4")
  string(REPEAT "00" ${padding} pad)
  string(APPEND hex "${bytes}${pad}")
  math(EXPR offset "${offset} + ${size} + ${padding}")
  math(EXPR index "${index} + 1")
endforeach()
if(offset EQUAL 0)
  set(hex "00000000")  # an array needs one element even when every resource is empty
  set(offset 4)
endif()

# Sixteen bytes a line.
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes_text "${hex}")
string(REGEX REPLACE "((0x..,){16})" "\\1\n      " bytes_text "${bytes_text}")

file(WRITE "${OUTPUT}"
"// The resource table of one library, generated at build time from its image list.
#include \"platform/linux/embedded_resources.h\"

namespace {

namespace er = embedded_resources;

struct Table {
  er::TableHeader header;
  er::Entry entries[${count}];
  unsigned char bytes[${offset}];
};

struct Note {
  er::NoteHeader header;
  Table table;
};

// A note section: the loader maps it with the library and lists it among the program headers.
__attribute__((section(\".note.korvane.resources\"), used, aligned(4)))
const Note resourceNote = {
  {er::kNoteNameSize, sizeof(Table), er::kNoteType, \"korvane\"},
  {
    {${count}u},
    {
${entries}    },
    {
      ${bytes_text}
    },
  },
};

}  // namespace
")
