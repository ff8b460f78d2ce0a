# add_plugin_images(target id file [id file ...])
# Builds image files into a library as its own resources, each under a numeric id (0 to 65535) and
# the type "JPG" for .jpg and .jpeg files, "PNG" for any other. Relative paths are taken from the
# calling directory; files made by a custom command of that directory may be named too.
# Windows: a generated .rc file compiled into the DLL by the resource compiler.
# Linux: a table source generated at build time (layout in platform/linux/embedded_resources.h)
# and compiled into the library; it is rebuilt whenever one of the images changes.
# One call per target, with the whole list.

if(WIN32)
  enable_language(RC)
endif()

function(add_plugin_images target)
  list(LENGTH ARGN count)
  math(EXPR odd "${count} % 2")
  if(count EQUAL 0 OR odd)
    message(FATAL_ERROR "add_plugin_images(${target}): expects pairs of id and file")
  endif()
  get_property(already TARGET ${target} PROPERTY PLUGIN_IMAGES_ADDED)
  if(already)
    message(FATAL_ERROR "add_plugin_images(${target}): the images of a target are given in one call")
  endif()
  set_property(TARGET ${target} PROPERTY PLUGIN_IMAGES_ADDED TRUE)

  set(ids)
  set(types)
  set(files)
  set(keys)
  math(EXPR last "${count} - 1")
  foreach(i RANGE 0 ${last} 2)
    math(EXPR j "${i} + 1")
    list(GET ARGN ${i} id)
    list(GET ARGN ${j} file)
    if(NOT id MATCHES "^[0-9]+$" OR id GREATER 65535)
      message(FATAL_ERROR "add_plugin_images(${target}): '${id}' is not a resource id (0 to 65535)")
    endif()
    get_filename_component(file "${file}" ABSOLUTE BASE_DIR "${CMAKE_CURRENT_SOURCE_DIR}")
    get_filename_component(extension "${file}" LAST_EXT)
    string(TOLOWER "${extension}" extension)
    if(extension STREQUAL ".jpg" OR extension STREQUAL ".jpeg")
      set(type JPG)
    else()
      set(type PNG)
    endif()
    math(EXPR id "${id}")  # drops leading zeros, so "0100" and "100" are one id
    if("${type}:${id}" IN_LIST keys)
      message(FATAL_ERROR "add_plugin_images(${target}): id ${id} is given twice for type ${type}")
    endif()
    list(APPEND keys "${type}:${id}")
    list(APPEND ids ${id})
    list(APPEND types ${type})
    list(APPEND files "${file}")
  endforeach()

  set(base "${CMAKE_CURRENT_BINARY_DIR}/${target}_resources")
  if(WIN32)
    set(lines "")
    foreach(id type file IN ZIP_LISTS ids types files)
      string(APPEND lines "${id} ${type} \"${file}\"\n")
    endforeach()
    file(CONFIGURE OUTPUT "${base}.rc" CONTENT "${lines}" @ONLY)
    set_source_files_properties("${base}.rc" PROPERTIES OBJECT_DEPENDS "${files}")
    target_sources(${target} PRIVATE "${base}.rc")
  else()
    # The list travels to the build step in a small manifest, written only when it changes.
    file(CONFIGURE OUTPUT "${base}.list.cmake" CONTENT
"set(RESOURCE_IDS \"${ids}\")
set(RESOURCE_TYPES \"${types}\")
set(RESOURCE_FILES \"${files}\")
" @ONLY)
    set(script "${CMAKE_CURRENT_FUNCTION_LIST_DIR}/EmbedResources.cmake")
    add_custom_command(
      OUTPUT "${base}.cpp"
      COMMAND ${CMAKE_COMMAND} -DMANIFEST=${base}.list.cmake -DOUTPUT=${base}.cpp -P ${script}
      DEPENDS "${base}.list.cmake" ${files} "${script}"
      COMMENT "Building the resource table of ${target}"
      VERBATIM)
    target_sources(${target} PRIVATE "${base}.cpp")
    target_include_directories(${target} PRIVATE "${PROJECT_SOURCE_DIR}")
  endif()
endfunction()
