# Part of `cmake --install`: the desktop entries, written for the prefix
# really installed into (it may differ from the configured one with
# --prefix), so that their Exec lines name the installed programs; then the
# desktop's caches. Set beforehand by the install rules: VEKTRANO_DESKTOP_IN
# (the .desktop.in sources), VEKTRANO_BINDIR, VEKTRANO_DATADIR (relative to
# the prefix or absolute) and VEKTRANO_DESKTOP_STAGE (a folder of the build).
include("${CMAKE_CURRENT_LIST_DIR}/DesktopDatabases.cmake")

function(vektrano_install_dir out dir)
  if(IS_ABSOLUTE "${dir}")
    set(${out} "${dir}" PARENT_SCOPE)
  else()
    set(${out} "${CMAKE_INSTALL_PREFIX}/${dir}" PARENT_SCOPE)
  endif()
endfunction()

vektrano_install_dir(bindir "${VEKTRANO_BINDIR}")
vektrano_install_dir(datadir "${VEKTRANO_DATADIR}")
# An Exec argument as the desktop-entry rules want it: quoted when it holds a
# reserved character, then the value's own escaping of backslashes; a
# literal percent sign is doubled. TryExec is a plain string value.
function(vektrano_exec_argument out path)
  set(arg "${path}")
  if(arg MATCHES "[ \t\n\"'\\\\<>~|&;$*?#()`]")
    string(REGEX REPLACE "([\"`$\\\\])" "\\\\\\1" arg "${arg}")
    set(arg "\"${arg}\"")
  endif()
  string(REPLACE "%" "%%" arg "${arg}")
  string(REPLACE "\\" "\\\\" arg "${arg}")
  set(${out} "${arg}" PARENT_SCOPE)
endfunction()

vektrano_exec_argument(VEKTRANO_EXEC "${bindir}/vektrano")
vektrano_exec_argument(PALOMIR_EXEC "${bindir}/palomir")
string(REPLACE "\\" "\\\\" VEKTRANO_TRYEXEC "${bindir}/vektrano")
string(REPLACE "\\" "\\\\" PALOMIR_TRYEXEC "${bindir}/palomir")

# A folder of its own per destination, as two installs may run at once.
string(MD5 destination "$ENV{DESTDIR}|${CMAKE_INSTALL_PREFIX}")
set(stage "${VEKTRANO_DESKTOP_STAGE}/${destination}")
set(entries "")
foreach(name vektrano palomir)
  configure_file("${VEKTRANO_DESKTOP_IN}/${name}.desktop.in" "${stage}/${name}.desktop" @ONLY)
  list(APPEND entries "${stage}/${name}.desktop")
endforeach()
file(INSTALL DESTINATION "${datadir}/applications" TYPE FILE FILES ${entries})

vektrano_refresh_desktop_databases("${datadir}/mime" "${datadir}/applications"
                                   "${datadir}/icons/hicolor")
