# Installs the build under a temporary DESTDIR and checks that every installed file is where the
# programs, the desktop and udev look for it. Run by CTest with -DBUILD=<build folder>.
set(root ${BUILD}/install-check)
file(REMOVE_RECURSE ${root})
execute_process(COMMAND ${CMAKE_COMMAND} -E env DESTDIR=${root}
                        ${CMAKE_COMMAND} --install ${BUILD} --prefix /usr
                RESULT_VARIABLE result OUTPUT_QUIET)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${result}")
endif()
foreach(file bin/vyn-programmer bin/vynctl share/vyn-programmer/Values.i
             share/vyn-programmer/Default.b share/vyn-programmer/vyn_logo.png
             share/applications/vyn-programmer.desktop)
  if(NOT EXISTS ${root}/usr/${file})
    message(FATAL_ERROR "not installed: ${file}")
  endif()
endforeach()
file(GLOB_RECURSE rules ${root}/*/70-vyn-zix.rules)
if(NOT rules)
  message(FATAL_ERROR "the udev rule was not installed")
endif()
file(REMOVE_RECURSE ${root})
