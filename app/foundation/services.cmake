# Portable services of the program's foundation: MPEG header reader, tag
# value masks, folder search, playback command logic, random pick and the
# column-sort logic, the loop of batches over files. No windows.h; the Win32 shell is built over these.
add_library(corvella_foundation_services STATIC
  ${CMAKE_CURRENT_LIST_DIR}/mpeg_header.cpp
  ${CMAKE_CURRENT_LIST_DIR}/masks.cpp
  ${CMAKE_CURRENT_LIST_DIR}/folder_search.cpp
  ${CMAKE_CURRENT_LIST_DIR}/playback_commands.cpp
  ${CMAKE_CURRENT_LIST_DIR}/random_pick.cpp
  ${CMAKE_CURRENT_LIST_DIR}/listview_sort.cpp
  ${CMAKE_CURRENT_LIST_DIR}/batch.cpp)
# The path helpers: the masks take the file's title from GetFileTitle.
target_link_libraries(corvella_foundation_services PUBLIC corvella_storage corvella_foundation_settings)

corvella_test(foundation_services_tests
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/tests/mpeg_header_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/tests/masks_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/tests/folder_search_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/tests/playback_commands_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/tests/random_pick_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/tests/listview_sort_test.cpp
  LIBS corvella_foundation_services)

# The mask expansion's fuzz target, run over its corpus.
if(NOT CORVELLA_WIN32)
  corvella_test(masks_fuzz_tests
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/tests/masks_fuzz_test.cpp ${CMAKE_CURRENT_LIST_DIR}/tests/masks_fuzz_target.cpp
    LIBS corvella_foundation_services
    TIMEOUT 120)
  corvella_fuzz_target(masks_fuzzer TARGET ${CMAKE_CURRENT_LIST_DIR}/tests/masks_fuzz_target.cpp
                       LIBS corvella_foundation_services)
endif()

# Agreement with independent tools: lame makes the files, mediainfo and
# mpg123 describe them. Skips itself where the tools are missing.
corvella_test(foundation_services_mp3_tools_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/tests/mpeg_header_tools_test.cpp
  LIBS corvella_foundation_services
  TIMEOUT 600)

# The ID3v2 size in front of the audio is read with the tag library's decoder.
target_link_libraries(corvella_foundation_services PRIVATE corvella_id3v2_core)
