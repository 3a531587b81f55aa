# Run by cmake --install (see Install.cmake), with CMAKE_INSTALL_PREFIX the prefix installed to:
# writes the files whose content names the prefix.
#  - The machine's registry (<prefix>/etc/quillbase/registry, /etc/quillbase/registry for /usr,
#    where the programs look for it): "core path", the programs' folder, and the extension table's
#    entry for data link files, whose template hands the file to the programs' data link option.
#    Imported into what is there, so a reinstall keeps other entries.
#  - The desktop entries, with the programs' full paths, so that a prefix outside PATH works.

set(prefix "${CMAKE_INSTALL_PREFIX}")
string(REGEX REPLACE "/+$" "" prefix "${prefix}")
set(bin "${prefix}/bin")

# --- the registry ---------------------------------------------------------------------------
if(prefix STREQUAL "/usr")
  set(registry "/etc/quillbase/registry")
else()
  set(registry "${prefix}/etc/quillbase/registry")
endif()
# REGEDIT4 text: inside quotes only "\" and the quote itself are escaped.
string(REPLACE "\\" "\\\\" core_path "${bin}/")
string(REPLACE "\"" "\\\"" core_path "${core_path}")
file(MAKE_DIRECTORY "${QB_WORK_DIR}")
file(WRITE "${QB_WORK_DIR}/installation.reg"
"REGEDIT4

[HKEY_LOCAL_MACHINE\\SOFTWARE\\Marrowind\\quillbase]
\"core path\"=\"${core_path}\"

[HKEY_LOCAL_MACHINE\\SOFTWARE\\Marrowind\\quillbase\\shellex\\.udl]
\"connection string\"=\"-udl \\\"%1\\\"\"
")
message(STATUS "Installing: $ENV{DESTDIR}${registry}/HKEY_LOCAL_MACHINE.hive")
file(MAKE_DIRECTORY "$ENV{DESTDIR}${registry}")
execute_process(
  COMMAND ${CMAKE_COMMAND} -E env "QUILLBASE_REGISTRY_DIR=$ENV{DESTDIR}${registry}" "QT_QPA_PLATFORM=offscreen"
          "${QB_QBREG}" import "${QB_WORK_DIR}/installation.reg"
  RESULT_VARIABLE imported)
if(NOT imported EQUAL 0)
  message(FATAL_ERROR "the installation's registry keys could not be written to ${registry}")
endif()

# --- the desktop entries ----------------------------------------------------------------------
# A path as one word of an Exec line: in double quotes unless it holds only characters that need
# none, with '"', '`', '$' and '\' escaped inside the quotes; then every '\' doubled as key files
# escape it, and every '%' doubled so it is no field code.
function(exec_word path out)
  set(word "${path}")
  if(word MATCHES "[^A-Za-z0-9_./+,@%=:-]")
    string(REGEX REPLACE "([\"`$\\])" "\\\\\\1" word "${word}")
    set(word "\"${word}\"")
  endif()
  string(REPLACE "\\" "\\\\" word "${word}")
  string(REPLACE "%" "%%" word "${word}")
  set(${out} "${word}" PARENT_SCOPE)
endfunction()

set(applications "$ENV{DESTDIR}${prefix}/share/applications")
file(MAKE_DIRECTORY "${applications}")
foreach(program IN LISTS QB_DESKTOP_PROGRAMS)
  string(TOUPPER "${program}" name)
  exec_word("${bin}/${program}" ${name})
  string(REPLACE "\\" "\\\\" ${name}_PATH "${bin}/${program}")
  message(STATUS "Installing: ${applications}/${program}.desktop")
  configure_file("${QB_SOURCE_DIR}/resources/desktop/${program}.desktop.in" "${applications}/${program}.desktop" @ONLY)
endforeach()
