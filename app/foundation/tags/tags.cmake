# The tag port's field table (portable) and, in the program, the tag
# libraries' COM objects behind the port.
add_library(corvella_tag_port STATIC ${CMAKE_CURRENT_LIST_DIR}/field_table.cpp)

corvella_test(tag_port_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/tests/field_table_test.cpp
  LIBS corvella_tag_port corvella_id3v2_core)

if(CORVELLA_WIN32)
  add_library(corvella_com_tag STATIC ${CMAKE_CURRENT_LIST_DIR}/win32/com_tag.cpp)
  target_link_libraries(corvella_com_tag PUBLIC corvella_tag_port corvella_lumbrel_iface corvella_tesselor_iface
                        corvella_com_client)
endif()
