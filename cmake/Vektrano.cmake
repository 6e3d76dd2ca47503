# vektrano_library(NAME DIR [LIBS ...])
# A static library of every .cpp directly in DIR except main.cpp; includes are
# written from the project root ("core/geometry.h"). A folder with no sources
# yet gives an interface library, so dependants still configure.
function(vektrano_library name dir)
  file(GLOB srcs CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${dir}/*.cpp)
  file(GLOB hdrs CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${dir}/*.h)
  list(FILTER srcs EXCLUDE REGEX "/main\\.cpp$")
  file(GLOB qrcs CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${dir}/*.qrc)
  if(srcs)
    add_library(${name} STATIC ${srcs} ${hdrs} ${qrcs})
    target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR})
    target_link_libraries(${name} PUBLIC ${ARGN})
  else()
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${CMAKE_SOURCE_DIR})
    target_link_libraries(${name} INTERFACE ${ARGN})
  endif()
endfunction()

# Test and benchmark areas: tests/<dir> and bench/<dir> link <library>. A
# folder that does not exist yet, or a library not yet declared, is skipped.
# Add a line here when a new library appears.
set(VEKTRANO_AREAS
  "platform|vektrano_platform"
  "platform/gui|vektrano_platform_gui"
  "core|vektrano_core"
  "core/gui|vektrano_core_gui"
  "transfer|vektrano_transfer"
  "transfer/gui|vektrano_transfer_gui"
  "preview|vektrano_preview"
  "preview/gui|vektrano_preview_gui"
  "windows|vektrano_windows"
  "viewer|palomir_core"
  "viewer/gui|palomir_gui")
