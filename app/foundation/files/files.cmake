# The name cleaner and the file service: portable rules for names made
# from tags and for every rename and move; the Win32 FileOps is in win32/.
add_library(corvella_files STATIC
  ${CMAKE_CURRENT_LIST_DIR}/name_cleaner.cpp
  ${CMAKE_CURRENT_LIST_DIR}/file_service.cpp)

corvella_test(files_tests
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/tests/name_cleaner_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/tests/file_service_test.cpp
  LIBS corvella_files)

if(CORVELLA_WIN32)
  add_library(corvella_win32_files STATIC ${CMAKE_CURRENT_LIST_DIR}/win32/win32_file_ops.cpp)
  target_link_libraries(corvella_win32_files PUBLIC corvella_files)
  # A small drive that fills up and a read-only one, mounted for the tests.
  set(small_drives ${CMAKE_CURRENT_BINARY_DIR}/small_drives)
  set(small_drives_sh ${CMAKE_CURRENT_LIST_DIR}/win32/tests/small_drives.sh)
  add_test(NAME small_drives_up COMMAND sh ${small_drives_sh} up ${small_drives})
  add_test(NAME small_drives_down COMMAND sh ${small_drives_sh} down ${small_drives})
  set_tests_properties(small_drives_up PROPERTIES FIXTURES_SETUP small_drives TIMEOUT 60)
  set_tests_properties(small_drives_down PROPERTIES FIXTURES_CLEANUP small_drives TIMEOUT 60)
  corvella_test(win32_files_tests
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/win32/tests/win32_file_ops_test.cpp
    LIBS corvella_win32_files corvella_storage
    WINE_FIXTURES small_drives
    ENV "CORVELLA_SMALL_DRIVES=${small_drives}")
endif()
