# clang knows no execution character set but UTF-8, so it cannot be told, as
# gcc is, to make the narrow literals cp1250. It compiles copies of the
# sources converted to cp1250 instead (<build>/cp1250/, the same paths below
# it as in the tree); clang keeps the bytes of their literals as they stand,
# which are the bytes gcc makes from the originals. The copies are refreshed
# at every configure step, and a change of any source runs that step again.
#
# The tests and benchmarks are gcc's alone: they hold UTF-8 literals of their
# own (u8"...") that a copy would change.
set(VEKTRANO_CP1250_COPIES ON)
set(VEKTRANO_CP1250_DIR ${CMAKE_BINARY_DIR}/cp1250)
add_compile_options(-Wall -Wextra -Wno-invalid-source-encoding)
find_package(Python3 REQUIRED COMPONENTS Interpreter)

set(roots platform core preview transfer windows app viewer fuzz)
set(sources "")
foreach(root ${roots})
  file(GLOB_RECURSE found CONFIGURE_DEPENDS RELATIVE ${CMAKE_SOURCE_DIR}
       ${CMAKE_SOURCE_DIR}/${root}/*.cpp ${CMAKE_SOURCE_DIR}/${root}/*.h)
  list(APPEND sources ${found})
endforeach()
list(FILTER sources EXCLUDE REGEX "^fuzz/corpus/")
string(REPLACE ";" "\n" listing "${sources}")
file(WRITE ${CMAKE_BINARY_DIR}/cp1250-sources.txt "${listing}\n")
execute_process(
  COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/cmake/to_cp1250.py
          ${CMAKE_SOURCE_DIR} ${VEKTRANO_CP1250_DIR} ${CMAKE_BINARY_DIR}/cp1250-sources.txt
  RESULT_VARIABLE converted)
if(NOT converted EQUAL 0)
  message(FATAL_ERROR "The cp1250 copies of the sources could not be written")
endif()
foreach(src ${sources})
  set_property(DIRECTORY ${CMAKE_SOURCE_DIR} APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${src})
endforeach()

# vektrano_cp1250_copies(OUT file...): the copies of files of the tree.
function(vektrano_cp1250_copies out)
  set(copies "")
  foreach(f ${ARGN})
    file(RELATIVE_PATH rel ${CMAKE_SOURCE_DIR} ${f})
    list(APPEND copies ${VEKTRANO_CP1250_DIR}/${rel})
  endforeach()
  set(${out} ${copies} PARENT_SCOPE)
endfunction()
