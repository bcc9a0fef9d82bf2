# File names made from tag fields and the renames to them (the rename
# window and the apply's Auto-Rename), over the name cleaner and the file
# service. Portable, tested natively.
add_library(corvella_separators STATIC ${CMAKE_CURRENT_LIST_DIR}/files/name_separators.cpp)

add_library(corvella_tag_names STATIC ${CMAKE_CURRENT_LIST_DIR}/files/tag_names.cpp)
target_link_libraries(corvella_tag_names PUBLIC corvella_separators corvella_files corvella_foundation_settings)

corvella_test(tag_names_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/tests/tag_names_test.cpp
  LIBS corvella_tag_names)
