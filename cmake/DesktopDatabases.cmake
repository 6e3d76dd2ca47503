# vektrano_refresh_desktop_databases(<mime folder> <applications folder> <hicolor folder>)
# After files were installed or removed: the caches the desktop reads the
# MIME types, the desktop entries and the icons from, each where its tool is
# at hand. A staged install (DESTDIR) leaves that to the package's own
# triggers; a folder that does not exist is skipped.
function(vektrano_refresh_desktop_databases mime apps icons)
  if(NOT "$ENV{DESTDIR}" STREQUAL "")
    return()
  endif()
  find_program(update_mime update-mime-database)
  find_program(update_desktop update-desktop-database)
  find_program(update_icons gtk-update-icon-cache)
  if(update_mime AND IS_DIRECTORY "${mime}/packages")
    execute_process(COMMAND "${update_mime}" "${mime}" RESULT_VARIABLE ignored)
  endif()
  if(update_desktop AND IS_DIRECTORY "${apps}")
    execute_process(COMMAND "${update_desktop}" -q "${apps}" RESULT_VARIABLE ignored)
  endif()
  if(update_icons AND IS_DIRECTORY "${icons}")
    execute_process(COMMAND "${update_icons}" -q -t -f "${icons}" RESULT_VARIABLE ignored)
  endif()
endfunction()
