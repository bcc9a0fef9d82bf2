# Settings, path and text helpers, user fields and units: portable logic,
# tested natively. The Win32 side adds the advapi32 store and the
# file-system calls over these interfaces.
add_library(corvella_foundation_settings STATIC
  ${CMAKE_CURRENT_LIST_DIR}/settings.cpp
  ${CMAKE_CURRENT_LIST_DIR}/memory_store.cpp
  ${CMAKE_CURRENT_LIST_DIR}/paths.cpp
  ${CMAKE_CURRENT_LIST_DIR}/text_helpers.cpp
  ${CMAKE_CURRENT_LIST_DIR}/user_fields.cpp)
target_link_libraries(corvella_foundation_settings PUBLIC corvella_storage corvella_rounding)

corvella_test(foundation_settings_tests
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/tests/settings_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/tests/settings_wipe_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/tests/user_fields_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/tests/paths_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/tests/text_helpers_test.cpp
  LIBS corvella_foundation_settings)
