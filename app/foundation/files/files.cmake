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
  corvella_test(win32_files_tests
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/win32/tests/win32_file_ops_test.cpp
    LIBS corvella_win32_files)
endif()
