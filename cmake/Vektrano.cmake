# vektrano_library(NAME DIR [LIBS ...])
# A static library of every .cpp directly in DIR except main.cpp; includes are
# written from the project root ("core/base/geometry.h"). A folder with no
# sources yet gives an interface library, so dependants still configure.
#
# LIBS are what the library may use: the project's own libraries among them
# name the folders below it. vektrano_check_layers() at the end of the
# configure step turns that into a build step per library that fails on an
# include of any other folder of the project, so a wrong include breaks the
# build rather than the architecture.
function(vektrano_library name dir)
  file(GLOB srcs CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${dir}/*.cpp)
  file(GLOB hdrs CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${dir}/*.h)
  list(FILTER srcs EXCLUDE REGEX "/main\\.cpp$")
  file(GLOB qrcs CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${dir}/*.qrc)
  set(includes ${CMAKE_SOURCE_DIR})
  if(VEKTRANO_CP1250_COPIES)
    vektrano_cp1250_copies(srcs ${srcs})
    vektrano_cp1250_copies(hdrs ${hdrs})
    set(includes ${VEKTRANO_CP1250_DIR} ${CMAKE_SOURCE_DIR})
  endif()
  if(srcs)
    add_library(${name} STATIC ${srcs} ${hdrs} ${qrcs})
    target_include_directories(${name} PUBLIC ${includes})
    target_link_libraries(${name} PUBLIC ${ARGN})
  else()
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${includes})
    target_link_libraries(${name} INTERFACE ${ARGN})
  endif()
  set(own "")
  foreach(lib ${ARGN})
    if(lib MATCHES "^(vektrano|palomir)_")
      list(APPEND own ${lib})
    endif()
  endforeach()
  set_property(GLOBAL APPEND PROPERTY VEKTRANO_LIBRARIES ${name})
  set_property(GLOBAL PROPERTY VEKTRANO_DIR_${name} ${dir})
  set_property(GLOBAL PROPERTY VEKTRANO_USES_${name} ${own})
endfunction()

# vektrano_program(NAME DIR [LIBS ...]): the library of DIR and the
# executable NAME from DIR/main.cpp.
function(vektrano_program name dir)
  vektrano_library(${name}_program ${dir} ${ARGN})
  set(main ${CMAKE_SOURCE_DIR}/${dir}/main.cpp)
  if(VEKTRANO_CP1250_COPIES)
    vektrano_cp1250_copies(main ${main})
  endif()
  add_executable(${name} ${main})
  target_link_libraries(${name} PRIVATE ${name}_program)
endfunction()

# Folders a library may include: its own and those of everything it uses,
# transitively.
function(vektrano_allowed_dirs name out)
  set(todo ${name})
  set(seen "")
  set(dirs "")
  while(todo)
    list(POP_FRONT todo lib)
    if(lib IN_LIST seen)
      continue()
    endif()
    list(APPEND seen ${lib})
    get_property(dir GLOBAL PROPERTY VEKTRANO_DIR_${lib})
    if(dir)
      list(APPEND dirs ${dir})
    endif()
    get_property(uses GLOBAL PROPERTY VEKTRANO_USES_${lib})
    list(APPEND todo ${uses})
  endwhile()
  set(${out} ${dirs} PARENT_SCOPE)
endfunction()

function(vektrano_check_layers)
  get_property(libs GLOBAL PROPERTY VEKTRANO_LIBRARIES)
  set(known "")
  foreach(lib ${libs})
    get_property(dir GLOBAL PROPERTY VEKTRANO_DIR_${lib})
    list(APPEND known ${dir})
  endforeach()
  foreach(lib ${libs})
    get_property(dir GLOBAL PROPERTY VEKTRANO_DIR_${lib})
    if(dir MATCHES "^tests/")
      continue()
    endif()
    vektrano_allowed_dirs(${lib} allowed)
    file(GLOB files CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${dir}/*.cpp ${CMAKE_SOURCE_DIR}/${dir}/*.h)
    set(stamp ${CMAKE_BINARY_DIR}/layers/${lib}.ok)
    string(REPLACE ";" "," allowed_arg "${allowed}")
    string(REPLACE ";" "," known_arg "${known}")
    add_custom_command(OUTPUT ${stamp}
      COMMAND ${CMAKE_COMMAND} -DLIB=${lib} -DROOT=${CMAKE_SOURCE_DIR} -DDIR=${dir}
              "-DALLOWED=${allowed_arg}" "-DKNOWN=${known_arg}" -DSTAMP=${stamp}
              -P ${CMAKE_SOURCE_DIR}/cmake/CheckLayers.cmake
      DEPENDS ${files} ${CMAKE_SOURCE_DIR}/cmake/CheckLayers.cmake
      COMMENT "Layers of ${dir}" VERBATIM)
    add_custom_target(${lib}_layers DEPENDS ${stamp})
    add_dependencies(${lib} ${lib}_layers)
  endforeach()
endfunction()

# Test and benchmark areas: tests/<dir> and bench/<dir> link <library>. A
# folder that does not exist yet, or a library not yet declared, is skipped.
# Add a line here when a new library appears.
set(VEKTRANO_AREAS
  "platform|vektrano_platform"
  "platform/gui|vektrano_platform_gui"
  "core/base|vektrano_base"
  "core/log|vektrano_log"
  "core/reference|vektrano_reference"
  "core/entry|vektrano_entry"
  "core/search|vektrano_search"
  "core/session|vektrano_session"
  "core/tools|vektrano_tools"
  "core/pictures|vektrano_pictures"
  "transfer|vektrano_transfer"
  "preview|vektrano_preview"
  "preview/gui|vektrano_preview_gui"
  "windows/base|vektrano_window_base"
  "windows|vektrano_windows"
  "app|vektrano_program"
  "viewer|palomir_core"
  "viewer/gui|palomir_program")
