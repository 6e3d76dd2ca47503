# cmake -DSRC=<folder> -DDST=<folder> -P CopyMissing.cmake
# Puts the files the program ships with into its folder, never over a file
# the operator already has (he may have edited his database). Each goes
# through a temporary name and a rename, so a build stopped mid-copy never
# leaves a half file that would later count as present.
file(GLOB files LIST_DIRECTORIES false "${SRC}/*")
file(MAKE_DIRECTORY "${DST}")
foreach(f ${files})
  get_filename_component(name "${f}" NAME)
  if(name MATCHES "^\\." OR EXISTS "${DST}/${name}" OR IS_SYMLINK "${DST}/${name}")
    continue()
  endif()
  set(tmp "${DST}/.${name}.copying")
  file(REMOVE "${tmp}")
  file(COPY_FILE "${f}" "${tmp}")
  file(RENAME "${tmp}" "${DST}/${name}" NO_REPLACE RESULT renamed)
  file(REMOVE "${tmp}")
endforeach()
