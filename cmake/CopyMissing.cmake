# cmake -DSRC=<folder> -DDST=<folder> -P CopyMissing.cmake
# Puts the files the program ships with into its folder, never over a file
# the operator already has (he may have edited his database).
file(GLOB files "${SRC}/*")
file(MAKE_DIRECTORY "${DST}")
foreach(f ${files})
  get_filename_component(name "${f}" NAME)
  if(NOT EXISTS "${DST}/${name}")
    file(COPY "${f}" DESTINATION "${DST}")
  endif()
endforeach()
