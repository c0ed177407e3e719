# The download for Windows users: vlcr-2.99-win64.zip with the program, the
# help, a Japanese read-me and the licence, unpacked into any folder of the user's choice.
#   cmake --build build/win --target package
install(TARGETS vlcr RUNTIME DESTINATION .)
install(FILES ${CMAKE_SOURCE_DIR}/manual/index.html DESTINATION manual)
install(FILES ${CMAKE_SOURCE_DIR}/res/README-ja.txt ${CMAKE_SOURCE_DIR}/LICENSE DESTINATION .)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME vlcr)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_FILE_NAME vlcr-${PROJECT_VERSION}-win64)
# The files sit at the top of the archive: Windows' "Extract All" makes the
# folder itself.
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Resident application launcher")
include(CPack)

# The package is made and read back: its files, the help page's links.
add_test(NAME package_contents
         COMMAND ${PYTHON3} ${CMAKE_SOURCE_DIR}/tests/package/test_package.py ${CMAKE_BINARY_DIR})
set_tests_properties(package_contents PROPERTIES TIMEOUT 120)
