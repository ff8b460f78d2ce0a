# add_vst_plugin(NAME SOURCES src... [LIBS lib...] [IMAGES id file ...])
# Builds one plug-in shared library, NAME.so on Linux or NAME.dll on Windows, from an effect's
# sources (one of which defines CreateEffectInstance) and its own copy of the framework. The
# library exports exactly VSTPluginMain and main, the same function; everything else stays hidden,
# so two of our plug-ins in one process share nothing. LIBS adds the effect's own libraries (dsp);
# IMAGES (pairs of resource id and file) become the library's own image resources.

set(VST_PLUGIN_FRAMEWORK_LIBS vstbind plugcore platform)
# Editor libraries join every plug-in once they exist; the test plug-in is built without them.
set(VST_PLUGIN_OPTIONAL_LIBS editor controls raster)

function(add_vst_plugin name)
  cmake_parse_arguments(P "" "" "SOURCES;LIBS;IMAGES" ${ARGN})
  if(NOT P_SOURCES)
    message(FATAL_ERROR "add_vst_plugin(${name}): SOURCES is required")
  endif()
  if(P_UNPARSED_ARGUMENTS)
    message(FATAL_ERROR "add_vst_plugin(${name}): unexpected arguments ${P_UNPARSED_ARGUMENTS}")
  endif()

  add_library(${name} MODULE ${P_SOURCES} $<TARGET_OBJECTS:vstentry>)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  set(optional)
  foreach(lib ${VST_PLUGIN_OPTIONAL_LIBS})
    list(APPEND optional $<TARGET_NAME_IF_EXISTS:${lib}>)
  endforeach()
  # The optional ones link before the core they build on, so a static link resolves in one pass.
  target_link_libraries(${name} PRIVATE ${P_LIBS} ${optional} ${VST_PLUGIN_FRAMEWORK_LIBS})
  set_target_properties(${name} PROPERTIES PREFIX "" OUTPUT_NAME ${name})

  if(WIN32)
    # The module definition file names the exports; main is the same function as VSTPluginMain.
    set(def ${CMAKE_CURRENT_BINARY_DIR}/${name}_exports.def)
    file(WRITE ${def} "EXPORTS\n  VSTPluginMain\n  main=VSTPluginMain\n")
    target_sources(${name} PRIVATE ${def})
    set_target_properties(${name} PROPERTIES SUFFIX ".dll")
    if(MINGW)
      # A host loads the DLL alone: no runtime DLLs of the compiler beside it.
      target_link_options(${name} PRIVATE -static -static-libgcc -static-libstdc++)
    endif()
  else()
    set(map ${CMAKE_CURRENT_BINARY_DIR}/${name}_exports.map)
    file(WRITE ${map} "{\n  global: VSTPluginMain; main;\n  local: *;\n};\n")
    set_target_properties(${name} PROPERTIES SUFFIX ".so" LINK_DEPENDS ${map})
    # C++ refuses an extern "C" function called main that returns a pointer, so the linker makes
    # main a second name of VSTPluginMain.
    target_link_options(${name} PRIVATE -Wl,--version-script=${map} -Wl,--defsym=main=VSTPluginMain)
    if(SANITIZE STREQUAL "")
      # Every symbol resolved at link time: a missing one fails the build, not the host.
      target_link_options(${name} PRIVATE -Wl,-z,defs)
    endif()
  endif()

  if(P_IMAGES)
    list(LENGTH P_IMAGES count)
    math(EXPR odd "${count} % 2")
    if(odd)
      message(FATAL_ERROR "add_vst_plugin(${name}): IMAGES expects pairs of id and file")
    endif()
    if(COMMAND add_plugin_images)
      add_plugin_images(${name} ${P_IMAGES})
    else()
      message(WARNING "add_vst_plugin(${name}): no add_plugin_images available, images not embedded")
    endif()
  endif()
endfunction()
