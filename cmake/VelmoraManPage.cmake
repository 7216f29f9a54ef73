# velmora_man_page(target description): section 1 man page of an executable, made by
# help2man from its --help and --version when the target is built, installed to man/man1.
# Without help2man (scripts/install-deps.sh installs it) no page is made, nor for Windows,
# whose package has no man pages.
find_program(VELMORA_HELP2MAN help2man)

function(velmora_man_page target description)
  if(NOT VELMORA_HELP2MAN OR WIN32)
    return()
  endif()
  set(page ${CMAKE_CURRENT_BINARY_DIR}/${target}.1)
  # help2man runs the program and reads its output in the C locale unless told otherwise:
  # without UTF-8 the Japanese of --version would become question marks.
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${VELMORA_HELP2MAN} --locale=C.UTF-8 --no-info --no-discard-stderr --section=1 --name=${description}
            --output=${page} $<TARGET_FILE:${target}>
    VERBATIM)
  include(GNUInstallDirs)
  install(FILES ${page} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endfunction()
